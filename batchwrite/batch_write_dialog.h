#ifndef TARVO_BATCHWRITE_BATCH_WRITE_DIALOG_H
#define TARVO_BATCHWRITE_BATCH_WRITE_DIALOG_H

#include <QDialog>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <thread>

#include "config/form_value.h"
#include "config/refusal.h"
#include "core/reader_batch.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;
class FormSource;
namespace device {
struct SerialPort;
}

// Writes the window's configuration to many readers at once: every serial
// port the system lists (kept up to date while the dialog is open) and the
// network readers the user adds. The saves run on threads of their own, so
// the window goes on painting and answering; each row shows its reader's
// outcome as it comes, and every outcome goes to the record of saves.
class BatchWriteDialog : public QDialog
{
    Q_OBJECT

public:
    // How the window points out the field of a configuration it refuses, the
    // box's parent given.
    using ShowRefusal = std::function<void(QWidget *parent, const config::Refusal &refusal)>;

    BatchWriteDialog(const FormSource &form, ShowRefusal showRefusal, QWidget *window);
    ~BatchWriteDialog() override;

    // The rows' columns.
    enum Column { LinkColumn, MakerColumn, SerialNumberColumn, PlaceColumn, StatusColumn, ColumnCount };

    // Parts for tests.
    QTableWidget *readerTable() const { return table; }
    QLineEdit *addressField() const { return address; }
    // The place of every reader whose row names none.
    QLineEdit *placeField() const { return place; }
    QPushButton *addButton() const { return adding; }
    QPushButton *removeButton() const { return removing; }
    QSpinBox *atOnceField() const { return atOnce; }
    QPushButton *writeButton() const { return writing; }
    QPushButton *stopButton() const { return stopping; }
    QPushButton *retryButton() const { return retrying; }
    QProgressBar *progressBar() const { return progress; }
    QLabel *statusLine() const { return status; }
    // Saves are under way.
    bool isWriting() const { return worker.joinable(); }

    // Adds a row for every serial port listed that has none and, unless a
    // write is under way, drops the rows of ports no longer listed.
    void showPorts(const QList<device::SerialPort> &ports);

public slots:
    void reject() override;

private:
    // What a row's reader came to; kept in the status item.
    enum RowState {
        Untouched = -1,
        Saved = SaveReport::Saved,
        Failed = SaveReport::Failed,
        Unknown = SaveReport::Unknown,
        Writing
    };

    QWidget *makeAddRow();
    QWidget *makeButtonRow();
    int addRow(const QString &link, bool listed, const QString &maker = QString(),
               const QString &serialNumber = QString());
    QString linkOf(int row) const;
    QString placeOf(int row) const;
    bool isListed(int row) const;
    RowState stateOf(int row) const;
    int rowOf(const QString &link) const;
    void addTyped();
    void removeChosen();
    void checkChanged(QTableWidgetItem *item);
    void rememberRows() const;
    void restoreRows();
    void writeChecked();
    void retryFailed();
    void start(const QStringList &links);
    QHash<QString, QString> placesOf(const QStringList &links) const;
    void stop();
    void linkStarted(const QString &link);
    void linkDone(const ReaderResult &result, const std::optional<QString> &unrecorded);
    void runFinished();
    void endRun();
    void showState(int row, RowState state, const QString &cause = QString());
    void updateButtons();

    const FormSource &form;
    ShowRefusal showRefusal;
    QTableWidget *table;
    QLineEdit *address;
    QLineEdit *place;
    QPushButton *adding;
    QPushButton *removing;
    QSpinBox *atOnce;
    QProgressBar *progress;
    QLabel *status;
    QPushButton *writing;
    QPushButton *stopping;
    QPushButton *retrying;

    // The checked links, in the order checked, those of ports not plugged
    // in now included.
    QStringList checkedLinks;
    bool filling = false; // rows being added: no check changed by the user

    // The run under way: its batch and the thread running it; what it
    // writes, kept for a retry and for the records; its outcomes so far.
    std::unique_ptr<ReaderBatch> batch;
    std::thread worker;
    QString signedText;
    config::FormValue sentValue;
    int counts[3] = {0, 0, 0}; // by SaveReport::Outcome
    QStringList recordNotes;
    bool stopped = false;
    bool closeWhenDone = false;
};

// The entry to the batch write: 批量写入… in the configuration file menu and
// Ctrl+Shift+W, opening the one dialog the window keeps.
class BatchWriteEntry : public QObject
{
    Q_OBJECT

public:
    BatchWriteEntry(const FormSource &form, BatchWriteDialog::ShowRefusal showRefusal, QWidget *window,
                    QMenu *menu);

    QAction *action() const { return opening; }

private:
    void open();

    const FormSource &form;
    BatchWriteDialog::ShowRefusal showRefusal;
    QWidget *window;
    QAction *opening;
    QPointer<BatchWriteDialog> shown;
};

#endif
