#include "records/record_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>
#include <vector>

namespace records {

namespace {

constexpr int kSchemaVersion = 2;
// SQLite's codes of a file that is no database, or a damaged one.
const QStringList kCorruptCodes = {QStringLiteral("11"), QStringLiteral("26")};

const char *const kResultNames[] = {"confirmed", "failed", "unknown"}; // by Record::Result

QString errorText(const QSqlError &error)
{
    return error.driverText().isEmpty() ? error.text() : error.driverText() + QStringLiteral(": ") + error.databaseText();
}

// One connection for the length of one call; Qt's registry of connections
// wants a name of its own for each.
class Connection
{
public:
    Connection(const QString &path, int busyTimeoutMs)
    {
        static std::atomic<int> serial{0};
        name = QStringLiteral("tarvo-records-%1").arg(serial++);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        opened = db.open();
        if (!opened)
            failure = db.lastError();
    }
    ~Connection()
    {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    // Runs the statement; the error, or an invalid one when it ran.
    QSqlError run(const QString &sql, QSqlQuery *result = nullptr) const
    {
        QSqlQuery query(db());
        if (!query.exec(sql))
            return query.lastError();
        if (result)
            *result = query;
        return QSqlError();
    }

    bool opened = false;
    QSqlError failure;

private:
    QString name;
};

bool isCorrupt(const QSqlError &error)
{
    return kCorruptCodes.contains(error.nativeErrorCode());
}

// The schema's version. The statement is finished at once: one left open
// holds a read lock, and two connections each holding one while waiting to
// write lock each other out at once, without the busy time-out.
QSqlError userVersion(const Connection &connection, int *version)
{
    QSqlQuery query;
    if (QSqlError error = connection.run(QStringLiteral("PRAGMA user_version"), &query); error.isValid())
        return error;
    *version = query.next() ? query.value(0).toInt() : 0;
    query.finish();
    return QSqlError();
}

// Creates the table on a new database; refuses one of a newer program.
QSqlError prepare(const Connection &connection)
{
    int found = 0;
    if (QSqlError error = userVersion(connection, &found); error.isValid())
        return error;
    if (found > kSchemaVersion)
        return QSqlError(QStringLiteral("the record database is of a newer version (%1)").arg(found), QString(),
                         QSqlError::UnknownError);
    connection.run(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (found == kSchemaVersion)
        return QSqlError();
    if (QSqlError error = connection.run(QStringLiteral("BEGIN IMMEDIATE")); error.isValid())
        return error;
    // Another connection may have done the work while this one waited.
    int now = 0;
    userVersion(connection, &now);
    const std::vector<const char *> steps =
        now == 0 ? std::vector<const char *>{"CREATE TABLE IF NOT EXISTS records (id INTEGER PRIMARY KEY, time TEXT "
                                             "NOT NULL, link TEXT, firmware TEXT, result TEXT, cause TEXT, changes "
                                             "TEXT, configuration BLOB, sha256 TEXT, place TEXT, series TEXT)",
                                             "CREATE INDEX IF NOT EXISTS records_time ON records(time)"}
        : now == 1 ? std::vector<const char *>{"ALTER TABLE records ADD COLUMN series TEXT"}
                   : std::vector<const char *>{};
    for (const char *statement : steps) {
        if (QSqlError error = connection.run(QLatin1String(statement)); error.isValid()) {
            connection.run(QStringLiteral("ROLLBACK"));
            return error;
        }
    }
    connection.run(QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion));
    return connection.run(QStringLiteral("COMMIT"));
}

// Beside the database, one name a line, until the record window has said them.
QString notesPath(const QString &path)
{
    return path + QStringLiteral(".moved-aside");
}

constexpr qint64 kMaxNotesBytes = 64 * 1024;

void noteMovedAside(const QString &path, const QString &aside)
{
    QFile notes(notesPath(path));
    if (notes.size() < kMaxNotesBytes && notes.open(QIODevice::Append))
        notes.write(aside.toUtf8() + '\n');
}

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace

QString resultWords(const Record &record)
{
    const QString name = QLatin1String(kResultNames[record.result]);
    return record.result == Record::Failed ? name + QStringLiteral(": ") + record.cause : name;
}

QString csvLine(const QStringList &fields)
{
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\r\n]"));
    QStringList quoted;
    for (QString field : fields)
        quoted << (field.contains(needsQuotes)
                       ? QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"')
                       : field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("records.sqlite"));
}

Store::Store(QString path, int busyTimeoutMs) : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {}

QString Store::takeMovedAside()
{
    return std::exchange(movedAside_, QString());
}

QStringList Store::takeMovedAsideNotes()
{
    QFile notes(notesPath(path_));
    if (!notes.open(QIODevice::ReadOnly))
        return {};
    const QString names = QString::fromUtf8(notes.read(kMaxNotesBytes));
    notes.remove();
    return names.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

std::optional<QString> Store::append(Record record, qint64 *id)
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    record.sha256 = QString::fromLatin1(QCryptographicHash::hash(record.configuration, QCryptographicHash::Sha256).toHex());
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlError error;
        {
            Connection connection(path_, busyTimeoutMs_);
            error = connection.opened ? prepare(connection) : connection.failure;
            if (!error.isValid()) {
                QSqlQuery insert(connection.db());
                insert.prepare(QStringLiteral(
                    "INSERT INTO records (time, link, firmware, result, cause, changes, configuration, sha256, place, "
                    "series) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
                for (const QVariant &value :
                     {QVariant(timeText(record.time)), QVariant(record.link), QVariant(record.firmware),
                      QVariant(QLatin1String(kResultNames[record.result])), QVariant(record.cause),
                      QVariant(record.changes), QVariant(record.configuration), QVariant(record.sha256),
                      QVariant(record.place), QVariant(record.series)})
                    insert.addBindValue(value);
                // One statement outside a transaction is a transaction of its own.
                if (insert.exec()) {
                    if (id)
                        *id = insert.lastInsertId().toLongLong();
                    return std::nullopt;
                }
                error = insert.lastError();
            }
        }
        if (attempt > 0 || !isCorrupt(error))
            return errorText(error);
        // Kept for whoever wants to rescue it; a new database takes its place.
        const QString aside = path_ + QStringLiteral(".corrupt-")
                              + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmss"));
        if (!QFile::rename(path_, aside))
            return errorText(error);
        QFile::remove(path_ + QStringLiteral("-wal"));
        QFile::remove(path_ + QStringLiteral("-shm"));
        movedAside_ = aside;
        noteMovedAside(path_, aside);
    }
    return std::nullopt;
}

std::optional<QString> Store::setPlace(qint64 id, const QString &place)
{
    Connection connection(path_, busyTimeoutMs_);
    if (!connection.opened)
        return errorText(connection.failure);
    QSqlQuery update(connection.db());
    update.prepare(QStringLiteral("UPDATE records SET place = ? WHERE id = ?"));
    update.addBindValue(place);
    update.addBindValue(id);
    if (!update.exec())
        return errorText(update.lastError());
    if (update.numRowsAffected() != 1)
        return QStringLiteral("no record %1").arg(id);
    return std::nullopt;
}

std::optional<QString> Store::read(const QDateTime &since, std::vector<Record> *out)
{
    out->clear();
    if (!QFileInfo::exists(path_))
        return std::nullopt;
    Connection connection(path_, busyTimeoutMs_);
    if (!connection.opened)
        return errorText(connection.failure);
    // A store of the first version, not yet written by this program, has no series.
    int version = 0;
    if (QSqlError error = userVersion(connection, &version); error.isValid())
        return errorText(error);
    const bool hasSeries = version >= 2;
    QSqlQuery query(connection.db());
    query.prepare(QStringLiteral("SELECT time, link, firmware, result, cause, changes, configuration, sha256, place, %1 "
                                 "FROM records WHERE time >= ? ORDER BY time, id")
                      .arg(hasSeries ? QStringLiteral("series") : QStringLiteral("NULL")));
    query.addBindValue(since.isValid() ? timeText(since) : QStringLiteral("0"));
    if (!query.exec())
        return errorText(query.lastError());
    while (query.next()) {
        Record record;
        record.time = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
        record.link = query.value(1).toString();
        record.firmware = query.value(2).toString();
        const QString result = query.value(3).toString();
        record.result = result == QLatin1String(kResultNames[0]) ? Record::Confirmed
                        : result == QLatin1String(kResultNames[1]) ? Record::Failed : Record::Unknown;
        record.cause = query.value(4).toString();
        record.changes = query.value(5).toString();
        record.configuration = query.value(6).toByteArray();
        record.sha256 = query.value(7).toString();
        record.place = query.value(8).toString();
        record.series = query.value(9).toString();
        out->push_back(record);
    }
    return std::nullopt;
}

} // namespace records
