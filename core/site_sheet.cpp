#include "core/site_sheet.h"

#include <QCoreApplication>
#include <QTextCodec>

#include "config/import.h"
#include "config/read_back.h"
#include "device/reader_links.h"
#include "files/safe_file.h"
#include "records/record_store.h"
#include "text/plain_text.h"

namespace site_sheet {

namespace {

QString said(const char *source)
{
    return QCoreApplication::translate("fleet", source);
}

// A sheet's records as RFC 4180 reads them: fields split by commas, a field
// in double quotes holding commas, doubled quotes and line breaks, records
// ended by CRLF or LF. Each record knows the line it starts on; blank lines
// are no records.
class CsvReader
{
public:
    struct Record
    {
        int line = 1;
        QStringList fields;
    };

    // The records of the text; the reason, naming a line, when it is no CSV
    // or holds more than mostRecords.
    std::optional<QString> read(const QString &text, int mostRecords, std::vector<Record> *out)
    {
        for (int i = 0; i < text.size(); ++i) {
            const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
            if (const std::optional<QString> wrong = take(text.at(i), next, &i, out))
                return wrong;
            if (int(out->size()) > mostRecords)
                return said(QT_TRANSLATE_NOOP("fleet", "表中的读头超过 %1 个")).arg(mostRecords);
        }
        if (inQuotes)
            return said(QT_TRANSLATE_NOOP("fleet", "第 %1 行：引号没有结束")).arg(record.line);
        endRecord(out);
        return std::nullopt;
    }

private:
    std::optional<QString> take(QChar c, QChar next, int *at, std::vector<Record> *out)
    {
        const QChar quote = QLatin1Char('"');
        if (inQuotes) {
            const bool doubled = c == quote && next == quote;
            if (c != quote || doubled)
                field += c;
            inQuotes = c != quote || doubled;
            *at += int(doubled);
            line += int(c == QLatin1Char('\n'));
        } else if (c == quote && field.isEmpty() && !closed) {
            inQuotes = closed = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            *at += int(c == QLatin1Char('\r') && next == QLatin1Char('\n'));
            endRecord(out);
            record.line = ++line;
        } else if (closed) {
            return said(QT_TRANSLATE_NOOP("fleet", "第 %1 行：引号之后、逗号之前还有文字")).arg(line);
        } else {
            field += c;
        }
        return std::nullopt;
    }
    void endField()
    {
        record.fields << field;
        field.clear();
        closed = false;
    }
    void endRecord(std::vector<Record> *out)
    {
        endField();
        if (record.fields != QStringList(QString()))
            out->push_back(record);
        record.fields.clear();
    }

    Record record;
    QString field;
    int line = 1;
    bool inQuotes = false;
    bool closed = false; // the field's closing quote was read
};

const QString kLink = QStringLiteral("link");
const QString kPlace = QStringLiteral("place");

// The sheet's text: UTF-8, a byte-order mark allowed.
std::optional<QString> sheetText(const QString &path, QString *text)
{
    QByteArray bytes;
    if (const std::optional<QString> unread = files::readRegularFile(path, kMostBytes, &bytes))
        return said(QT_TRANSLATE_NOOP("fleet", "无法读取 %1：%2")).arg(path, *unread);
    if (bytes.size() > kMostBytes)
        return said(QT_TRANSLATE_NOOP("fleet", "%1 大于 1 MiB，不是读头表")).arg(path);
    QTextCodec::ConverterState state;
    *text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || bytes.contains('\0'))
        return said(QT_TRANSLATE_NOOP("fleet", "%1 不是 UTF-8 文本")).arg(path);
    if (text->startsWith(QChar(0xFEFF)))
        text->remove(0, 1);
    return std::nullopt;
}

// Why the header is no sheet's: link and place each once, every other
// column a key a value can be set for, each once.
std::optional<QString> headerProblem(const QStringList &header, bool *unreadable)
{
    *unreadable = true;
    if (header.count(kLink) != 1 || header.count(kPlace) != 1)
        return said(QT_TRANSLATE_NOOP("fleet", "第 1 行：表头需要 link 和 place 两列，各一次"));
    *unreadable = false;
    for (const QString &column : header) {
        if (column != kLink && column != kPlace && !config::isSettableKey(column))
            return said(QT_TRANSLATE_NOOP("fleet", "第 1 行：%1 不是可设置的配置项"))
                .arg(plainShown(column).left(40));
        if (header.count(column) > 1)
            return said(QT_TRANSLATE_NOOP("fleet", "第 1 行：%1 列出现了不止一次")).arg(column);
    }
    return std::nullopt;
}

Row rowOf(const QStringList &header, const CsvReader::Record &record)
{
    Row row;
    row.line = record.line;
    for (int i = 0; i < header.size(); ++i) {
        const QString &cell = record.fields.at(i);
        if (header.at(i) == kLink)
            row.link = cell.trimmed();
        else if (header.at(i) == kPlace)
            row.place = cell;
        else if (!cell.isEmpty())
            row.values.push_back({header.at(i), cell});
    }
    return row;
}

} // namespace

Sheet readSheet(const QString &path)
{
    Sheet sheet;
    sheet.unreadable = true;
    QString text;
    std::vector<CsvReader::Record> records;
    sheet.problem = sheetText(path, &text);
    if (!sheet.problem)
        sheet.problem = CsvReader().read(text, kMostRows + 1, &records);
    if (!sheet.problem && records.empty())
        sheet.problem = said(QT_TRANSLATE_NOOP("fleet", "%1 没有表头")).arg(path);
    if (!sheet.problem)
        sheet.problem = headerProblem(records.front().fields, &sheet.unreadable);
    if (!sheet.problem && records.size() == 1) {
        sheet.unreadable = true;
        sheet.problem = said(QT_TRANSLATE_NOOP("fleet", "%1 只有表头，没有读头")).arg(path);
    }
    for (std::size_t i = 1; !sheet.problem && i < records.size(); ++i) {
        sheet.unreadable = records[i].fields.size() != records.front().fields.size();
        if (sheet.unreadable)
            sheet.problem = said(QT_TRANSLATE_NOOP("fleet", "第 %1 行有 %2 列，表头有 %3 列"))
                                .arg(records[i].line)
                                .arg(records[i].fields.size())
                                .arg(records.front().fields.size());
        else
            sheet.rows.push_back(rowOf(records.front().fields, records[i]));
    }
    if (sheet.problem)
        sheet.rows.clear();
    return sheet;
}

QString rowRefusal(int line, const QString &link, const QString &why)
{
    // A row's link and values come from a file nobody vouches for.
    return said(QT_TRANSLATE_NOOP("fleet", "第 %1 行（%2）：%3"))
        .arg(line)
        .arg(plainShown(link).simplified().left(80), plainShown(why).simplified());
}

RowTarget rowTarget(const Row &row, const config::FormValue &form)
{
    const device::TypedReaders typed = device::parseTypedReaders(row.link);
    if (typed.problem || typed.links.size() != 1) {
        const QString why = typed.problem ? device::typedReadersProblemText(typed)
                                          : said(QT_TRANSLATE_NOOP("fleet", "表中每行只能给出一个读头"));
        return {QString(), form, rowRefusal(row.line, row.link, why), true};
    }
    const config::SetResult set = config::withValuesSet(form, row.values);
    if (set.refusal)
        return {QString(), form, rowRefusal(row.line, row.link, *set.refusal), false};
    return {typed.links.front(), set.value, std::nullopt, false};
}

std::optional<QString> writeSheet(const QString &path, const std::vector<ReadReader> &readers)
{
    QStringList header{kLink, kPlace};
    for (const QString &key : config::importedKeys()) {
        bool differs = false;
        bool secret = false;
        for (const ReadReader &reader : readers) {
            const QString value = reader.values.value(key);
            differs = differs || reader.values.contains(key) != readers.front().values.contains(key)
                      || value != readers.front().values.value(key);
            secret = secret || config::shownValue(key, value) != value;
        }
        if (differs && !secret)
            header << key;
    }
    QString text = records::csvLine(header);
    for (const ReadReader &reader : readers) {
        QStringList fields{reader.link, reader.place};
        for (int i = 2; i < header.size(); ++i)
            fields << reader.values.value(header.at(i));
        text += records::csvLine(fields);
    }
    if (const std::optional<QString> unwritten = files::replaceFile(path, text.toUtf8()))
        return said(QT_TRANSLATE_NOOP("fleet", "无法写入 %1：%2")).arg(path, *unwritten);
    return std::nullopt;
}

} // namespace site_sheet
