#include "documents/record_export.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTimeZone>

#include <algorithm>
#include <cctype>

#include "config/config_file.h"
#include "config/series.h"
#include "core/cause_words.h"
#include "core/change_words.h"
#include "program/wording.h"
#include "text/plain_text.h"

namespace {

QString said(const char *source)
{
    return QCoreApplication::translate("RecordExport", source);
}

const char *const kResultTexts[] = {
    QT_TRANSLATE_NOOP("RecordExport", "已确认"),
    QT_TRANSLATE_NOOP("RecordExport", "失败：%1"),
    QT_TRANSLATE_NOOP("RecordExport", "未知"),
}; // by records::Record::Result

const char *const kKindTexts[] = {
    QT_TRANSLATE_NOOP("RecordExport", "保存"),
    QT_TRANSLATE_NOOP("RecordExport", "检查"),
}; // by records::Record::Kind

const char kListSeparator[] = QT_TRANSLATE_NOOP("RecordExport", "、");
const char kReportTitle[] = QT_TRANSLATE_NOOP("RecordExport", "读卡器配置交接单");

// The report's columns and their share of the page's width.
const char *const kColumns[] = {
    QT_TRANSLATE_NOOP("RecordExport", "时间"),     QT_TRANSLATE_NOOP("RecordExport", "位置"),
    QT_TRANSLATE_NOOP("RecordExport", "连接"),     QT_TRANSLATE_NOOP("RecordExport", "固件"),
    QT_TRANSLATE_NOOP("RecordExport", "结果"),     QT_TRANSLATE_NOOP("RecordExport", "读卡器系列"),
    QT_TRANSLATE_NOOP("RecordExport", "输出方式"), QT_TRANSLATE_NOOP("RecordExport", "记录"),
};
const int kColumnShares[] = {13, 16, 16, 10, 18, 9, 11, 7}; // of 100

// The output channel the configuration chose, in the form's words; a dash
// when the form cannot show the configuration.
QString channelWords(const QByteArray &configuration)
{
    const config::ImportResult opened = config::openConfigBytes(config::startValue(), configuration, QString());
    if (opened.refusal)
        return said(QT_TRANSLATE_NOOP("RecordExport", "（无法读取）"));
    QStringList channel;
    for (const config::FieldInfo &field : config::formFields())
        if (field.set == config::RadioSet::OutputChannel && opened.imported.value.*field.flag)
            channel << formWords(field.words);
    return channel.join(said(kListSeparator));
}

// The channel a record names, in the form's words.
QString namedChannel(const QString &name)
{
    for (const config::FieldInfo &field : config::formFields())
        if (field.set == config::RadioSet::OutputChannel && name == QLatin1String(field.name))
            return formWords(field.words);
    return name;
}

// A record names its channel; an older one's is read from its
// configuration, and readers of one site mostly share a configuration:
// each is read once.
class Channels
{
public:
    QString of(const records::Record &record)
    {
        if (!record.channel.isEmpty())
            return namedChannel(record.channel);
        auto found = known.constFind(record.sha256);
        if (found == known.constEnd())
            found = known.insert(record.sha256, channelWords(record.configuration));
        return *found;
    }

private:
    QHash<QString, QString> known;
};

// A record's cells in the report's columns, as plain text.
QStringList reportRow(const records::Record &record, Channels *channels)
{
    QStringList cells;
    for (const QString &cell : {shownTime(record.time), record.place, shownLink(record), record.firmware,
                                resultText(record), seriesWords(record), channels->of(record), kindText(record)})
        cells << plainShown(cell);
    return cells;
}

// Reads the chosen records in their order to take, counting them, until
// the run is stopped.
std::optional<QString> eachChosen(records::Store &store, const records::Selection &chosen, ExportRun *run,
                                  const std::function<void(const records::Record &)> &take)
{
    return store.visit(chosen, records::Columns::Whole, 0, -1, [&](records::Record &&record) {
        take(record);
        ++run->done;
        return !run->stop;
    });
}

// Qt's PDF writer names each page once as an object of type /Page.
int pdfPages(const QByteArray &pdf)
{
    static const QByteArray page("/Type /Page");
    int pages = 0;
    for (int at = pdf.indexOf(page); at >= 0; at = pdf.indexOf(page, at + page.size()))
        pages += !std::isalpha(static_cast<unsigned char>(pdf.at(std::min(at + page.size(), pdf.size() - 1))));
    return pages;
}

} // namespace

QString resultText(const records::Record &record)
{
    const QString words = said(kResultTexts[record.result]);
    return record.result == records::Record::Failed ? words.arg(recordCause(record)) : words;
}

QString kindText(const records::Record &record)
{
    return said(kKindTexts[record.kind]);
}

namespace {

// The user's zone, read once: every conversion through the local time reads
// /etc/localtime's status again. Offsets are kept by the hour, on each
// thread.
int offsetAt(const QDateTime &utc)
{
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    thread_local QHash<qint64, int> byHour;
    const qint64 hour = utc.toSecsSinceEpoch() / 3600;
    auto found = byHour.constFind(hour);
    if (found == byHour.constEnd())
        found = byHour.insert(hour, zone.offsetFromUtc(utc));
    return *found;
}

} // namespace

QString shownTime(const QDateTime &time)
{
    const QDateTime utc = time.timeSpec() == Qt::UTC ? time : time.toUTC();
    return utc.addSecs(offsetAt(utc)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime dayStart(const QDate &day)
{
    static const QTimeZone zone = QTimeZone::systemTimeZone();
    return QDateTime(day, QTime(0, 0), zone).toUTC();
}

QString seriesWords(const records::Record &record)
{
    QStringList words;
    for (const QString &name : record.series.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto chosen =
            std::find_if(std::begin(series::kSeries), std::end(series::kSeries), [&](const series::Facts &facts) {
                return name == QLatin1String(config::fieldOf(facts.box).name);
            });
        words << (chosen != std::end(series::kSeries) ? formWords(config::fieldOf(chosen->box).words) : name);
    }
    return words.join(said(kListSeparator));
}

QString shownLink(const records::Record &record)
{
    return record.link.isEmpty() ? said(QT_TRANSLATE_NOOP("RecordExport", "（默认连接）")) : record.link;
}

records::Selection viewerSelection()
{
    records::Selection selection;
    records::Record none;
    selection.defaultLink = shownLink(none);
    selection.causeWords = causeWords;
    QStringList byWords;
    for (int result = 0; result < 3; ++result) {
        selection.resultTexts[result] = said(kResultTexts[result]);
        byWords << said(kResultTexts[result]);
    }
    std::sort(byWords.begin(), byWords.end());
    for (int result = 0; result < 3; ++result)
        selection.resultRanks[result] = int(byWords.indexOf(said(kResultTexts[result])));
    for (int kind = 0; kind < 2; ++kind)
        selection.kindTexts[kind] = said(kKindTexts[kind]);
    return selection;
}

QStringList reportColumns()
{
    QStringList titles;
    for (const char *title : kColumns)
        titles << said(title);
    return titles;
}

Exported recordsCsv(records::Store &store, const records::Selection &chosen, ExportRun *run)
{
    QString text = records::csvLine(reportColumns() << said(QT_TRANSLATE_NOOP("RecordExport", "改动"))
                                                    << QStringLiteral("SHA-256"));
    Channels channels;
    const std::optional<QString> unread = eachChosen(store, chosen, run, [&](const records::Record &record) {
        QStringList fields = reportRow(record, &channels);
        fields << plainShown(changeLines(record).join('\n')) << record.sha256;
        for (QString &field : fields)
            field = records::spreadsheetText(field);
        text += records::csvLine(fields);
    });
    if (unread || run->stop)
        return {QByteArray(), unread.value_or(QString())};
    return {QByteArray("\xEF\xBB\xBF") + text.toUtf8(), std::nullopt};
}

namespace {

// The report drawn one page at a time, each page with the columns' titles:
// its cost and its file grow with its rows alone.
class ReportPages
{
public:
    explicit ReportPages(QPdfWriter *pdf) : pdf(pdf) {}

    bool begin(qint64 rows)
    {
        if (!painter.begin(pdf))
            return false;
        const QSizeF size = pdf->pageLayout().paintRectPixels(pdf->resolution()).size();
        width = size.width();
        bottom = size.height() - 2 * lineHeight();
        QFont font = painter.font();
        font.setPointSizeF(14);
        painter.setFont(font);
        painter.drawText(QPointF(0, painter.fontMetrics().ascent()), said(kReportTitle));
        y = painter.fontMetrics().height() * 1.3;
        font.setPointSizeF(8);
        painter.setFont(font);
        painter.drawText(QPointF(0, y + painter.fontMetrics().ascent()),
                         QCoreApplication::translate("RecordExport", "%1 导出，共 %n 条", nullptr, int(rows))
                             .arg(shownTime(QDateTime::currentDateTimeUtc())));
        y += lineHeight();
        startPage();
        return true;
    }

    void add(const QStringList &cells)
    {
        if (y + lineHeight() > bottom) {
            pdf->newPage();
            ++pages;
            y = 0;
            startPage();
        }
        drawRow(cells);
    }

    bool end() { return painter.end(); }

    int pages = 1;

private:
    double lineHeight() const { return painter.fontMetrics().height() * 1.5; }

    void startPage()
    {
        painter.drawText(QPointF(0, bottom + lineHeight() + painter.fontMetrics().ascent()),
                         QCoreApplication::translate("RecordExport", "第 %1 页").arg(pages));
        QFont bold = painter.font();
        bold.setBold(true);
        painter.setFont(bold);
        drawRow(reportColumns());
        bold.setBold(false);
        painter.setFont(bold);
    }

    void drawRow(const QStringList &cells)
    {
        const double pad = lineHeight() / 5;
        double x = 0;
        for (int column = 0; column < cells.size(); ++column) {
            const QRectF cell(x, y, width * kColumnShares[column] / 100, lineHeight());
            painter.drawRect(cell);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             painter.fontMetrics().elidedText(cells[column].simplified(), Qt::ElideRight,
                                                              int(cell.width() - 2 * pad)));
            x += cell.width();
        }
        y += lineHeight();
    }

    QPdfWriter *pdf;
    QPainter painter;
    double width = 0;
    double bottom = 0;
    double y = 0;
};

} // namespace

Exported recordsPdf(records::Store &store, const records::Selection &chosen, ExportRun *run)
{
    // The rows as they are now: a save made meanwhile is not counted, nor drawn.
    records::Selection fixed = chosen;
    if (!fixed.until.isValid())
        fixed.until = QDateTime::currentDateTimeUtc().addMSecs(1);
    qint64 rows = 0;
    if (const std::optional<QString> uncounted = store.count(fixed, &rows))
        return {QByteArray(), uncounted};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    std::optional<QString> unread;
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(said(kReportTitle));
        pdf.setCreator(QStringLiteral("Tarvo配置工具"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
        ReportPages report(&pdf);
        if (!report.begin(rows))
            return {QByteArray(), said(QT_TRANSLATE_NOOP("RecordExport", "无法开始 PDF 的第一页"))};
        Channels channels;
        unread = eachChosen(store, fixed, run,
                            [&](const records::Record &record) { report.add(reportRow(record, &channels)); });
        if (!report.end())
            return {QByteArray(), said(QT_TRANSLATE_NOOP("RecordExport", "无法写完 PDF"))};
        pages = report.pages;
    }
    if (unread || run->stop)
        return {QByteArray(), unread.value_or(QString())};
    if (run->done != rows)
        return {QByteArray(),
                QCoreApplication::translate("RecordExport", "只读到 %n 条记录中的 %1 条", nullptr, int(rows))
                    .arg(run->done)};
    if (const int written = pdfPages(bytes); written != pages)
        return {
            QByteArray(),
            said(QT_TRANSLATE_NOOP("RecordExport", "写成的交接单有 %1 页，应有 %2 页")).arg(written).arg(pages)};
    return {bytes, std::nullopt};
}
