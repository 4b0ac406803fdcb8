#ifndef TARVO_BATCHWRITE_BATCH_ROWS_H
#define TARVO_BATCHWRITE_BATCH_ROWS_H

#include <QAbstractTableModel>
#include <QString>

#include <vector>

// The readers a batch works on, a row each: the reader's link, its maker and
// serial number as the system lists them, the place the user gives it, the
// check that takes it into the next run, and what the last run made of it,
// as a state and the words shown for it.
class BatchRows : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { LinkColumn, MakerColumn, SerialNumberColumn, PlaceColumn, StatusColumn, ColumnCount };

    // What a row's reader came to; Failed and Unknown are the ones worth
    // another try.
    enum RowState { Untouched, Working, Succeeded, Failed, Unknown };

    explicit BatchRows(QObject *parent = nullptr);

    // A row at the end; `listed` when it comes from the system's list of ports.
    int addRow(const QString &link, bool listed, bool checked, const QString &maker = QString(),
               const QString &serialNumber = QString());
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    // The row of the link, or -1.
    int rowOf(const QString &link) const;
    QString link(int row) const { return rows[std::size_t(row)].link; }
    bool isListed(int row) const { return rows[std::size_t(row)].listed; }
    bool isChecked(int row) const { return rows[std::size_t(row)].checked; }
    // The place typed into the row itself, as typed.
    QString place(int row) const { return rows[std::size_t(row)].place; }
    RowState state(int row) const { return rows[std::size_t(row)].state; }
    // The row's state and its words: a line in the status column, and the
    // whole cause, when there is one, as its tooltip.
    void setOutcome(int row, RowState state, const QString &text, const QString &cause = QString());

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    // The user checked or unchecked a row.
    void checkChanged(const QString &link, bool checked);

private:
    struct Row
    {
        QString link;
        bool listed = false;
        bool checked = false;
        QString maker;
        QString serialNumber;
        QString place;
        RowState state = Untouched;
        QString outcome;
        QString cause;
    };

    QVariant shown(const Row &row, int column) const;

    std::vector<Row> rows;
};

#endif
