#ifndef TARVO_RECORDWINDOW_RECORD_WINDOW_H
#define TARVO_RECORDWINDOW_RECORD_WINDOW_H

#include <QAbstractTableModel>
#include <QDate>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QWidget>
#include <functional>
#include <vector>

#include "records/record_store.h"

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableView;

// The records as a table: one row a save, oldest first.
class RecordTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Place, Link, Firmware, Result, ColumnCount };
    // What a column sorts by: the time itself rather than its text.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setRecords(std::vector<records::Record> all);
    const records::Record &record(int row) const { return all[size_t(row)]; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<records::Record> all;
};

// The rows whose link, place or firmware hold the filter's text and whose
// day (on the user's clock) lies in the date range, both ends included.
class RecordFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setText(const QString &text);
    void setDates(const QDate &from, const QDate &to);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    QString text;
    QDate from;
    QDate to;
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

    QTableView *tableView() const { return table; }
    QLineEdit *filterField() const { return filter; }
    QDateEdit *fromField() const { return fromDate; }
    QDateEdit *toField() const { return toDate; }
    QPlainTextEdit *detailView() const { return details; }
    QLabel *noteLine() const { return note; }
    QPushButton *openButton() const { return opening; }

    // The selected records, or every shown one when none is selected, in
    // the table's order.
    std::vector<records::Record> chosenRecords() const;
    // false after saying why not.
    bool exportCsv(const QString &path);
    bool exportPdf(const QString &path);

private:
    QWidget *makeFilterRow();
    QWidget *makeButtonRow();
    void applyFilter();
    void showDetails();
    void openConfiguration();
    void chooseExport(bool pdf);
    bool write(const QString &path, const QByteArray &bytes);
    const records::Record *currentRecord() const;

    OpenConfiguration openInForm;
    RecordTable *model;
    RecordFilter *shown;
    QTableView *table;
    QLineEdit *filter;
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

    QAction *action() const { return opening; }
    // The open record window, or null.
    RecordWindow *recordWindow() const { return shown; }

private:
    void open();

    RecordWindow::OpenConfiguration openConfiguration;
    QWidget *window;
    QAction *opening;
    QPointer<RecordWindow> shown;
};

#endif
