#include "documents/record_export.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QHash>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>

#include "core/wording.h"
#include "config/config_file.h"
#include "config/series.h"

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

const char kListSeparator[] = QT_TRANSLATE_NOOP("RecordExport", "、");

// A spreadsheet program runs a cell that starts like a formula; a reader's
// firmware text or a typed place must stay text.
QString spreadsheetText(const QString &field)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && formulaStarts.contains(field.front()) ? QLatin1Char('\'') + field : field;
}

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

QString htmlRow(const QStringList &cells, const char *tag)
{
    QString row = QStringLiteral("<tr>");
    for (const QString &cell : cells)
        row += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), cell.toHtmlEscaped());
    return row + QStringLiteral("</tr>");
}

QString reportHtml(const std::vector<records::Record> &chosen)
{
    QString html = QStringLiteral("<h2>%1</h2><p>%2</p>")
                       .arg(said(QT_TRANSLATE_NOOP("RecordExport", "读卡器配置交接单")).toHtmlEscaped(),
                            said(QT_TRANSLATE_NOOP("RecordExport", "%1 导出，共 %2 条"))
                                .arg(shownTime(QDateTime::currentDateTime()))
                                .arg(chosen.size())
                                .toHtmlEscaped());
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">");
    html += htmlRow({said(QT_TRANSLATE_NOOP("RecordExport", "位置")), said(QT_TRANSLATE_NOOP("RecordExport", "连接")),
                     said(QT_TRANSLATE_NOOP("RecordExport", "固件")), said(QT_TRANSLATE_NOOP("RecordExport", "时间")),
                     said(QT_TRANSLATE_NOOP("RecordExport", "结果")), said(QT_TRANSLATE_NOOP("RecordExport", "读卡器系列")),
                     said(QT_TRANSLATE_NOOP("RecordExport", "输出方式"))},
                    "th");
    // Readers of one site mostly share a configuration: each is read once.
    QHash<QByteArray, QString> channels;
    for (const records::Record &record : chosen) {
        if (!channels.contains(record.configuration))
            channels.insert(record.configuration, channelWords(record.configuration));
        html += htmlRow({record.place, shownLink(record), record.firmware, shownTime(record.time), resultText(record),
                         seriesWords(record), channels.value(record.configuration)},
                        "td");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString resultText(const records::Record &record)
{
    const QString words = said(kResultTexts[record.result]);
    return record.result == records::Record::Failed ? words.arg(record.cause) : words;
}

QString shownTime(const QDateTime &time)
{
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString seriesWords(const records::Record &record)
{
    QStringList words;
    for (const QString &name : record.series.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto chosen = std::find_if(std::begin(series::kSeries), std::end(series::kSeries),
                                         [&](const series::Facts &facts) {
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

QByteArray recordsCsv(const std::vector<records::Record> &chosen)
{
    QString text = records::csvLine({said(QT_TRANSLATE_NOOP("RecordExport", "时间")),
                                     said(QT_TRANSLATE_NOOP("RecordExport", "位置")),
                                     said(QT_TRANSLATE_NOOP("RecordExport", "连接")),
                                     said(QT_TRANSLATE_NOOP("RecordExport", "固件")),
                                     said(QT_TRANSLATE_NOOP("RecordExport", "结果")),
                                     said(QT_TRANSLATE_NOOP("RecordExport", "改动")), QStringLiteral("SHA-256")});
    for (const records::Record &record : chosen) {
        QStringList fields;
        for (const QString &field : {shownTime(record.time), record.place, shownLink(record), record.firmware,
                                     resultText(record), record.changes, record.sha256})
            fields << spreadsheetText(field);
        text += records::csvLine(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray recordsPdf(const std::vector<records::Record> &chosen)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(said(QT_TRANSLATE_NOOP("RecordExport", "读卡器配置交接单")));
        pdf.setCreator(QStringLiteral("Tarvo配置工具"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                      QPageLayout::Millimeter));
        QTextDocument report;
        report.setHtml(reportHtml(chosen));
        report.print(&pdf);
    }
    return bytes;
}
