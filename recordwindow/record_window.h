#ifndef TARVO_RECORDWINDOW_RECORD_WINDOW_H
#define TARVO_RECORDWINDOW_RECORD_WINDOW_H

#include <QAbstractTableModel>
#include <QDate>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "records/record_store.h"

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTimer;

// The records of a selection as a table, read from the store a page at a
// time as the view scrolls to them; ordered and filtered by the store. A
// row holds what the list shows, never a configuration.
class RecordTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Kind, Place, Link, Firmware, Result, ColumnCount };

    explicit RecordTable(QObject *parent);

    // Reads the store again, from the first page; the reason when it cannot.
    std::optional<QString> select(const records::Selection &chosen);
    const records::Selection &selection() const { return chosen; }
    const records::Record &record(int row) const { return rows[size_t(row)]; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    // The store could not be read; the rows stay as they were.
    void unreadable(const QString &reason);

private:
    std::optional<QString> readPage(std::vector<records::Record> *page);

    records::Store store;
    records::Selection chosen;
    std::vector<records::Record> rows;
    bool allRead = true;
};

// The saves kept in the record, to look through, to open one's configuration
// in the form, and to export for the customer.
class RecordWindow : public QWidget
{
    Q_OBJECT

public:
    // Loads a record's configuration into the form as opening a file would,
    // named so in a refusal; false when the form did not take it.
    using OpenConfiguration = std::function<bool(const QByteArray &configuration, const QString &name)>;

    RecordWindow(OpenConfiguration openConfiguration, QWidget *parent);

    // Reads the store again; the date range then spans every record.
    void reload();

    // The selected records, or every shown one when none is selected, in
    // the table's order; text typed a moment ago counts.
    records::Selection chosenRecords();
    // Written on a thread of their own under a progress dialog with 取消;
    // false after saying why not, or when cancelled.
    bool exportCsv(const QString &path);
    bool exportPdf(const QString &path);

private:
    QWidget *makeFilterRow();
    QTableView *makeTable();
    QWidget *makeButtonRow();
    void applyFilter();
    void showDetails();
    void showNotes(const QStringList &lines);
    void openConfiguration();
    void chooseExport(bool pdf);
    bool exportTo(const QString &path, bool pdf, const records::Selection &chosen, qint64 rows);
    std::optional<qint64> chosenCount(const records::Selection &chosen);
    bool write(const QString &path, const QByteArray &bytes);
    std::optional<records::Record> currentRecord() const;
    QString chosenWords(qint64 rows) const;
    void say(const QString &reason);

    OpenConfiguration openInForm;
    RecordTable *model;
    QTableView *table;
    QComboBox *view; // each reader's state, or every record
    QLineEdit *filter;
    QTimer *typing; // the filter follows the typed text once typing pauses
    QDateEdit *fromDate;
    QDateEdit *toDate;
    QPlainTextEdit *details;
    QLabel *note;
    QPushButton *opening;
    // Said once, then kept in the note line while the window lives.
    QStringList movedAside;
};

// The entry to the record: 配置记录… in the configuration file menu and
// Ctrl+H; each opening reads the store again.
class RecordWindowEntry : public QObject
{
    Q_OBJECT

public:
    RecordWindowEntry(RecordWindow::OpenConfiguration openConfiguration, QWidget *window, QMenu *menu);

private:
    void open();

    RecordWindow::OpenConfiguration openConfiguration;
    QWidget *window;
    QPointer<RecordWindow> shown;
};

#endif
