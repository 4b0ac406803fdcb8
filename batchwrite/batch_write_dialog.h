#ifndef TARVO_BATCHWRITE_BATCH_WRITE_DIALOG_H
#define TARVO_BATCHWRITE_BATCH_WRITE_DIALOG_H

#include <QDialog>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "config/form_value.h"
#include "config/read_back.h"
#include "config/refusal.h"
#include "core/reader_batch.h"
#include "core/reader_look.h"
#include "core/site_sheet.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
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
// port the system lists (kept up to date while the dialog is open), the
// network readers the user adds or finds in a range, and the readers of a
// site sheet, each with the values its row gives. It also checks readers
// against the configuration without writing. Saves, checks and the search
// run on threads of their own, so the window goes on painting and
// answering; each row shows its reader's outcome as it comes, and every
// save and check goes to the record of saves.
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
    // What a run sends a reader, or compares it with: the signed text and
    // the form it was built from.
    struct Sent
    {
        QString text;
        config::FormValue value;
    };
    enum class Work { Write, Check, Find };

    void setUpTableAndDetail();
    QWidget *makeAddRow();
    QWidget *makeButtonRow();
    QString placeOf(int row) const;
    // Saves, checks or a search are under way.
    bool isBusy() const { return worker.joinable(); }
    bool anyToRetry() const;
    void addTyped();
    std::optional<QStringList> addLinks(const QStringList &links);
    void removeChosen();
    void checkChanged(const QString &link, bool checked);
    void rememberRows() const;
    void restoreRows();
    QStringList checkedRowLinks();
    std::optional<QHash<QString, Sent>> buildFor(const QStringList &links);
    void writeChecked();
    void retryFailed();
    void beginWork(Work kind, int count, const QString &said);
    void start(const QStringList &links);
    QHash<QString, QString> placesOf(const QStringList &links) const;
    void stop();
    void linkStarted(const QString &link);
    void linkDone(const ReaderResult &result, const std::optional<QString> &unrecorded);
    void checkChecked();
    void lookDone(const ReaderLook &look, const std::optional<QString> &unrecorded);
    void findInRange();
    void chooseSheet();
    void loadSheet(const QString &path);
    void runFinished();
    QString writeSummary() const;
    QString findSummary();
    void showOutcome(const QString &link, const SaveReport &report);
    void showDetail();
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
    QPushButton *checking;
    QPushButton *finding;
    QPushButton *loadingSheet;
    QPlainTextEdit *detail;

    // The checked links, in the order checked, those of ports not plugged
    // in now included.
    QStringList checkedLinks;

    // The rows of the site sheet loaded last, by their links.
    QHash<QString, site_sheet::Row> sheetRows;
    // What the last check found different on each reader it read.
    QHash<QString, std::vector<config::KeyDifference>> differences;

    // The run under way: what it does and the thread doing it; a write's
    // batch, and what it writes, kept for a retry and for the records; the
    // links a search tries and those a reader answered on; its outcomes so
    // far (a check's as a save's: same, differs, not read).
    Work work = Work::Write;
    std::unique_ptr<ReaderBatch> batch;
    std::atomic<bool> halting{false};
    std::thread worker;
    QHash<QString, Sent> sent;
    QStringList searched;
    QSet<QString> answered;
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
