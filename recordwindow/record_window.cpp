#include "recordwindow/record_window.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "widgets/boxes.h"
#include "core/dialog_folder.h"
#include "widgets/menu_button.h"
#include "documents/record_export.h"
#include "config/config_file.h"
#include "files/safe_file.h"

namespace {

const char kTitle[] = QT_TRANSLATE_NOOP("RecordWindow", "配置记录");

const char *const kColumnTitles[] = {
    QT_TRANSLATE_NOOP("RecordWindow", "时间"), QT_TRANSLATE_NOOP("RecordWindow", "位置"),
    QT_TRANSLATE_NOOP("RecordWindow", "连接"), QT_TRANSLATE_NOOP("RecordWindow", "固件"),
    QT_TRANSLATE_NOOP("RecordWindow", "结果"),
}; // by RecordTable::Column

// The detail pane shows a stored text up to this size: the database is a
// file anyone may have edited.
constexpr int kMaxShownChars = int(config::kMaxConfigFileBytes);
// Readers never wait for a writer of the store; this bounds the wait for
// one that locked it whole (a store not in WAL mode, or a copy tool).
constexpr int kBusyTimeoutMs = 500;

QString bounded(const QString &text)
{
    return text.size() <= kMaxShownChars ? text : text.left(kMaxShownChars) + QStringLiteral("…");
}

// One export: its dialog's words and its bytes.
struct ExportKind
{
    const char *title;
    const char *filter;
    const char *suffix;
    QByteArray (*bytes)(const std::vector<records::Record> &);
};
const ExportKind kCsvExport = {QT_TRANSLATE_NOOP("RecordWindow", "导出 CSV"),
                               QT_TRANSLATE_NOOP("RecordWindow", "CSV 表格 (*.csv)"), "csv", recordsCsv};
const ExportKind kPdfExport = {QT_TRANSLATE_NOOP("RecordWindow", "导出交接单"),
                               QT_TRANSLATE_NOOP("RecordWindow", "PDF 文件 (*.pdf)"), "pdf", recordsPdf};

} // namespace

void RecordTable::setRecords(std::vector<records::Record> records)
{
    beginResetModel();
    all = std::move(records);
    endResetModel();
}

int RecordTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(all.size());
}

int RecordTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RecordTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != SortRole))
        return QVariant();
    const records::Record &shown = record(index.row());
    switch (index.column()) {
    case Time:
        return role == SortRole ? QVariant(shown.time) : QVariant(shownTime(shown.time));
    case Place:
        return shown.place;
    case Link:
        return shownLink(shown);
    case Firmware:
        return shown.firmware;
    case Result:
        // One line in the table; the detail pane has the whole cause.
        return resultText(shown).simplified();
    }
    return QVariant();
}

QVariant RecordTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return tr(kColumnTitles[section]);
}

void RecordFilter::setText(const QString &typed)
{
    text = typed.trimmed();
    invalidateFilter();
}

void RecordFilter::setDates(const QDate &first, const QDate &last)
{
    from = first;
    to = last;
    invalidateFilter();
}

bool RecordFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const QAbstractItemModel *records = sourceModel();
    const QDate day = records->index(sourceRow, RecordTable::Time, sourceParent)
                          .data(RecordTable::SortRole)
                          .toDateTime()
                          .toLocalTime()
                          .date();
    if ((from.isValid() && day < from) || (to.isValid() && day > to))
        return false;
    if (text.isEmpty())
        return true;
    for (int column : {RecordTable::Place, RecordTable::Link, RecordTable::Firmware})
        if (records->index(sourceRow, column, sourceParent).data().toString().contains(text, Qt::CaseInsensitive))
            return true;
    return false;
}

RecordWindow::RecordWindow(OpenConfiguration opener, QWidget *parent)
    : QWidget(parent, Qt::Window), openInForm(std::move(opener)), model(new RecordTable(this)), shown(new RecordFilter(this))
{
    setWindowTitle(tr(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    shown->setSourceModel(model);
    shown->setSortRole(RecordTable::SortRole);
    shown->setSortCaseSensitivity(Qt::CaseInsensitive);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(makeFilterRow());
    note = new QLabel(this);
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #b00000"));
    note->hide();
    layout->addWidget(note);

    table = new QTableView(this);
    table->setModel(shown);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setSortingEnabled(true);
    table->sortByColumn(RecordTable::Time, Qt::DescendingOrder);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(RecordTable::Time, 150);
    table->setColumnWidth(RecordTable::Link, 180);
    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &RecordWindow::showDetails);
    details = new QPlainTextEdit(this);
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

QWidget *RecordWindow::makeFilterRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    filter = new QLineEdit(row);
    filter->setPlaceholderText(tr("按连接、位置或固件筛选"));
    filter->setClearButtonEnabled(true);
    fromDate = new QDateEdit(row);
    toDate = new QDateEdit(row);
    for (QDateEdit *edit : {fromDate, toDate}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        connect(edit, &QDateEdit::dateChanged, this, &RecordWindow::applyFilter);
    }
    connect(filter, &QLineEdit::textChanged, this, &RecordWindow::applyFilter);
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

void RecordWindow::reload()
{
    records::Store store(records::defaultPath(), kBusyTimeoutMs);
    std::vector<records::Record> all;
    const std::optional<QString> unread = store.read(QDateTime(), &all);
    movedAside += store.takeMovedAsideNotes();
    QStringList lines;
    for (const QString &aside : movedAside)
        lines << tr("配置记录曾损坏，已移至 %1，并新建了记录。").arg(QDir::toNativeSeparators(aside));
    if (unread)
        lines << tr("无法读取配置记录：%1").arg(*unread);
    note->setText(lines.join(QLatin1Char('\n')));
    note->setVisible(!lines.isEmpty());

    const QDate today = QDate::currentDate();
    const QDate first = all.empty() ? today : all.front().time.toLocalTime().date();
    const QDate last = all.empty() ? today : std::max(today, all.back().time.toLocalTime().date());
    model->setRecords(std::move(all));
    for (auto [edit, day] : {std::pair{fromDate, first}, std::pair{toDate, last}}) {
        const QSignalBlocker quiet(edit);
        edit->setDate(day);
    }
    applyFilter();
}

void RecordWindow::applyFilter()
{
    shown->setText(filter->text());
    shown->setDates(fromDate->date(), toDate->date());
    showDetails();
}

const records::Record *RecordWindow::currentRecord() const
{
    const QModelIndex current = shown->mapToSource(table->currentIndex());
    return current.isValid() ? &model->record(current.row()) : nullptr;
}

void RecordWindow::showDetails()
{
    const records::Record *record = currentRecord();
    opening->setEnabled(record != nullptr);
    if (!record) {
        details->clear();
        return;
    }
    const QString configuration = QString::fromUtf8(record->configuration.left(kMaxShownChars + 1));
    details->setPlainText(tr("时间：%1\n位置：%2\n连接：%3\n固件：%4\n系列：%5\n结果：%6\nSHA-256：%7\n\n改动：\n%8\n\n配置：\n%9")
                              .arg(shownTime(record->time), record->place, shownLink(*record), record->firmware,
                                   record->series.isEmpty() ? tr("（未记录）") : seriesWords(*record),
                                   resultText(*record), record->sha256,
                                   record->changes.isEmpty() ? tr("（无）") : bounded(record->changes),
                                   bounded(configuration)));
}

void RecordWindow::openConfiguration()
{
    const records::Record *record = currentRecord();
    if (record && openInForm(record->configuration, tr("配置记录（%1）").arg(shownTime(record->time))))
        parentWidget()->activateWindow();
}

std::vector<records::Record> RecordWindow::chosenRecords() const
{
    QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        for (int row = 0; row < shown->rowCount(); ++row)
            rows << shown->index(row, 0);
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    std::vector<records::Record> chosen;
    for (const QModelIndex &row : rows)
        chosen.push_back(model->record(shown->mapToSource(row).row()));
    return chosen;
}

bool RecordWindow::exportCsv(const QString &path)
{
    return write(path, recordsCsv(chosenRecords()));
}

bool RecordWindow::exportPdf(const QString &path)
{
    return write(path, recordsPdf(chosenRecords()));
}

void RecordWindow::chooseExport(bool pdf)
{
    const ExportKind &kind = pdf ? kPdfExport : kCsvExport;
    QFileDialog dialog(this, tr(kind.title), dialogFolder(), tr(kind.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(kind.suffix));
    dialog.selectFile(QDir(dialogFolder()).filePath(tr(kTitle) + QLatin1Char('.') + QLatin1String(kind.suffix)));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        write(dialog.selectedFiles().constFirst(), kind.bytes(chosenRecords()));
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
    opening = addWindowEntry(window, menu, this, tr("配置记录…"), QKeySequence(Qt::CTRL | Qt::Key_H),
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
