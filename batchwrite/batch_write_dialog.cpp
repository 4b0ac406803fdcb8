#include "batchwrite/batch_write_dialog.h"

#include <algorithm>
#include <functional>

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "batchwrite/batch_rows.h"
#include "config/assembly.h"
#include "core/form_source.h"
#include "core/remembered_settings.h"
#include "core/save_records.h"
#include "device/reader_links.h"
#include "widgets/device_chooser.h"
#include "widgets/menu_button.h"
#include "widgets/place_label.h"
#include "widgets/untrusted_text.h"

namespace {

const int kRefreshMs = 1000;
const int kDefaultAtOnce = 16; // as --write's --jobs
// The most typed readers kept, and the most checked links remembered.
const int kMostTypedRows = 256;
const int kMostCheckedRemembered = 512;
const char kTypedKey[] = "batchWrite/typedReaders";
const char kCheckedKey[] = "batchWrite/checkedReaders";

// Only a stored value that is one link exactly as the dialog writes it:
// the settings file is anyone's to edit.
QStringList validLinks(const QStringList &stored)
{
    QStringList links;
    for (const QString &text : stored) {
        const device::TypedReaders parsed = device::parseTypedReaders(text);
        if (!parsed.problem && parsed.links == QStringList{text} && !links.contains(text))
            links << text;
    }
    return links;
}

} // namespace

BatchWriteDialog::BatchWriteDialog(const FormSource &formSource, ShowRefusal refusalShown, QWidget *window)
    : QDialog(window),
      form(formSource),
      showRefusal(std::move(refusalShown)),
      rows(new BatchRows(this)),
      table(new QTableView(this)),
      progress(new QProgressBar(this)),
      status(new QLabel(this))
{
    setWindowTitle(tr("批量写入"));
    table->setObjectName(QStringLiteral("readerTable"));
    table->setModel(rows);
    table->horizontalHeader()->setSectionResizeMode(BatchRows::LinkColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(BatchRows::StatusColumn, QHeaderView::Stretch);
    table->verticalHeader()->hide();
    // Only the place is the user's to edit.
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                           | QAbstractItemView::AnyKeyPressed);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    progress->setObjectName(QStringLiteral("progressBar"));
    progress->setValue(0);
    status->setObjectName(QStringLiteral("statusLine"));
    status->setTextFormat(Qt::PlainText);
    status->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeAddRow());
    layout->addWidget(table, 1);
    layout->addWidget(progress);
    layout->addWidget(status);
    layout->addWidget(makeButtonRow());
    resize(760, 460);

    restoreRows();
    connect(rows, &BatchRows::checkChanged, this, &BatchWriteDialog::checkChanged);
    auto *refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            showPorts(device::listSerialPorts());
    });
    refresh->start(kRefreshMs);
    showPorts(device::listSerialPorts());
    updateButtons();
    address->setFocus();
}

// The window is going: the saves under way finish (each recorded as it
// ends) before the dialog goes.
BatchWriteDialog::~BatchWriteDialog()
{
    if (worker.joinable()) {
        batch->stop();
        worker.join();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

QWidget *BatchWriteDialog::makeAddRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    address = new QLineEdit(row);
    address->setObjectName(QStringLiteral("addressField"));
    address->setPlaceholderText(tr("网络读卡器：主机:端口 或 192.168.1.10-60:47811"));
    adding = new QPushButton(tr("添加"), row);
    adding->setObjectName(QStringLiteral("addButton"));
    removing = new QPushButton(tr("移除所选"), row);
    removing->setObjectName(QStringLiteral("removeButton"));
    removing->setToolTip(tr("移除所选的网络读卡器"));
    atOnce = new QSpinBox(row);
    atOnce->setObjectName(QStringLiteral("atOnceField"));
    atOnce->setRange(1, ReaderBatch::kMostJobs);
    atOnce->setValue(kDefaultAtOnce);
    connect(address, &QLineEdit::returnPressed, this, &BatchWriteDialog::addTyped);
    connect(adding, &QPushButton::clicked, this, &BatchWriteDialog::addTyped);
    connect(removing, &QPushButton::clicked, this, &BatchWriteDialog::removeChosen);
    layout->addWidget(address, 1);
    layout->addWidget(adding);
    layout->addWidget(removing);
    layout->addWidget(new QLabel(tr("同时写入："), row));
    layout->addWidget(atOnce);
    place = place_label::placeEdit(row);
    place->setObjectName(QStringLiteral("placeField"));
    place->setToolTip(tr("写入记录的位置；某一行另填位置时以该行为准"));
    layout->addWidget(new QLabel(tr("位置："), row));
    layout->addWidget(place);
    return row;
}

QWidget *BatchWriteDialog::makeButtonRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    writing = new QPushButton(tr("写入"), row);
    stopping = new QPushButton(tr("停止"), row);
    retrying = new QPushButton(tr("重试失败项"), row);
    auto *closing = new QPushButton(tr("关闭"), row);
    writing->setObjectName(QStringLiteral("writeButton"));
    stopping->setObjectName(QStringLiteral("stopButton"));
    retrying->setObjectName(QStringLiteral("retryButton"));
    connect(writing, &QPushButton::clicked, this, &BatchWriteDialog::writeChecked);
    connect(stopping, &QPushButton::clicked, this, &BatchWriteDialog::stop);
    connect(retrying, &QPushButton::clicked, this, &BatchWriteDialog::retryFailed);
    connect(closing, &QPushButton::clicked, this, &BatchWriteDialog::reject);
    // Enter adds what is typed; it never starts a write.
    for (QPushButton *button : {adding, removing, writing, stopping, retrying, closing}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    layout->addWidget(writing);
    layout->addWidget(stopping);
    layout->addWidget(retrying);
    layout->addStretch(1);
    layout->addWidget(closing);
    return row;
}

// The row's own place, else the one typed for the batch.
QString BatchWriteDialog::placeOf(int row) const
{
    const QString own = place_label::cleaned(rows->place(row));
    return own.isEmpty() ? place_label::cleaned(place->text()) : own;
}

QHash<QString, QString> BatchWriteDialog::placesOf(const QStringList &links) const
{
    QHash<QString, QString> places;
    for (const QString &link : links)
        places.insert(link, placeOf(rows->rowOf(link)));
    return places;
}

void BatchWriteDialog::showPorts(const QList<device::SerialPort> &ports)
{
    QStringList listed;
    for (const device::SerialPort &port : ports) {
        const QString link = QStringLiteral("serial:") + port.location;
        listed << link;
        if (rows->rowOf(link) < 0)
            rows->addRow(link, true, checkedLinks.contains(link), port.manufacturer, port.serialNumber);
    }
    if (isWriting())
        return;
    for (int row = rows->rowCount() - 1; row >= 0; --row)
        if (rows->isListed(row) && !listed.contains(rows->link(row)))
            rows->removeRow(row);
}

void BatchWriteDialog::addTyped()
{
    const device::TypedReaders typed = device::parseTypedReaders(address->text());
    if (typed.problem) {
        status->setText(plainShown(device::typedReadersProblemText(typed)));
        return;
    }
    QStringList fresh;
    for (const QString &link : typed.links)
        if (rows->rowOf(link) < 0 && !fresh.contains(link))
            fresh << link;
    int typedRows = 0;
    for (int row = 0; row < rows->rowCount(); ++row)
        typedRows += rows->isListed(row) ? 0 : 1;
    if (typedRows + fresh.size() > kMostTypedRows) {
        status->setText(tr("最多可添加 %1 个网络读卡器：请先移除用不到的。").arg(kMostTypedRows));
        return;
    }
    for (const QString &link : fresh) {
        if (!checkedLinks.contains(link))
            checkedLinks << link;
        rows->addRow(link, false, true);
    }
    status->setText(tr("已添加 %n 个读卡器。", nullptr, int(fresh.size())));
    address->clear();
    rememberRows();
}

void BatchWriteDialog::removeChosen()
{
    const QModelIndexList chosen = table->selectionModel()->selectedRows();
    QList<int> chosenRows;
    for (const QModelIndex &index : chosen)
        chosenRows << index.row();
    std::sort(chosenRows.begin(), chosenRows.end(), std::greater<int>());
    for (int row : chosenRows) {
        if (rows->isListed(row))
            continue;
        checkedLinks.removeAll(rows->link(row));
        rows->removeRow(row);
    }
    rememberRows();
    updateButtons();
}

void BatchWriteDialog::checkChanged(const QString &link, bool checked)
{
    checkedLinks.removeAll(link);
    if (checked)
        checkedLinks << link;
    rememberRows();
}

// The typed readers and the checked links; the ports the system lists are
// listed afresh each time.
void BatchWriteDialog::rememberRows() const
{
    QStringList typed;
    for (int row = 0; row < rows->rowCount(); ++row)
        if (!rows->isListed(row))
            typed << rows->link(row);
    remembered::store(kTypedKey, QVariant(typed));
    remembered::store(kCheckedKey,
                      QVariant(checkedLinks.mid(std::max(0, int(checkedLinks.size()) - kMostCheckedRemembered))));
}

void BatchWriteDialog::restoreRows()
{
    checkedLinks = validLinks(remembered::texts(kCheckedKey, kMostCheckedRemembered));
    for (const QString &link : validLinks(remembered::texts(kTypedKey, kMostTypedRows)))
        rows->addRow(link, false, checkedLinks.contains(link));
}

// Builds the configuration as every save does; a refusal writes nothing.
void BatchWriteDialog::writeChecked()
{
    QStringList links;
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->isChecked(row))
            links << rows->link(row);
    if (links.isEmpty()) {
        status->setText(tr("请先勾选要写入的读卡器。"));
        return;
    }
    if (const std::optional<QString> twice = device::sharedLink(links)) {
        status->setText(tr("%1 与另一行是同一个读卡器：请只勾选其中一行。").arg(plainShown(*twice)));
        return;
    }
    const config::FormValue value = form.value();
    const config::Assembly built = config::assemble(value);
    if (built.refusal) {
        status->setText(tr("配置未能生成，没有写入任何读卡器。"));
        showRefusal(this, *built.refusal);
        return;
    }
    signedText = built.text;
    sentValue = value;
    start(links);
}

void BatchWriteDialog::retryFailed()
{
    QStringList links;
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->state(row) == BatchRows::Failed || rows->state(row) == BatchRows::Unknown)
            links << rows->link(row);
    if (!links.isEmpty())
        start(links);
}

// The saves run on a thread of their own; each start and outcome comes back
// to this thread in order, the end of the run after them.
void BatchWriteDialog::start(const QStringList &links)
{
    batch = std::make_unique<ReaderBatch>(links, signedText, atOnce->value());
    std::fill(std::begin(counts), std::end(counts), 0);
    recordNotes.clear();
    stopped = false;
    progress->setRange(0, int(links.size()));
    progress->setValue(0);
    status->setText(tr("正在写入 %n 个读卡器…", nullptr, int(links.size())));
    ReaderBatch *running = batch.get();
    worker = std::thread([this, running, sent = sentValue, places = placesOf(links)] {
        running->run(
            [this, &sent, &places](const ReaderResult &result) {
                // Recorded here, off the window's thread: a busy disk holds up no painting.
                const std::optional<QString> unrecorded =
                    recordSave(result.link, result.firmware.value_or(QString()), result.report,
                               recordedChanges(result.changes), sent, places.value(result.link))
                        .note;
                QMetaObject::invokeMethod(
                    this, [this, result, unrecorded] { linkDone(result, unrecorded); }, Qt::QueuedConnection);
            },
            [this](const QString &link) {
                QMetaObject::invokeMethod(
                    this, [this, link] { linkStarted(link); }, Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this] { runFinished(); }, Qt::QueuedConnection);
    });
    updateButtons();
}

void BatchWriteDialog::stop()
{
    if (!batch)
        return;
    batch->stop();
    stopped = true;
    status->setText(tr("已停止：不再开始新的写入，正在进行的写入完成后结束。"));
    updateButtons();
}

void BatchWriteDialog::linkStarted(const QString &link)
{
    const int row = rows->rowOf(link);
    if (row >= 0)
        rows->setOutcome(row, BatchRows::Working, tr("正在写入…"));
}

void BatchWriteDialog::linkDone(const ReaderResult &result, const std::optional<QString> &unrecorded)
{
    showOutcome(result.link, result.report);
    ++counts[result.report.outcome];
    progress->setValue(progress->value() + 1);
    if (unrecorded && !recordNotes.contains(*unrecorded))
        recordNotes << *unrecorded;
}

// The thread has run its last line. Joined already when the dialog went
// while it ran.
void BatchWriteDialog::runFinished()
{
    if (worker.joinable())
        worker.join();
    endRun();
}

void BatchWriteDialog::endRun()
{
    const int unstarted = progress->maximum() - progress->value();
    batch.reset();
    QString summary = tr("写入结束：成功 %1，失败 %2，未确认 %3。")
                          .arg(counts[SaveReport::Saved])
                          .arg(counts[SaveReport::Failed])
                          .arg(counts[SaveReport::Unknown]);
    if (stopped && unstarted > 0)
        summary += QLatin1Char('\n') + tr("已停止，%n 个读卡器没有写入。", nullptr, unstarted);
    for (const QString &note : recordNotes)
        summary += QLatin1Char('\n') + plainShown(note);
    status->setText(summary);
    updateButtons();
    if (closeWhenDone) {
        closeWhenDone = false;
        QDialog::reject();
    }
}

void BatchWriteDialog::showOutcome(const QString &link, const SaveReport &report)
{
    const int row = rows->rowOf(link);
    if (row < 0)
        return;
    const QString line = plainShown(report.detail).simplified();
    switch (report.outcome) {
    case SaveReport::Saved:
        rows->setOutcome(row, BatchRows::Succeeded, tr("成功"), report.detail);
        break;
    case SaveReport::Failed:
        rows->setOutcome(row, BatchRows::Failed, tr("失败：%1").arg(line), report.detail);
        break;
    case SaveReport::Unknown:
        rows->setOutcome(row, BatchRows::Unknown, tr("未确认：%1").arg(line), report.detail);
        break;
    }
}

bool BatchWriteDialog::anyToRetry() const
{
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->state(row) == BatchRows::Failed || rows->state(row) == BatchRows::Unknown)
            return true;
    return false;
}

void BatchWriteDialog::updateButtons()
{
    const bool idle = !isWriting();
    writing->setEnabled(idle);
    stopping->setEnabled(!idle && !stopped);
    retrying->setEnabled(idle && anyToRetry() && !signedText.isEmpty());
    removing->setEnabled(idle);
    atOnce->setEnabled(idle);
}

// Closing while saves run waits for them without holding up the window;
// the dialog goes when the last has finished.
void BatchWriteDialog::reject()
{
    if (!isWriting()) {
        QDialog::reject();
        return;
    }
    closeWhenDone = true;
    stop();
    status->setText(tr("正在等待进行中的写入完成，之后关闭…"));
}

BatchWriteEntry::BatchWriteEntry(const FormSource &formSource, BatchWriteDialog::ShowRefusal refusalShown,
                                 QWidget *parentWindow, QMenu *menu)
    : QObject(parentWindow), form(formSource), showRefusal(std::move(refusalShown)), window(parentWindow)
{
    QAction *opening =
        addWindowEntry(window, menu, this, tr("批量写入…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W),
                       tr("把这份配置同时写入多个读卡器"));
    connect(opening, &QAction::triggered, this, &BatchWriteEntry::open);
}

void BatchWriteEntry::open()
{
    if (!shown)
        shown = new BatchWriteDialog(form, showRefusal, window);
    bringUp(shown);
}
