#include "readers/history_mode.h"

#include <QRegularExpression>

#include "core/cause_words.h"
#include "core/change_words.h"
#include "records/record_store.h"
#include "text/plain_text.h"

std::optional<QDateTime> historySince(const QString &argument)
{
    static const QRegularExpression dateOnly(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression dateAndTime(QStringLiteral(
        "^\\d{4}-\\d{2}-\\d{2}T([01]\\d|2[0-3]):[0-5]\\d(:[0-5]\\d(\\.\\d{1,3})?)?(Z|[+-]\\d{2}:\\d{2})?$"));
    if (dateOnly.match(argument).hasMatch()) {
        const QDate day = QDate::fromString(argument, Qt::ISODate);
        return day.isValid() ? std::optional<QDateTime>(day.startOfDay()) : std::nullopt;
    }
    if (!dateAndTime.match(argument).hasMatch())
        return std::nullopt;
    const QDateTime time = QDateTime::fromString(argument, Qt::ISODateWithMs);
    return time.isValid() ? std::optional<QDateTime>(time) : std::nullopt;
}

namespace {

// A record's fields as the command line has always printed them, its
// cause and changes worded in the program's language, and after them (where scripts
// that read the older columns by place do not look) whether it was a save
// or a check; nothing that could steer a terminal or reorder what is shown.
QStringList historyFields(const records::Record &record)
{
    QStringList fields;
    for (const QString &field :
         {record.time.toString(Qt::ISODate), record.link, record.firmware, resultWords(record), record.place,
          record.sha256, changeLines(record).join(QLatin1Char('\n')), records::kindWord(record.kind)})
        fields << plainShown(field);
    return fields;
}

} // namespace

std::optional<QString> printHistory(const QDateTime &since, bool csv,
                                    const std::function<bool(const QString &)> &print, bool *allPrinted)
{
    *allPrinted = !csv || print(QStringLiteral("time,link,firmware,result,place,sha256,changes,kind\r\n"));
    if (!*allPrinted)
        return std::nullopt;
    records::Selection selection;
    selection.from = since;
    return records::Store(records::defaultPath())
        .visit(selection, records::Columns::Whole, 0, -1, [&](records::Record &&record) {
            QStringList fields = historyFields(record);
            if (csv) {
                for (QString &field : fields)
                    field = records::spreadsheetText(field);
                *allPrinted = print(records::csvLine(fields));
                return *allPrinted;
            }
            for (QString &field : fields)
                field = field.simplified();
            *allPrinted = print(fields.join(QLatin1Char('\t')) + QLatin1Char('\n'));
            return *allPrinted;
        });
}
