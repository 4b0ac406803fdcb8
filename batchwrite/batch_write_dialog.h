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
class QTableView;
class BatchRows;
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

    // Adds a row for every serial port listed that has none and, unless a
    // write is under way, drops the rows of ports no longer listed.
    void showPorts(const QList<device::SerialPort> &ports);

public slots:
    void reject() override;

private:
    QWidget *makeAddRow();
    QWidget *makeButtonRow();
    QString placeOf(int row) const;
    // Saves are under way.
    bool isWriting() const { return worker.joinable(); }
    bool anyToRetry() const;
    void addTyped();
    void removeChosen();
    void checkChanged(const QString &link, bool checked);
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
    void showOutcome(const QString &link, const SaveReport &report);
    void updateButtons();

    const FormSource &form;
    ShowRefusal showRefusal;
    BatchRows *rows;
    QTableView *table;
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

private:
    void open();

    const FormSource &form;
    BatchWriteDialog::ShowRefusal showRefusal;
    QWidget *window;
    QPointer<BatchWriteDialog> shown;
};

#endif
