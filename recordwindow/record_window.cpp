#include "recordwindow/record_window.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

#include "config/config_file.h"
#include "core/change_words.h"
#include "core/dialog_folder.h"
#include "documents/record_export.h"
#include "files/safe_file.h"
#include "text/plain_text.h"
#include "widgets/boxes.h"
#include "widgets/menu_button.h"

namespace {

const char kTitle[] = QT_TRANSLATE_NOOP("RecordWindow", "配置记录");

const char *const kColumnTitles[] = {
    QT_TRANSLATE_NOOP("RecordWindow", "时间"), QT_TRANSLATE_NOOP("RecordWindow", "记录"),
    QT_TRANSLATE_NOOP("RecordWindow", "位置"), QT_TRANSLATE_NOOP("RecordWindow", "连接"),
    QT_TRANSLATE_NOOP("RecordWindow", "固件"), QT_TRANSLATE_NOOP("RecordWindow", "结果"),
}; // by RecordTable::Column

const records::Selection::Order kOrders[] = {
    records::Selection::ByTime, records::Selection::ByKind,     records::Selection::ByPlace,
    records::Selection::ByLink, records::Selection::ByFirmware, records::Selection::ByResult,
}; // by RecordTable::Column

// The views of the record, by their place in the chooser: the site's state
// first, as the handover report tells it.
const char *const kViews[] = {
    QT_TRANSLATE_NOOP("RecordWindow", "各读卡器现状"),
    QT_TRANSLATE_NOOP("RecordWindow", "全部记录"),
};

// The detail pane shows a stored text up to this size: the database is a
// file anyone may have edited.
constexpr int kMaxShownChars = int(config::kMaxConfigFileBytes);
// Readers never wait for a writer of the store; this bounds the wait for
// one that locked it whole (a store not in WAL mode, or a copy tool).
constexpr int kBusyTimeoutMs = 500;
// Rows read from the store at a time, as the view scrolls to them.
constexpr int kPageRows = 256;
// A pause in typing this long applies the filter.
constexpr int kTypingPauseMs = 250;
// A handover report longer than this is asked about first.
constexpr qint64 kLongReportRows = 5000;

QString bounded(const QString &text)
{
    return text.size() <= kMaxShownChars ? text : text.left(kMaxShownChars) + QStringLiteral("…");
}

QString said(const char *source, int n = -1)
{
    return QCoreApplication::translate("RecordWindow", source, nullptr, n);
}

// One export: its dialog's words and how it is made.
struct ExportKind
{
    const char *title;
    const char *filter;
    const char *suffix;
    Exported (*make)(records::Store &, const records::Selection &, ExportRun *);
};
const ExportKind kExports[] = {
    {QT_TRANSLATE_NOOP("RecordWindow", "导出 CSV"), QT_TRANSLATE_NOOP("RecordWindow", "CSV 表格 (*.csv)"), "csv",
     recordsCsv},
    {QT_TRANSLATE_NOOP("RecordWindow", "导出交接单"), QT_TRANSLATE_NOOP("RecordWindow", "PDF 文件 (*.pdf)"),
     "pdf", recordsPdf},
}; // by whether it is the PDF

} // namespace

RecordTable::RecordTable(QObject *parent)
    : QAbstractTableModel(parent), store(records::defaultPath(), kBusyTimeoutMs)
{}

std::optional<QString> RecordTable::readPage(std::vector<records::Record> *page)
{
    return store.visit(chosen, records::Columns::Listed, qint64(rows.size()), kPageRows,
                       [page](records::Record &&record) {
                           page->push_back(std::move(record));
                           return true;
                       });
}

std::optional<QString> RecordTable::select(const records::Selection &selection)
{
    beginResetModel();
    chosen = selection;
    rows.clear();
    const std::optional<QString> unread = readPage(&rows);
    allRead = unread || rows.size() < size_t(kPageRows);
    endResetModel();
    return unread;
}

bool RecordTable::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && !allRead;
}

void RecordTable::fetchMore(const QModelIndex &parent)
{
    if (!canFetchMore(parent))
        return;
    std::vector<records::Record> page;
    const std::optional<QString> unread = readPage(&page);
    allRead = unread || page.size() < size_t(kPageRows);
    if (!page.empty()) {
        beginInsertRows(QModelIndex(), rowCount(), rowCount() + int(page.size()) - 1);
        std::move(page.begin(), page.end(), std::back_inserter(rows));
        endInsertRows();
    }
    if (unread)
        emit unreadable(*unread);
}

void RecordTable::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    records::Selection sorted = chosen;
    sorted.order = kOrders[column];
    sorted.descending = order == Qt::DescendingOrder;
    if (const std::optional<QString> unread = select(sorted))
        emit unreadable(*unread);
}

int RecordTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int RecordTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::DisplayRole)
        return QVariant();
    const records::Record &shown = record(index.row());
    switch (index.column()) {
    case Time:
        return shownTime(shown.time);
    case Kind:
        return kindText(shown);
    case Place:
        return plainShown(shown.place).simplified();
    case Link:
        return plainShown(shownLink(shown)).simplified();
    case Firmware:
        return plainShown(shown.firmware).simplified();
    case Result:
        // One line in the table; the detail pane has the whole cause.
        return plainShown(resultText(shown)).simplified();
    }
    return QVariant();
}

QVariant RecordTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return said(kColumnTitles[section]);
}

RecordWindow::RecordWindow(OpenConfiguration opener, QWidget *parent)
    : QWidget(parent, Qt::Window), openInForm(std::move(opener)), model(new RecordTable(this))
{
    setObjectName(QStringLiteral("recordWindow"));
    setWindowTitle(tr(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeFilterRow());
    note = new QLabel(this);
    note->setObjectName(QStringLiteral("noteLine"));
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #b00000"));
    note->hide();
    layout->addWidget(note);
    connect(model, &RecordTable::unreadable, this, &RecordWindow::say);

    table = makeTable();
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RecordWindow::showDetails);
    details = new QPlainTextEdit(this);
    details->setObjectName(QStringLiteral("detailView"));
    details->setReadOnly(true);
    details->setPlaceholderText(tr("选中一条记录，看它的改动和配置"));
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table);
    split->addWidget(details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    layout->addWidget(makeButtonRow());
    resize(900, 600);
    showDetails();
}

QTableView *RecordWindow::makeTable()
{
    auto *view = new QTableView(this);
    view->setObjectName(QStringLiteral("recordTable"));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->horizontalHeader()->setSortIndicator(RecordTable::Time, Qt::DescendingOrder);
    view->setSortingEnabled(true);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    // A time whole, as the user's clock shows it; the kind's one word.
    const int padding = 2 * view->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    view->setColumnWidth(RecordTable::Time,
                         view->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + padding);
    view->setColumnWidth(RecordTable::Kind,
                         view->fontMetrics().horizontalAdvance(said(kColumnTitles[RecordTable::Kind])) * 2
                             + padding);
    view->setColumnWidth(RecordTable::Link, 180);
    return view;
}

QWidget *RecordWindow::makeFilterRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    view = new QComboBox(row);
    view->setObjectName(QStringLiteral("viewChooser"));
    for (const char *words : kViews)
        view->addItem(said(words));
    view->setToolTip(tr("各读卡器现状：每个读卡器一行，是它最近一次保存或检查；导出的交接单与显示的一致"));
    connect(view, qOverload<int>(&QComboBox::currentIndexChanged), this, &RecordWindow::applyFilter);
    layout->addWidget(view);
    filter = new QLineEdit(row);
    filter->setObjectName(QStringLiteral("filterField"));
    filter->setPlaceholderText(tr("按时间、位置、连接、固件或结果筛选"));
    filter->setClearButtonEnabled(true);
    typing = new QTimer(this);
    typing->setSingleShot(true);
    typing->setInterval(kTypingPauseMs);
    connect(typing, &QTimer::timeout, this, &RecordWindow::applyFilter);
    connect(filter, &QLineEdit::textChanged, typing, qOverload<>(&QTimer::start));
    fromDate = new QDateEdit(row);
    fromDate->setObjectName(QStringLiteral("fromField"));
    toDate = new QDateEdit(row);
    toDate->setObjectName(QStringLiteral("toField"));
    for (QDateEdit *edit : {fromDate, toDate}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(edit, &QDateEdit::dateChanged, this, &RecordWindow::applyFilter);
    }
    layout->addWidget(filter, 1);
    layout->addWidget(new QLabel(tr("从"), row));
    layout->addWidget(fromDate);
    layout->addWidget(new QLabel(tr("到"), row));
    layout->addWidget(toDate);
    return row;
}

QWidget *RecordWindow::makeButtonRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    opening = new QPushButton(tr("打开此配置"), row);
    opening->setObjectName(QStringLiteral("openButton"));
    opening->setToolTip(tr("把选中记录的配置载入窗口，如同打开配置文件"));
    connect(opening, &QPushButton::clicked, this, &RecordWindow::openConfiguration);
    auto *csv = new QPushButton(tr("导出 CSV…"), row);
    auto *pdf = new QPushButton(tr("导出交接单…"), row);
    for (QPushButton *exporting : {csv, pdf})
        exporting->setToolTip(tr("导出选中的记录，未选中时导出显示的全部记录"));
    connect(csv, &QPushButton::clicked, this, [this] { chooseExport(false); });
    connect(pdf, &QPushButton::clicked, this, [this] { chooseExport(true); });
    auto *reloading = new QPushButton(tr("刷新"), row);
    connect(reloading, &QPushButton::clicked, this, &RecordWindow::reload);
    auto *closing = new QPushButton(tr("关闭"), row);
    connect(closing, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton *button : {opening, csv, pdf, reloading})
        layout->addWidget(button);
    layout->addStretch(1);
    layout->addWidget(closing);
    return row;
}

namespace {

// The day of the oldest or the newest record, when there is one.
std::optional<QDate> endDay(records::Store &store, bool newest, std::optional<QString> *unread)
{
    records::Selection order;
    order.descending = newest;
    std::optional<QDate> day;
    *unread = store.visit(order, records::Columns::Listed, 0, 1, [&day](records::Record &&record) {
        day = QDate::fromString(shownTime(record.time).left(10), Qt::ISODate);
        return false;
    });
    return day;
}

} // namespace

void RecordWindow::reload()
{
    records::Store store(records::defaultPath(), kBusyTimeoutMs);
    movedAside += store.takeMovedAsideNotes();
    std::optional<QString> unread;
    const QDate today = QDate::currentDate();
    const QDate first = endDay(store, false, &unread).value_or(today);
    const QDate last = std::max(today, endDay(store, true, &unread).value_or(today));
    for (auto [edit, day] : {std::pair{fromDate, first}, std::pair{toDate, last}}) {
        const QSignalBlocker quiet(edit);
        edit->setDate(day);
    }
    applyFilter();
    if (unread)
        say(*unread);
}

void RecordWindow::showNotes(const QStringList &lines)
{
    QStringList all;
    for (const QString &aside : movedAside)
        all << tr("配置记录曾损坏，已移至 %1，并新建了记录。").arg(QDir::toNativeSeparators(aside));
    all << lines;
    note->setText(plainShown(all.join(QLatin1Char('\n'))));
    note->setVisible(!all.isEmpty());
}

void RecordWindow::say(const QString &reason)
{
    showNotes({tr("无法读取配置记录：%1").arg(reason)});
}

void RecordWindow::applyFilter()
{
    typing->stop();
    records::Selection selection = viewerSelection();
    selection.order = model->selection().order;
    selection.descending = model->selection().descending;
    selection.text = filter->text().trimmed();
    selection.latestPerReader = view->currentIndex() == 0;
    selection.from = dayStart(fromDate->date());
    selection.until = dayStart(toDate->date().addDays(1));
    const std::optional<QString> unread = model->select(selection);
    showNotes(unread ? QStringList{tr("无法读取配置记录：%1").arg(*unread)} : QStringList());
    showDetails();
}

std::optional<records::Record> RecordWindow::currentRecord() const
{
    const QModelIndex current = table->currentIndex();
    records::Record whole;
    if (!current.isValid()
        || records::Store(records::defaultPath(), kBusyTimeoutMs).fetch(model->record(current.row()).id, &whole))
        return std::nullopt;
    return whole;
}

void RecordWindow::showDetails()
{
    const std::optional<records::Record> record = currentRecord();
    opening->setEnabled(record.has_value());
    if (!record) {
        details->clear();
        return;
    }
    const QString configuration = QString::fromUtf8(record->configuration.left(kMaxShownChars + 1));
    const QStringList changes = changeLines(*record);
    details->setPlainText(
        tr("时间：%1\n位置：%2\n连接：%3\n固件：%4\n系列：%5\n结果：%6\nSHA-256：%7\n\n改动：\n%8\n\n配置：\n%9")
            .arg(shownTime(record->time), plainShown(record->place), plainShown(shownLink(*record)),
                 plainShown(record->firmware), record->series.isEmpty() ? tr("（未记录）") : seriesWords(*record),
                 plainShown(resultText(*record)), record->sha256,
                 changes.isEmpty() ? tr("（无）") : plainShown(changes.join(QLatin1Char('\n'))),
                 bounded(configuration)));
}

void RecordWindow::openConfiguration()
{
    const std::optional<records::Record> record = currentRecord();
    if (record && openInForm(record->configuration, tr("配置记录（%1）").arg(shownTime(record->time))))
        parentWidget()->activateWindow();
}

records::Selection RecordWindow::chosenRecords()
{
    if (typing->isActive())
        applyFilter();
    records::Selection chosen = model->selection();
    for (const QModelIndex &row : table->selectionModel()->selectedRows())
        chosen.ids.push_back(model->record(row.row()).id);
    return chosen;
}

std::optional<qint64> RecordWindow::chosenCount(const records::Selection &chosen)
{
    if (!chosen.ids.empty())
        return qint64(chosen.ids.size());
    qint64 rows = 0;
    if (const std::optional<QString> uncounted =
            records::Store(records::defaultPath(), kBusyTimeoutMs).count(chosen, &rows)) {
        showBox(this, QMessageBox::Warning, tr(kTitle), tr("无法读取配置记录：%1").arg(*uncounted));
        return std::nullopt;
    }
    return rows;
}

QString RecordWindow::chosenWords(qint64 rows) const
{
    return table->selectionModel()->hasSelection() ? tr("选中的 %n 条记录", nullptr, int(rows))
                                                   : tr("显示的全部 %n 条记录", nullptr, int(rows));
}

bool RecordWindow::exportCsv(const QString &path)
{
    const records::Selection chosen = chosenRecords();
    const std::optional<qint64> rows = chosenCount(chosen);
    return rows && exportTo(path, false, chosen, *rows);
}

bool RecordWindow::exportPdf(const QString &path)
{
    const records::Selection chosen = chosenRecords();
    const std::optional<qint64> rows = chosenCount(chosen);
    return rows && exportTo(path, true, chosen, *rows);
}

void RecordWindow::chooseExport(bool pdf)
{
    const ExportKind &kind = kExports[pdf];
    const records::Selection chosen = chosenRecords();
    const std::optional<qint64> rows = chosenCount(chosen);
    if (!rows)
        return;
    if (pdf && *rows > kLongReportRows) {
        QMessageBox ask(QMessageBox::Question, tr(kTitle),
                        tr("交接单将有 %n 行，生成要花些时间。先筛选出要交接的记录吗？", nullptr, int(*rows)),
                        QMessageBox::Cancel, this);
        ask.setTextFormat(Qt::PlainText);
        QPushButton *narrow = ask.addButton(tr("先筛选"), QMessageBox::AcceptRole);
        QPushButton *anyway = ask.addButton(tr("全部导出"), QMessageBox::DestructiveRole);
        ask.setDefaultButton(narrow);
        ask.exec();
        if (ask.clickedButton() == narrow)
            filter->setFocus();
        if (ask.clickedButton() != anyway)
            return;
    }
    // The dialog's title says which rows go out: the selected or the shown.
    QFileDialog dialog(this, tr("%1：%2").arg(tr(kind.title), chosenWords(*rows)), dialogFolder(),
                       tr(kind.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(kind.suffix));
    dialog.selectFile(QDir(dialogFolder()).filePath(tr(kTitle) + QLatin1Char('.') + QLatin1String(kind.suffix)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (pdf)
        exportPdf(path);
    else
        exportCsv(path);
}

// The export is made on a thread of its own, reading the store through a
// connection of that thread, while this one shows its progress.
bool RecordWindow::exportTo(const QString &path, bool pdf, const records::Selection &chosen, qint64 rows)
{
    const ExportKind &kind = kExports[pdf];
    ExportRun run;
    Exported made;
    QProgressDialog progress(tr("正在导出%1…").arg(chosenWords(rows)), tr("取消"), 0, int(rows), this);
    progress.setWindowTitle(tr(kind.title));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    connect(&progress, &QProgressDialog::canceled, this, [&run] { run.stop = true; });
    QTimer ticking;
    connect(&ticking, &QTimer::timeout, this, [&] { progress.setValue(int(std::min<qint64>(run.done, rows))); });
    ticking.start(100);
    QEventLoop finishing;
    const QString storePath = records::defaultPath();
    std::thread making([&] {
        records::Store store(storePath, kBusyTimeoutMs);
        made = kind.make(store, chosen, &run);
        QMetaObject::invokeMethod(&finishing, &QEventLoop::quit, Qt::QueuedConnection);
    });
    finishing.exec();
    making.join();
    progress.reset();
    if (made.failure) {
        if (!made.failure->isEmpty())
            showBox(this, QMessageBox::Warning, tr(kind.title),
                    tr("无法导出到 %1。").arg(QDir::toNativeSeparators(path)), *made.failure);
        return false;
    }
    return write(path, made.bytes);
}

bool RecordWindow::write(const QString &path, const QByteArray &bytes)
{
    if (const std::optional<QString> failed = files::replaceFile(path, bytes)) {
        showBox(this, QMessageBox::Warning, tr(kTitle), tr("无法导出到 %1。").arg(QDir::toNativeSeparators(path)),
                *failed);
        return false;
    }
    rememberDialogFolder(path);
    return true;
}

RecordWindowEntry::RecordWindowEntry(RecordWindow::OpenConfiguration opener, QWidget *parentWindow, QMenu *menu)
    : QObject(parentWindow), openConfiguration(std::move(opener)), window(parentWindow)
{
    QAction *opening = addWindowEntry(window, menu, this, tr("配置记录…"), QKeySequence(Qt::CTRL | Qt::Key_H),
                                      tr("看每次保存写了哪个读卡器、结果如何"));
    connect(opening, &QAction::triggered, this, &RecordWindowEntry::open);
}

void RecordWindowEntry::open()
{
    if (!shown)
        shown = new RecordWindow(openConfiguration, window);
    shown->reload();
    bringUp(shown);
}
