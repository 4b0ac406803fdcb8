#include "records/record_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>
#include <atomic>

namespace records {

namespace {

constexpr int kSchemaVersion = 1;
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

// Creates the table on a new database; refuses one of a newer program.
QSqlError prepare(const Connection &connection)
{
    QSqlQuery version;
    if (QSqlError error = connection.run(QStringLiteral("PRAGMA user_version"), &version); error.isValid())
        return error;
    const int found = version.next() ? version.value(0).toInt() : 0;
    if (found > kSchemaVersion)
        return QSqlError(QStringLiteral("the record database is of a newer version (%1)").arg(found), QString(),
                         QSqlError::UnknownError);
    connection.run(QStringLiteral("PRAGMA journal_mode=WAL"));
    if (found == kSchemaVersion)
        return QSqlError();
    for (const char *statement :
         {"BEGIN IMMEDIATE",
          "CREATE TABLE IF NOT EXISTS records (id INTEGER PRIMARY KEY, time TEXT NOT NULL, link TEXT, "
          "firmware TEXT, result TEXT, cause TEXT, changes TEXT, configuration BLOB, sha256 TEXT, place TEXT)",
          "CREATE INDEX IF NOT EXISTS records_time ON records(time)", "PRAGMA user_version=1", "COMMIT"}) {
        if (QSqlError error = connection.run(QLatin1String(statement)); error.isValid()) {
            connection.run(QStringLiteral("ROLLBACK"));
            return error;
        }
    }
    return QSqlError();
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

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("records.sqlite"));
}

Store::Store(QString path, int busyTimeoutMs) : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {}

QString Store::takeMovedAside()
{
    return std::exchange(movedAside_, QString());
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
                    "INSERT INTO records (time, link, firmware, result, cause, changes, configuration, sha256, place) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
                for (const QVariant &value :
                     {QVariant(timeText(record.time)), QVariant(record.link), QVariant(record.firmware),
                      QVariant(QLatin1String(kResultNames[record.result])), QVariant(record.cause),
                      QVariant(record.changes), QVariant(record.configuration), QVariant(record.sha256),
                      QVariant(record.place)})
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
    QSqlQuery query(connection.db());
    query.prepare(QStringLiteral("SELECT time, link, firmware, result, cause, changes, configuration, sha256, place "
                                 "FROM records WHERE time >= ? ORDER BY time, id"));
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
        out->push_back(record);
    }
    return std::nullopt;
}

} // namespace records
