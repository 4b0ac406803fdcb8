#include "core/save_records.h"

#include <QCoreApplication>
#include <QDateTime>

#include "config/config_file.h"
#include "config/read_back.h"
#include "config/series.h"
#include "core/change_words.h"
#include "records/record_store.h"

namespace {

// Another window or command writing its record holds the store this long at
// most; the window waits for it with the save already done.
constexpr int kBusyTimeoutMs = 2000;

} // namespace

std::vector<records::Change> recordedChanges(const std::optional<std::vector<config::KeyDifference>> &keys)
{
    std::vector<records::Change> changes;
    for (const config::KeyDifference &key : keys.value_or(std::vector<config::KeyDifference>()))
        changes.push_back({key.key, key.readBack, key.sent});
    return changes;
}

std::vector<records::Change> changesOnReader(const QByteArray &sentText, const QByteArray &readerText)
{
    return recordedChanges(config::changesOnReader(sentText, readerText).keys);
}

namespace {

// A failed save whose configuration the reader refused or never received
// changed nothing there; one whose read-back differed may have changed some
// of what it sent.
bool changedNothing(const SaveReport &report, records::Record::Kind kind)
{
    if (kind != records::Record::Save || report.outcome != SaveReport::Failed || !report.code)
        return false;
    for (const char *mayHaveChanged : {"read_back_differs", "password_in_force", "password_undecided"})
        if (qstrcmp(report.code, mayHaveChanged) == 0)
            return false;
    return true;
}

} // namespace

RecordedSave recordSave(const QString &link, const QString &firmware, const SaveReport &report,
                        const std::vector<records::Change> &changes, const config::FormValue &value,
                        const QString &place, records::Record::Kind kind)
{
    static const records::Record::Result kResults[] = {records::Record::Confirmed, records::Record::Failed,
                                                       records::Record::Unknown}; // by SaveReport::Outcome
    records::Record record;
    record.time = QDateTime::currentDateTimeUtc();
    record.link = link;
    record.firmware = firmware;
    record.result = kResults[report.outcome];
    if (report.outcome != SaveReport::Saved) {
        record.cause = report.detail.simplified();
        record.causeParts = report.cause;
    }
    if (!changedNothing(report, kind))
        record.keyChanges = changes;
    // Worded too, for the viewers that read a record's text alone.
    record.changes = changeLines(record).join(QLatin1Char('\n'));
    // The file's form, without a password or credentials.
    record.configuration = config::fileContents(config::withoutSecrets(value)).bytes;
    // The configuration does not say which reader it was made for; the form does.
    QStringList series;
    for (const series::Facts &facts : series::kSeries)
        if (value.*facts.box)
            series << QLatin1String(config::fieldOf(facts.box).name);
    record.series = series.join(QLatin1Char(','));
    // Kept by name, so that a report words it without reading the configuration again.
    for (const config::FieldInfo &field : config::formFields())
        if (field.set == config::RadioSet::OutputChannel && value.*field.flag)
            record.channel = QLatin1String(field.name);
    record.place = place;
    record.kind = kind;

    records::Store store(records::defaultPath(), kBusyTimeoutMs);
    RecordedSave recorded;
    qint64 id = 0;
    const std::optional<QString> failure = store.append(record, &id);
    if (!failure)
        recorded.id = id;
    const QString movedAside = store.takeMovedAside();
    QStringList lines;
    if (!movedAside.isEmpty())
        lines << QCoreApplication::translate("SaveRecords", "配置记录已损坏，已移至 %1 并新建").arg(movedAside);
    if (failure)
        lines << QCoreApplication::translate("SaveRecords", "配置记录未能保存：%1").arg(*failure);
    if (!lines.isEmpty())
        recorded.note = lines.join(QLatin1Char('\n'));
    return recorded;
}

std::optional<QString> renameRecordPlace(qint64 id, const QString &place)
{
    return records::Store(records::defaultPath(), kBusyTimeoutMs).setPlace(id, place);
}
