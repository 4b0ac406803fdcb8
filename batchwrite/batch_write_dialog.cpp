#include "batchwrite/batch_write_dialog.h"

#include <algorithm>
#include <functional>

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "batchwrite/batch_rows.h"
#include "config/assembly.h"
#include "core/change_words.h"
#include "core/dialog_folder.h"
#include "core/form_source.h"
#include "core/reader_find.h"
#include "core/remembered_settings.h"
#include "core/save_records.h"
#include "device/reader_links.h"
#include "program/wording.h"
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
      status(new QLabel(this)),
      detail(new QPlainTextEdit(this))
{
    setWindowTitle(tr("批量写入"));
    setUpTableAndDetail();
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &BatchWriteDialog::showDetail);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeAddRow());
    layout->addWidget(table, 1);
    layout->addWidget(detail);
    layout->addWidget(progress);
    layout->addWidget(status);
    layout->addWidget(makeButtonRow());
    resize(760, 540);

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

void BatchWriteDialog::setUpTableAndDetail()
{
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
    detail->setObjectName(QStringLiteral("detailPane"));
    detail->setReadOnly(true);
    detail->setMaximumHeight(110);
    detail->setPlaceholderText(tr("选中一行：检查发现的不同之处和站点表给它的值显示在这里。"));
}

// The window is going: the saves under way finish (each recorded as it
// ends) before the dialog goes.
BatchWriteDialog::~BatchWriteDialog()
{
    if (worker.joinable()) {
        if (batch)
            batch->stop();
        halting = true;
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
    checking = new QPushButton(tr("检查"), row);
    finding = new QPushButton(tr("查找"), row);
    loadingSheet = new QPushButton(tr("载入站点表…"), row);
    auto *closing = new QPushButton(tr("关闭"), row);
    writing->setObjectName(QStringLiteral("writeButton"));
    stopping->setObjectName(QStringLiteral("stopButton"));
    retrying->setObjectName(QStringLiteral("retryButton"));
    checking->setObjectName(QStringLiteral("checkButton"));
    finding->setObjectName(QStringLiteral("findButton"));
    loadingSheet->setObjectName(QStringLiteral("sheetButton"));
    checking->setToolTip(tr("把勾选的读卡器与这份配置逐项比较，不写入"));
    finding->setToolTip(tr("在地址栏给出的范围中查找读卡器，如 127.0.0.1:47811-47830 或 192.168.1.0/24"));
    loadingSheet->setToolTip(tr("载入站点表（CSV：link、place 及各读卡器自己的配置项）"));
    connect(writing, &QPushButton::clicked, this, &BatchWriteDialog::writeChecked);
    connect(stopping, &QPushButton::clicked, this, &BatchWriteDialog::stop);
    connect(retrying, &QPushButton::clicked, this, &BatchWriteDialog::retryFailed);
    connect(checking, &QPushButton::clicked, this, &BatchWriteDialog::checkChecked);
    connect(finding, &QPushButton::clicked, this, &BatchWriteDialog::findInRange);
    connect(loadingSheet, &QPushButton::clicked, this, &BatchWriteDialog::chooseSheet);
    connect(closing, &QPushButton::clicked, this, &BatchWriteDialog::reject);
    // Enter adds what is typed; it never starts a write.
    for (QPushButton *button :
         {adding, removing, writing, stopping, retrying, checking, finding, loadingSheet, closing}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QPushButton *button : {writing, stopping, retrying, checking, finding, loadingSheet})
        layout->addWidget(button);
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
    if (isBusy())
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
    const std::optional<QStringList> fresh = addLinks(typed.links);
    if (!fresh)
        return;
    status->setText(tr("已添加 %n 个读卡器。", nullptr, int(fresh->size())));
    address->clear();
}

// A checked row for each link that has none, those added; none when the
// typed rows would pass their bound, said in the status line.
std::optional<QStringList> BatchWriteDialog::addLinks(const QStringList &links)
{
    QStringList fresh;
    for (const QString &link : links)
        if (rows->rowOf(link) < 0 && !fresh.contains(link))
            fresh << link;
    int typedRows = 0;
    for (int row = 0; row < rows->rowCount(); ++row)
        typedRows += rows->isListed(row) ? 0 : 1;
    if (typedRows + fresh.size() > kMostTypedRows) {
        status->setText(tr("最多可添加 %1 个网络读卡器：请先移除用不到的。").arg(kMostTypedRows));
        return std::nullopt;
    }
    for (const QString &link : fresh) {
        if (!checkedLinks.contains(link))
            checkedLinks << link;
        rows->addRow(link, false, true);
    }
    rememberRows();
    return fresh;
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
        sheetRows.remove(rows->link(row));
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

// The checked rows' links; none, said in the status line, when no row is
// checked or two rows name one reader.
QStringList BatchWriteDialog::checkedRowLinks()
{
    QStringList links;
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->isChecked(row))
            links << rows->link(row);
    if (links.isEmpty())
        status->setText(tr("请先勾选读卡器。"));
    if (const std::optional<QString> twice = device::sharedLink(links)) {
        status->setText(tr("%1 与另一行是同一个读卡器：请只勾选其中一行。").arg(plainShown(*twice)));
        return {};
    }
    return links;
}

// The configuration as every save builds it, for each link with the values
// its row of the site sheet gives on top; a refusal sends nothing.
std::optional<QHash<QString, BatchWriteDialog::Sent>> BatchWriteDialog::buildFor(const QStringList &links)
{
    const config::FormValue value = form.value();
    const config::Assembly built = config::assemble(value);
    if (built.refusal) {
        status->setText(tr("配置未能生成，没有写入任何读卡器。"));
        showRefusal(this, *built.refusal);
        return std::nullopt;
    }
    QHash<QString, Sent> texts;
    for (const QString &link : links) {
        if (!sheetRows.contains(link)) {
            texts.insert(link, {built.text, value});
            continue;
        }
        const site_sheet::Row &row = sheetRows[link];
        const site_sheet::RowTarget own = site_sheet::rowTarget(row, value);
        const config::Assembly ownBuilt = own.problem ? config::Assembly() : config::assemble(own.form);
        if (own.problem || ownBuilt.refusal) {
            status->setText(plainShown(
                own.problem.value_or(site_sheet::rowRefusal(row.line, link, refusalText(*ownBuilt.refusal)))));
            return std::nullopt;
        }
        texts.insert(link, {ownBuilt.text, own.form});
    }
    return texts;
}

void BatchWriteDialog::writeChecked()
{
    const QStringList links = checkedRowLinks();
    if (links.isEmpty())
        return;
    std::optional<QHash<QString, Sent>> built = buildFor(links);
    if (!built)
        return;
    sent = std::move(*built);
    start(links);
}

// The failed and unconfirmed readers of the last write, each with what it
// was sent.
void BatchWriteDialog::retryFailed()
{
    QStringList links;
    for (int row = 0; row < rows->rowCount(); ++row)
        if ((rows->state(row) == BatchRows::Failed || rows->state(row) == BatchRows::Unknown)
            && sent.contains(rows->link(row)))
            links << rows->link(row);
    if (!links.isEmpty())
        start(links);
}

void BatchWriteDialog::beginWork(Work kind, int count, const QString &said)
{
    work = kind;
    std::fill(std::begin(counts), std::end(counts), 0);
    recordNotes.clear();
    stopped = false;
    halting = false;
    progress->setRange(0, count);
    progress->setValue(0);
    status->setText(said);
}

// The saves run on a thread of their own; each start and outcome comes back
// to this thread in order, the end of the run after them.
void BatchWriteDialog::start(const QStringList &links)
{
    QHash<QString, QString> texts;
    for (const QString &link : links)
        texts.insert(link, sent.value(link).text);
    batch = std::make_unique<ReaderBatch>(links, texts, atOnce->value());
    beginWork(Work::Write, int(links.size()), tr("正在写入 %n 个读卡器…", nullptr, int(links.size())));
    ReaderBatch *running = batch.get();
    worker = std::thread([this, running, values = sent, places = placesOf(links)] {
        running->run(
            [this, &values, &places](const ReaderResult &result) {
                // Recorded here, off the window's thread: a busy disk holds up no painting.
                const std::optional<QString> unrecorded =
                    recordSave(result.link, result.firmware.value_or(QString()), result.report,
                               recordedChanges(result.changes), values.value(result.link).value,
                               places.value(result.link))
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
    if (!isBusy())
        return;
    if (batch)
        batch->stop();
    halting = true;
    stopped = true;
    status->setText(work == Work::Write ? tr("已停止：不再开始新的写入，正在进行的写入完成后结束。")
                                        : tr("已停止：不再开始新的读卡器，正在进行的完成后结束。"));
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

// Each checked reader read and compared with what a write would send it,
// on a thread of its own; nothing is written, and a check leaves nothing
// to retry.
void BatchWriteDialog::checkChecked()
{
    const QStringList links = checkedRowLinks();
    if (links.isEmpty())
        return;
    const std::optional<QHash<QString, Sent>> built = buildFor(links);
    if (!built)
        return;
    sent.clear();
    QHash<QString, QByteArray> texts;
    for (const QString &link : links) {
        texts.insert(link, built->value(link).text.toUtf8());
        differences.remove(link);
        rows->setOutcome(rows->rowOf(link), BatchRows::Working, tr("正在检查…"));
    }
    showDetail();
    beginWork(Work::Check, int(links.size()), tr("正在检查 %n 个读卡器…", nullptr, int(links.size())));
    worker = std::thread([this, links, texts, values = *built, places = placesOf(links), jobs = atOnce->value()] {
        lookAtEach(
            links, jobs, texts,
            [&](const ReaderLook &look) {
                const std::optional<QString> unrecorded =
                    recordCheck(look, values.value(look.link).value, places.value(look.link));
                QMetaObject::invokeMethod(
                    this, [this, look, unrecorded] { lookDone(look, unrecorded); }, Qt::QueuedConnection);
            },
            &halting);
        QMetaObject::invokeMethod(
            this, [this] { runFinished(); }, Qt::QueuedConnection);
    });
    updateButtons();
}

void BatchWriteDialog::lookDone(const ReaderLook &look, const std::optional<QString> &unrecorded)
{
    progress->setValue(progress->value() + 1);
    if (unrecorded && !recordNotes.contains(*unrecorded))
        recordNotes << *unrecorded;
    const SaveReport::Outcome outcome = look.code              ? SaveReport::Unknown
                                        : look.changes.empty() ? SaveReport::Saved
                                                               : SaveReport::Failed;
    ++counts[outcome];
    const int row = rows->rowOf(look.link);
    if (row < 0)
        return;
    if (outcome == SaveReport::Unknown) {
        rows->setOutcome(row, BatchRows::Unknown, tr("未能检查：%1").arg(plainShown(look.cause).simplified()),
                         look.cause);
    } else {
        differences.insert(look.link, look.changes);
        rows->setOutcome(row, outcome == SaveReport::Saved ? BatchRows::Succeeded : BatchRows::Failed,
                         outcome == SaveReport::Saved ? tr("一致")
                                                      : tr("不同：%n 项", nullptr, int(look.changes.size())));
    }
    if (table->currentIndex().row() == row)
        showDetail();
}

// The range typed into the address field, each of its addresses tried on
// threads of their own; the readers found become rows once all are tried.
void BatchWriteDialog::findInRange()
{
    const Links range = rangeLinks(address->text().trimmed());
    if (range.problem) {
        status->setText(plainShown(*range.problem));
        return;
    }
    searched = range.links;
    answered.clear();
    beginWork(Work::Find, int(searched.size()), tr("正在查找 %n 个地址…", nullptr, int(searched.size())));
    worker = std::thread([this, links = searched, jobs = atOnce->value()] {
        findReaders(
            links, jobs,
            [this](const QString &link, const std::optional<FoundReader> &found) {
                const bool reader = found && found->look.text;
                QMetaObject::invokeMethod(
                    this,
                    [this, link, reader] {
                        progress->setValue(progress->value() + 1);
                        if (reader)
                            answered.insert(link);
                    },
                    Qt::QueuedConnection);
            },
            &halting);
        QMetaObject::invokeMethod(
            this, [this] { runFinished(); }, Qt::QueuedConnection);
    });
    updateButtons();
}

void BatchWriteDialog::chooseSheet()
{
    QFileDialog chooser(this, tr("载入站点表"), dialogFolder(), tr("站点表 (*.csv);;所有文件 (*)"));
    chooser.setFileMode(QFileDialog::ExistingFile);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = chooser.selectedFiles().constFirst();
    rememberDialogFolder(path);
    loadSheet(path);
}

// The sheet's readers as checked rows with their places, their values kept
// for the writes and checks to come; a sheet with a row that cannot be
// taken is refused whole, naming the row.
void BatchWriteDialog::loadSheet(const QString &path)
{
    const site_sheet::Sheet sheet = site_sheet::readSheet(path);
    QString problem = sheet.problem.value_or(QString());
    QHash<QString, site_sheet::Row> byLink;
    QStringList links;
    const config::FormValue value = form.value();
    for (auto row = sheet.rows.begin(); problem.isEmpty() && row != sheet.rows.end(); ++row) {
        const site_sheet::RowTarget target = site_sheet::rowTarget(*row, value);
        problem = target.problem.value_or(QString());
        byLink.insert(target.link, *row);
        links << target.link;
    }
    if (const std::optional<QString> twice = problem.isEmpty() ? device::sharedLink(links) : std::nullopt)
        problem = tr("站点表中 %1 与另一行是同一个读卡器。").arg(*twice);
    if (!problem.isEmpty()) {
        status->setText(plainShown(problem));
        return;
    }
    if (!addLinks(links))
        return;
    sheetRows = byLink;
    for (const QString &link : links) {
        const int row = rows->rowOf(link);
        rows->setData(rows->index(row, BatchRows::PlaceColumn), place_label::cleaned(byLink[link].place));
        rows->setData(rows->index(row, BatchRows::LinkColumn), Qt::Checked, Qt::CheckStateRole);
    }
    status->setText(tr("已载入站点表：%n 个读卡器。", nullptr, int(links.size())));
    showDetail();
}

// The thread has run its last line. Joined already when the dialog went
// while it ran.
void BatchWriteDialog::runFinished()
{
    if (worker.joinable())
        worker.join();
    QString summary = work == Work::Write   ? writeSummary()
                      : work == Work::Check ? tr("检查结束：一致 %1，不同 %2，未能检查 %3。")
                                                  .arg(counts[SaveReport::Saved])
                                                  .arg(counts[SaveReport::Failed])
                                                  .arg(counts[SaveReport::Unknown])
                                            : findSummary();
    batch.reset();
    for (const QString &note : recordNotes)
        summary += QLatin1Char('\n') + plainShown(note);
    status->setText(summary);
    updateButtons();
    if (closeWhenDone) {
        closeWhenDone = false;
        QDialog::reject();
    }
}

QString BatchWriteDialog::writeSummary() const
{
    const int unstarted = progress->maximum() - progress->value();
    QString summary = tr("写入结束：成功 %1，失败 %2，未确认 %3。")
                          .arg(counts[SaveReport::Saved])
                          .arg(counts[SaveReport::Failed])
                          .arg(counts[SaveReport::Unknown]);
    if (stopped && unstarted > 0)
        summary += QLatin1Char('\n') + tr("已停止，%n 个读卡器没有写入。", nullptr, unstarted);
    return summary;
}

// The readers found, in the range's order, as rows.
QString BatchWriteDialog::findSummary()
{
    QStringList found;
    for (const QString &link : searched)
        if (answered.contains(link))
            found << link;
    QString summary = tr("找到 %n 个读卡器", nullptr, int(found.size()));
    if (const std::optional<QStringList> fresh = addLinks(found))
        summary += tr("，新添加 %n 行。", nullptr, int(fresh->size()));
    else
        summary += QLatin1Char('\n') + status->text();
    return summary;
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

// What the last check found different on the current row's reader, and
// the values its row of the site sheet gives it; secrets masked.
void BatchWriteDialog::showDetail()
{
    const int row = table->currentIndex().row();
    const QString link = row >= 0 ? rows->link(row) : QString();
    QStringList lines;
    if (differences.contains(link)) {
        const std::vector<config::KeyDifference> &found = differences[link];
        lines << (found.empty() ? tr("检查：与配置一致。")
                                : tr("检查：与配置不同的 %n 项：", nullptr, int(found.size())));
        for (const records::Change &change : recordedChanges(found))
            lines << QStringLiteral("  ") + changeLine(change);
    }
    if (sheetRows.contains(link)) {
        const site_sheet::Row &own = sheetRows[link];
        lines << tr("站点表第 %1 行的值：").arg(own.line);
        for (const config::KeyValue &value : own.values)
            lines << QStringLiteral("  %1 = %2").arg(value.key, config::shownValue(value.key, value.value));
    }
    detail->setPlainText(plainShown(lines.join(QLatin1Char('\n'))));
}

bool BatchWriteDialog::anyToRetry() const
{
    for (int row = 0; row < rows->rowCount(); ++row)
        if ((rows->state(row) == BatchRows::Failed || rows->state(row) == BatchRows::Unknown)
            && sent.contains(rows->link(row)))
            return true;
    return false;
}

void BatchWriteDialog::updateButtons()
{
    const bool idle = !isBusy();
    for (QWidget *idleOnly :
         std::initializer_list<QWidget *>{writing, checking, finding, loadingSheet, removing, atOnce})
        idleOnly->setEnabled(idle);
    stopping->setEnabled(!idle && !stopped);
    retrying->setEnabled(idle && anyToRetry());
}

// Closing while work runs waits for it without holding up the window; the
// dialog goes when the last reader has finished.
void BatchWriteDialog::reject()
{
    if (!isBusy()) {
        QDialog::reject();
        return;
    }
    closeWhenDone = true;
    stop();
    status->setText(tr("正在等待进行中的读卡器完成，之后关闭…"));
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
