#include "records/record_store.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <map>
#include <sys/stat.h>
#include <vector>

#include "records/sqlite_calls.h"

namespace records {

namespace {

constexpr int kSchemaVersion = 6;
// SQLite's codes of a file that is no database, or a damaged one.
const QStringList kCorruptCodes = {QStringLiteral("11"), QStringLiteral("26")};
// What a table needs to be ours, at any version.
const QStringList kFirstColumns = {"id",    "time",    "link",          "firmware", "result",
                                   "cause", "changes", "configuration", "sha256",   "place"};
// The columns later versions added, in their order.
const char *const kLaterColumns[][2] = {{"series", "TEXT"},
                                        {"key_changes", "TEXT"},
                                        {"channel", "TEXT"},
                                        {"kind", "TEXT NOT NULL DEFAULT 'save'"},
                                        {"cause_parts", "TEXT"}};
// The orders a list asks for; each starts with the order's column. The
// time's holds every column a typed filter looks at besides, so that a
// filter walks it alone and reads a row of the table only for a row it
// finds: a text that no row holds reads a seventh of the store.
const char *const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS records_shown ON records(time, id, link, firmware, place, result, kind, cause, "
    "cause_parts)",
    // The time's alone, in an older store.
    "DROP INDEX IF EXISTS records_time",
    "CREATE INDEX IF NOT EXISTS records_place ON records(place COLLATE NOCASE, time)",
    "CREATE INDEX IF NOT EXISTS records_firmware ON records(firmware COLLATE NOCASE, time)",
    "CREATE INDEX IF NOT EXISTS records_link ON records(link, id)",
};

// What the store keeps of a cause kept as data: its parts and their
// arguments come from a reader or the system, and a stored one from a file
// anyone may have edited.
constexpr int kMostCauseParts = 4;
constexpr int kMostCauseArgs = 4;
constexpr int kMostCauseArgChars = 256;

// What a connection that filters by typed text keeps of the store's pages
// in memory: the index a filter walks, 10 MiB for a site's 100 000 records
// written in time order.
constexpr int kFilterCacheKiB = 32 * 1024;

const char *const kResultNames[] = {"confirmed", "failed", "unknown"}; // by Record::Result
const char *const kKindNames[] = {"save", "check"};                    // by Record::Kind

// A fault of the database itself, not of this call, is one the store
// recovers from by starting anew.
const QString kNotOurs = QStringLiteral("not-ours");

// The store's own reasons, shown in the viewer's language.
// clang-format off
const char kNewerStore[] = QT_TRANSLATE_NOOP("records", "配置记录由更新版本的本程序写入（记录版本 %1，本程序最多读取 %2）");
// clang-format on
const char kForeignTable[] = QT_TRANSLATE_NOOP("records", "配置记录中的表不是本程序建立的");
const char kReadOnlyStore[] = QT_TRANSLATE_NOOP("records", "配置记录 %1 是只读的");
const char kNoSuchRecord[] = QT_TRANSLATE_NOOP("records", "没有第 %1 条配置记录");

QString said(const char *source)
{
    return QCoreApplication::translate("records", source);
}

QString errorText(const QSqlError &error)
{
    QStringList parts;
    for (const QString &part : {error.driverText(), error.databaseText()})
        if (!part.isEmpty() && !parts.contains(part))
            parts << part;
    return parts.isEmpty() ? error.text() : parts.join(QStringLiteral(": "));
}

QSqlError failure(const QString &text, const QString &code = QString())
{
    return QSqlError(text, QString(), QSqlError::UnknownError, code);
}

bool isDamaged(const QSqlError &error)
{
    return kCorruptCodes.contains(error.nativeErrorCode()) || error.nativeErrorCode() == kNotOurs;
}

// A store this user cannot write is opened read-only: a connection that
// may write needs the -shm file beside it, which a read-only folder denies.
bool writable(const QString &path)
{
    const QFileInfo file(path);
    return file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
}

// A cause's parts cut to the store's bounds, each argument on one line.
std::vector<CausePart> bounded(std::vector<CausePart> parts)
{
    if (parts.size() > size_t(kMostCauseParts))
        parts.erase(parts.begin() + kMostCauseParts, parts.end());
    for (CausePart &part : parts) {
        part.code = part.code.left(kMostCauseArgChars);
        part.args = part.args.mid(0, kMostCauseArgs);
        for (QString &arg : part.args)
            arg = arg.simplified().left(kMostCauseArgChars);
    }
    return parts;
}

// Each part as an array: its code, then its arguments.
QString causePartsJson(const std::vector<CausePart> &parts)
{
    if (parts.empty())
        return QString();
    QJsonArray all;
    for (const CausePart &part : bounded(parts))
        all.append(QJsonArray::fromStringList(QStringList(part.code) + part.args));
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::vector<CausePart> causePartsOf(const QString &json)
{
    std::vector<CausePart> parts;
    for (const QJsonValue &entry : QJsonDocument::fromJson(json.toUtf8()).array()) {
        QStringList fields;
        for (const QJsonValue &field : entry.toArray())
            fields << field.toString();
        if (!fields.isEmpty())
            parts.push_back({fields.takeFirst(), fields});
        if (parts.size() > size_t(kMostCauseParts))
            break;
    }
    return bounded(std::move(parts));
}

// While a selection is read on this thread, the words its viewer gives a
// cause kept as data: the filter finds a cause as the viewer reads it.
thread_local const std::function<QString(const std::vector<CausePart> &)> *viewerCauseWords = nullptr;

// shown_cause(cause, cause_parts) in SQL: the record's cause as its viewer
// shows it, on one line; the kept text where the viewer gives no words or
// the record keeps no parts.
void shownCause(sqlite3_context *context, int, sqlite3_value **values)
{
    const SqliteCalls &sqlite = *sqliteCalls();
    const auto text = [&sqlite](sqlite3_value *value) {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite.valueText(value));
        return QString::fromUtf8(utf8, sqlite.valueBytes(value));
    };
    QString shown = text(values[0]);
    if (viewerCauseWords && *viewerCauseWords && sqlite.valueType(values[1]) != SQLITE_NULL)
        shown = (*viewerCauseWords)(causePartsOf(text(values[1]))).simplified();
    const QByteArray bytes = shown.toUtf8();
    sqlite.resultText(context, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

// Every connection has the filter's function. Direct calls only: a view or
// a trigger of a database someone else made never calls it.
void addShownCause(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    const SqliteCalls *sqlite = sqliteCalls();
    if (sqlite && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        sqlite->createFunction(*static_cast<sqlite3 *const *>(handle.constData()), "shown_cause", 2,
                               SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr, shownCause, nullptr, nullptr, nullptr);
}

// Runs the statement; the error, or an invalid one when it ran. The
// statement is finished at once: one left open holds a read lock, and two
// connections each holding one while waiting to write lock each other out
// at once, without the busy time-out.
QSqlError run(const QSqlDatabase &db, const QString &sql, QVariant *firstValue = nullptr)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        return query.lastError();
    if (firstValue)
        *firstValue = query.next() ? query.value(0) : QVariant();
    query.finish();
    return QSqlError();
}

// This thread's connections, one a store and way of opening, for the
// thread's life: Qt's connections belong to the thread that made them.
class ThreadConnections
{
public:
    ~ThreadConnections() { closeAll(); }

    // The connection, or an invalid one with the reason in *error. One whose
    // file was since removed or replaced (moved aside by another program)
    // is opened anew on the file now there.
    QSqlDatabase get(const QString &path, bool readOnly, QSqlError *error)
    {
        const QString key = (readOnly ? QStringLiteral("ro:") : QStringLiteral("rw:")) + path;
        const auto found = names.find(key);
        if (found != names.end() && found->second.file == fileOf(path))
            return QSqlDatabase::database(found->second.name, false);
        if (found != names.end())
            close(path);
        watchProgramEnd();
        static std::atomic<int> serial{0};
        const QString name = QStringLiteral("tarvo-records-%1").arg(serial++);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (readOnly) {
            db.setDatabaseName(
                QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                + QStringLiteral("?mode=ro"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        } else {
            db.setDatabaseName(path);
        }
        if (!db.open()) {
            *error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return db;
        }
        // Each commit then waits for no disk: a power cut may lose the last
        // commits, never the store's consistency.
        if (!readOnly)
            QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
        addShownCause(db);
        names[key] = {name, fileOf(path)};
        return db;
    }

    // Sets how long the connection waits for a writer, unless it already
    // waits that long.
    void setBusyTimeout(const QSqlDatabase &db, int busyMs)
    {
        // A connection starts with the driver's own time-out, none of ours.
        const auto set = busyTimeouts.try_emplace(db.connectionName(), -1).first;
        if (set->second != busyMs && !run(db, QStringLiteral("PRAGMA busy_timeout=%1").arg(busyMs)).isValid())
            set->second = busyMs;
    }

    // The statement prepared once on the connection and kept for it: a
    // batch appends a record a reader, and preparing the statement cost
    // more than running it.
    // None, with the reason in *error, when it does not prepare; it is
    // tried again the next time.
    QSqlQuery *kept(const QSqlDatabase &db, const QString &sql, QSqlError *error)
    {
        const auto key = std::make_pair(db.connectionName(), sql);
        auto found = statements.find(key);
        if (found != statements.end())
            return &found->second;
        QSqlQuery query(db);
        if (!query.prepare(sql)) {
            *error = query.lastError();
            return nullptr;
        }
        return &statements.emplace(key, std::move(query)).first->second;
    }

    // Before the file is moved aside, or when opening failed.
    void close(const QString &path)
    {
        for (auto it = names.begin(); it != names.end();) {
            if (it->first.mid(3) == path) {
                forget(it->second.name);
                QSqlDatabase::database(it->second.name, false).close();
                QSqlDatabase::removeDatabase(it->second.name);
                it = names.erase(it);
            } else {
                ++it;
            }
        }
    }

    void closeAll()
    {
        for (const auto &[key, open] : names) {
            forget(open.name);
            QSqlDatabase::database(open.name, false).close();
            QSqlDatabase::removeDatabase(open.name);
        }
        names.clear();
    }

private:
    // A connection's statements go before the connection.
    void forget(const QString &name)
    {
        for (auto it = statements.begin(); it != statements.end();)
            it = it->first.first == name ? statements.erase(it) : std::next(it);
        busyTimeouts.erase(name);
    }

    // The main thread's connections close with the application, while the
    // SQL driver is still there.
    void watchProgramEnd()
    {
        static std::atomic<bool> watched{false};
        if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread()
            && !watched.exchange(true))
            qAddPostRoutine(closeMainThread);
    }
    static void closeMainThread();

    // The file a path names now, by device and inode; none when missing.
    static std::pair<dev_t, ino_t> fileOf(const QString &path)
    {
        struct stat status;
        if (::stat(QFile::encodeName(path).constData(), &status) != 0)
            return {0, 0};
        return {status.st_dev, status.st_ino};
    }

    struct Open
    {
        QString name;
        std::pair<dev_t, ino_t> file;
    };
    std::map<QString, Open> names;                               // by way of opening and path
    std::map<std::pair<QString, QString>, QSqlQuery> statements; // by connection and SQL
    std::map<QString, int> busyTimeouts;                         // by connection
};

thread_local ThreadConnections connections;

void ThreadConnections::closeMainThread()
{
    connections.closeAll();
}

// The columns of the table of records, none when there is no such table.
QSqlError columnsOf(const QSqlDatabase &db, QStringList *names)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(records)")))
        return query.lastError();
    while (query.next())
        *names << query.value(1).toString();
    return QSqlError();
}

QSqlError userVersion(const QSqlDatabase &db, int *version)
{
    QVariant value;
    const QSqlError error = run(db, QStringLiteral("PRAGMA user_version"), &value);
    *version = value.toInt();
    return error;
}

QSqlError newerStore(int version)
{
    return failure(said(kNewerStore).arg(version).arg(kSchemaVersion));
}

// The table a store of this version has: made new, or the columns and
// indexes an older one lacks added. A table without the columns of ours is
// no store of ours.
QSqlError upgrade(const QSqlDatabase &db)
{
    QStringList columns;
    if (QSqlError error = columnsOf(db, &columns); error.isValid())
        return error;
    QStringList steps;
    if (columns.isEmpty()) {
        steps << QStringLiteral(
            "CREATE TABLE records (id INTEGER PRIMARY KEY, time TEXT NOT NULL, link TEXT, firmware "
            "TEXT, result TEXT, cause TEXT, changes TEXT, configuration BLOB, sha256 TEXT, place "
            "TEXT, series TEXT, key_changes TEXT, channel TEXT, kind TEXT NOT NULL DEFAULT 'save', cause_parts TEXT)");
    } else {
        for (const QString &column : kFirstColumns)
            if (!columns.contains(column))
                return failure(said(kForeignTable), kNotOurs);
        for (const auto &[name, type] : kLaterColumns)
            if (!columns.contains(QLatin1String(name)))
                steps << QStringLiteral("ALTER TABLE records ADD COLUMN %1 %2")
                             .arg(QLatin1String(name), QLatin1String(type));
    }
    for (const char *index : kIndexes)
        steps << QLatin1String(index);
    steps << QStringLiteral("PRAGMA user_version=%1").arg(kSchemaVersion);
    for (const QString &step : steps)
        if (QSqlError error = run(db, step); error.isValid())
            return error;
    return QSqlError();
}

// Brings the store to this version in one transaction; refuses one of a
// newer program.
QSqlError prepare(const QSqlDatabase &db)
{
    int found = 0;
    if (QSqlError error = userVersion(db, &found); error.isValid())
        return error;
    if (found > kSchemaVersion)
        return newerStore(found);
    if (found == kSchemaVersion)
        return QSqlError();
    if (QSqlError error = run(db, QStringLiteral("BEGIN IMMEDIATE")); error.isValid())
        return error;
    // Another connection may have done the work while this one waited.
    QSqlError error = userVersion(db, &found);
    if (!error.isValid() && found > kSchemaVersion)
        error = newerStore(found);
    if (!error.isValid() && found < kSchemaVersion)
        error = upgrade(db);
    if (error.isValid()) {
        run(db, QStringLiteral("ROLLBACK"));
        return error;
    }
    return run(db, QStringLiteral("COMMIT"));
}

// This thread's connection to the store, waiting busyMs at most for a
// writer: read-only when this user cannot write the store.
QSqlDatabase connection(const QString &path, bool readOnly, int busyMs, QSqlError *error)
{
    QSqlDatabase db = connections.get(path, readOnly, error);
    if (db.isValid())
        connections.setBusyTimeout(db, busyMs);
    return db;
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

QString keyChangesJson(const std::vector<Change> &changes)
{
    if (changes.empty())
        return QString();
    QJsonArray all;
    for (const Change &change : changes)
        all.append(QJsonArray{change.key, change.before, change.after});
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::vector<Change> keyChangesOf(const QString &json)
{
    std::vector<Change> changes;
    for (const QJsonValue &entry : QJsonDocument::fromJson(json.toUtf8()).array()) {
        const QJsonArray parts = entry.toArray();
        changes.push_back({parts.at(0).toString(), parts.at(1).toString(), parts.at(2).toString()});
    }
    return changes;
}

QSqlError insert(const QSqlDatabase &db, const Record &record, qint64 *id)
{
    if (QSqlError error = prepare(db); error.isValid())
        return error;
    QSqlError error;
    QSqlQuery *insert = connections.kept(
        db,
        QStringLiteral(
            "INSERT INTO records (time, link, firmware, result, cause, changes, configuration, sha256, "
            "place, series, key_changes, channel, kind, cause_parts) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?)"),
        &error);
    if (!insert)
        return error;
    int position = 0;
    // The cause's text stays beside its parts for an older program reading
    // this store, in the language of this save.
    for (const QVariant &value :
         {QVariant(timeText(record.time)), QVariant(record.link.left(kMostFieldChars)),
          QVariant(record.firmware.left(kMostFieldChars)), QVariant(QLatin1String(kResultNames[record.result])),
          QVariant(record.cause), QVariant(record.changes), QVariant(record.configuration),
          QVariant(record.sha256), QVariant(record.place.left(kMostFieldChars)), QVariant(record.series),
          QVariant(keyChangesJson(record.keyChanges)), QVariant(record.channel),
          QVariant(QLatin1String(kKindNames[record.kind])), QVariant(causePartsJson(record.causeParts))})
        insert->bindValue(position++, value);
    // One statement outside a transaction is a transaction of its own,
    // committed as the record ends.
    const bool inserted = insert->exec();
    error = insert->lastError();
    if (inserted && id)
        *id = insert->lastInsertId().toLongLong();
    // Reset, so that the kept statement holds no lock until its next record.
    insert->finish();
    return inserted ? QSqlError() : error;
}

// SQL for the expression holding the text anywhere, in any case of its
// ASCII letters as LIKE finds it, its wildcards taken literally; the
// text's value into *binds after the expression's own. Text without an
// ASCII letter has no case to fold, and is found byte for byte: a filter
// asks every row, and LIKE reads each character several times slower.
QString holding(const QString &expression, QString text, QVariantList *binds)
{
    static const QRegularExpression asciiLetter(QStringLiteral("[A-Za-z]"));
    if (!asciiLetter.match(text).hasMatch()) {
        *binds << text;
        return QStringLiteral("instr(%1, ?) > 0").arg(expression);
    }
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    *binds << QLatin1Char('%') + text + QLatin1Char('%');
    return expression + QStringLiteral(" LIKE ? ESCAPE '\\'");
}

// The column, or NULL where an older store lacks it.
QString columnOrNull(const QStringList &columns, const char *name)
{
    return columns.contains(QLatin1String(name)) ? QLatin1String(name) : QStringLiteral("NULL");
}

const QString kShownLink = QStringLiteral("(CASE WHEN IFNULL(link, '') = '' THEN ? ELSE link END)");

// The row is its reader's latest in the time range: no later row of the
// same link falls in it. Found through the index on link and id, a lookup a
// row.
QString latestInRange(const Selection &selection, QVariantList *binds)
{
    QString later = QStringLiteral("SELECT 1 FROM records n WHERE n.link IS records.link AND n.id > records.id");
    if (selection.from.isValid()) {
        later += QStringLiteral(" AND n.time >= ?");
        *binds << timeText(selection.from);
    }
    if (selection.until.isValid()) {
        later += QStringLiteral(" AND n.time < ?");
        *binds << timeText(selection.until);
    }
    return QStringLiteral("NOT EXISTS (%1)").arg(later);
}

// The codes among names whose viewer's words hold the text, quoted for SQL.
QStringList codesWorded(const char *const *names, const QString *words, int count, const QString &text)
{
    QStringList codes;
    for (int i = 0; i < count; ++i)
        if (words[i].contains(text, Qt::CaseInsensitive))
            codes << QLatin1Char('\'') + QLatin1String(names[i]) + QLatin1Char('\'');
    return codes;
}

// The typed text found in any column as the viewer shows it: the time on
// the user's clock, the link's, the result's and the kind's codes and the
// cause in the viewer's words; has the table's columns (an older store
// lacks the later ones).
QString textTerm(const Selection &selection, const QStringList &has, QVariantList *binds)
{
    const QString &text = selection.text;
    QStringList found{holding(QStringLiteral("place"), text, binds),
                      holding(QStringLiteral("firmware"), text, binds)};
    *binds << selection.defaultLink;
    found << holding(kShownLink, text, binds);
    // A result's or a kind's words are the same on every row: the rows are
    // found by the codes whose words hold the text, and only a failure's
    // cause is worded row by row.
    const QString fixedResults[] = {selection.resultTexts[Record::Confirmed],
                                    selection.resultTexts[Record::Unknown]};
    const char *const fixedNames[] = {kResultNames[Record::Confirmed], kResultNames[Record::Unknown]};
    if (const QStringList results = codesWorded(fixedNames, fixedResults, 2, text); !results.isEmpty())
        found << QStringLiteral("result IN (%1)").arg(results.join(QLatin1Char(',')));
    if (const QStringList kinds = codesWorded(kKindNames, selection.kindTexts, 2, text); !kinds.isEmpty())
        found << QStringLiteral("IFNULL(%1, 'save') IN (%2)")
                     .arg(columnOrNull(has, "kind"), kinds.join(QLatin1Char(',')));
    const QStringList around = selection.resultTexts[Record::Failed].split(QStringLiteral("%1"));
    *binds << around.value(0) << around.value(1);
    found << QStringLiteral("(result = 'failed' AND %1)")
                 .arg(holding(
                     QStringLiteral("(? || shown_cause(cause, %1) || ?)").arg(columnOrNull(has, "cause_parts")),
                     text, binds));
    // The time on the user's clock costs more than every other column
    // together, and only text of a time's characters can be found in it.
    static const QRegularExpression timeCharacters(QStringLiteral("^[0-9: -]+$"));
    if (timeCharacters.match(text).hasMatch())
        found << holding(QStringLiteral("strftime('%Y-%m-%d %H:%M:%S', time, 'localtime')"), text, binds);
    return QLatin1Char('(') + found.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

// The WHERE clause of a selection, its values into *binds; has as for
// textTerm.
QString whereClause(const Selection &selection, const QStringList &has, QVariantList *binds)
{
    QStringList terms;
    if (selection.from.isValid()) {
        terms << QStringLiteral("time >= ?");
        *binds << timeText(selection.from);
    }
    if (selection.until.isValid()) {
        terms << QStringLiteral("time < ?");
        *binds << timeText(selection.until);
    }
    if (!selection.ids.empty()) {
        QStringList ids;
        for (qint64 id : selection.ids)
            ids << QString::number(id);
        terms << QStringLiteral("id IN (%1)").arg(ids.join(QLatin1Char(',')));
    }
    if (!selection.text.isEmpty())
        terms << textTerm(selection, has, binds);
    if (selection.latestPerReader)
        terms << latestInRange(selection, binds);
    return terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
}

// A reader's latest known value of the column: the latest record's own, or
// else the latest one its earlier records give.
QString latestKnown(const QString &column)
{
    return QStringLiteral(
               "CASE WHEN r.%1 <> '' THEN r.%1 ELSE (SELECT k.%1 FROM records k WHERE k.link IS r.link "
               "AND k.%1 <> '' ORDER BY k.id DESC LIMIT 1) END AS %1")
        .arg(column);
}

// The rows a selection reads from: the table, or for the site's state the
// table with each reader's latest place and firmware.
QString sourceClause(const Selection &selection, const QStringList &has)
{
    if (!selection.latestPerReader)
        return QStringLiteral(" FROM records");
    QStringList columns;
    for (const QString &column : has) {
        const bool ours = kFirstColumns.contains(column)
                          || std::any_of(std::begin(kLaterColumns), std::end(kLaterColumns),
                                         [&column](const char *const(&later)[2]) { return column == later[0]; });
        if (ours)
            columns << (column == QLatin1String("place") || column == QLatin1String("firmware")
                            ? latestKnown(column)
                            : QStringLiteral("r.") + column);
    }
    return QStringLiteral(" FROM (SELECT %1 FROM records r) AS records").arg(columns.join(QStringLiteral(", ")));
}

QString orderClause(const Selection &selection, const QStringList &has, QVariantList *binds)
{
    const QString way = selection.descending ? QStringLiteral(" DESC") : QString();
    QString first;
    switch (selection.order) {
    case Selection::ByTime:
        return QStringLiteral(" ORDER BY time%1, id%1").arg(way);
    case Selection::ByPlace:
        first = QStringLiteral("place COLLATE NOCASE");
        break;
    case Selection::ByLink:
        first = kShownLink + QStringLiteral(" COLLATE NOCASE");
        *binds << selection.defaultLink;
        break;
    case Selection::ByFirmware:
        first = QStringLiteral("firmware COLLATE NOCASE");
        break;
    case Selection::ByKind:
        first = columnOrNull(has, "kind") + QStringLiteral(" = 'check'");
        break;
    case Selection::ByResult:
        first = QStringLiteral("CASE result WHEN 'confirmed' THEN %1 WHEN 'failed' THEN %2 ELSE %3 END")
                    .arg(selection.resultRanks[0])
                    .arg(selection.resultRanks[1])
                    .arg(selection.resultRanks[2]);
        break;
    }
    return QStringLiteral(" ORDER BY %1%2, time%2, id%2").arg(first, way);
}

Record::Result resultOf(const QString &name)
{
    return name == QLatin1String(kResultNames[0])   ? Record::Confirmed
           : name == QLatin1String(kResultNames[1]) ? Record::Failed
                                                    : Record::Unknown;
}

} // namespace

QString resultName(Record::Result result)
{
    return QLatin1String(kResultNames[result]);
}

QString kindWord(Record::Kind kind)
{
    return QLatin1String(kKindNames[kind]);
}

QString csvLine(const QStringList &fields)
{
    static const QRegularExpression needsQuotes(QStringLiteral("[,\"\r\n]"));
    QStringList quoted;
    for (QString field : fields)
        quoted << (field.contains(needsQuotes)
                       ? QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\""))
                             + QLatin1Char('"')
                       : field);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QString spreadsheetText(const QString &field)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && formulaStarts.contains(field.front()) ? QLatin1Char('\'') + field : field;
}

QString defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("records.sqlite"));
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

// Kept for whoever wants to rescue it; a new database takes its place.
std::optional<QString> Store::moveAside(const QString &why)
{
    connections.close(path_);
    const QString aside = path_ + QStringLiteral(".corrupt-")
                          + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmss"));
    if (!QFile::rename(path_, aside))
        return why;
    QFile::remove(path_ + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    movedAside_ = aside;
    noteMovedAside(path_, aside);
    return std::nullopt;
}

std::optional<QString> Store::append(Record record, qint64 *id)
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_) && !writable(path_)) {
        connections.close(path_);
        return said(kReadOnlyStore).arg(QDir::toNativeSeparators(path_));
    }
    record.sha256 =
        QString::fromLatin1(QCryptographicHash::hash(record.configuration, QCryptographicHash::Sha256).toHex());
    for (int attempt = 0; attempt < 2; ++attempt) {
        QSqlError error;
        {
            const QSqlDatabase db = connection(path_, false, busyTimeoutMs_, &error);
            if (db.isValid())
                error = insert(db, record, id);
        }
        if (!error.isValid())
            return std::nullopt;
        if (attempt > 0 || !isDamaged(error))
            return errorText(error);
        if (const std::optional<QString> unmoved = moveAside(errorText(error)))
            return unmoved;
    }
    return std::nullopt;
}

std::optional<QString> Store::setPlace(qint64 id, const QString &place)
{
    QSqlError error;
    const QSqlDatabase db = connection(path_, false, busyTimeoutMs_, &error);
    if (!db.isValid())
        return errorText(error);
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE records SET place = ? WHERE id = ?"));
    update.addBindValue(place.left(kMostFieldChars));
    update.addBindValue(id);
    if (!update.exec())
        return errorText(update.lastError());
    if (update.numRowsAffected() != 1)
        return said(kNoSuchRecord).arg(id);
    return std::nullopt;
}

namespace {

// This thread's connection for reading the store, and the columns its table
// has (an older store lacks the later ones); the reason when it cannot be
// read. No columns when there is nothing to read: no store yet, or one
// without a table. A newer program's store is read as far as its columns
// are ours. A typed filter walks the index of the shown columns whole, at
// every pause in typing: the connection that filters keeps its pages, up to
// kFilterCacheKiB, rather than read them from the file again each time.
std::optional<QString> forReading(const QString &path, int busyMs, const Selection &selection, QSqlDatabase *db,
                                  QStringList *columns)
{
    columns->clear();
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QSqlError error;
    *db = connection(path, !writable(path), busyMs, &error);
    if (!error.isValid() && !selection.text.isEmpty())
        run(*db, QStringLiteral("PRAGMA cache_size=-%1").arg(kFilterCacheKiB));
    if (!error.isValid())
        error = columnsOf(*db, columns);
    if (error.isValid())
        return errorText(error);
    for (const QString &column : kFirstColumns)
        if (!columns->isEmpty() && !columns->contains(column))
            return said(kForeignTable);
    return std::nullopt;
}

// Lends the selection's words for causes to the filter's function while
// the selection is read.
class CauseWordsLent
{
public:
    explicit CauseWordsLent(const Selection &selection) : before(viewerCauseWords)
    {
        viewerCauseWords = &selection.causeWords;
    }
    ~CauseWordsLent() { viewerCauseWords = before; }
    CauseWordsLent(const CauseWordsLent &) = delete;
    CauseWordsLent &operator=(const CauseWordsLent &) = delete;

private:
    const std::function<QString(const std::vector<CausePart> &)> *before;
};

Record recordOf(const QSqlQuery &query, Columns columns)
{
    Record record;
    record.id = query.value(0).toLongLong();
    record.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
    record.link = query.value(2).toString();
    record.firmware = query.value(3).toString();
    record.result = resultOf(query.value(4).toString());
    record.cause = query.value(5).toString();
    record.place = query.value(6).toString();
    record.series = query.value(7).toString();
    record.sha256 = query.value(8).toString();
    record.channel = query.value(9).toString();
    record.kind =
        query.value(10).toString() == QLatin1String(kKindNames[Record::Check]) ? Record::Check : Record::Save;
    record.causeParts = causePartsOf(query.value(11).toString());
    if (columns == Columns::Whole) {
        record.changes = query.value(12).toString();
        record.configuration = query.value(13).toByteArray();
        record.keyChanges = keyChangesOf(query.value(14).toString());
    }
    return record;
}

} // namespace

std::optional<QString> Store::visit(const Selection &selection, Columns columns, qint64 offset, qint64 limit,
                                    const std::function<bool(Record &&)> &take)
{
    QSqlDatabase db;
    QStringList has;
    if (const std::optional<QString> unread = forReading(path_, busyTimeoutMs_, selection, &db, &has);
        unread || has.isEmpty())
        return unread;
    QVariantList binds;
    const QString causeParts = columnOrNull(has, "cause_parts");
    QString sql = QStringLiteral("SELECT id, time, link, firmware, result, cause, place, %1, sha256, %2, %3, %4")
                      .arg(columnOrNull(has, "series"), columnOrNull(has, "channel"), columnOrNull(has, "kind"),
                           causeParts);
    if (columns == Columns::Whole)
        sql += QStringLiteral(", changes, configuration, %1").arg(columnOrNull(has, "key_changes"));
    // The clauses in the order of their values.
    const QString source = sourceClause(selection, has);
    const QString where = whereClause(selection, has, &binds);
    const QString order = orderClause(selection, has, &binds);
    sql += source + where + order + QStringLiteral(" LIMIT %1 OFFSET %2").arg(limit).arg(offset);
    const CauseWordsLent lent(selection);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec())
        return errorText(query.lastError());
    while (query.next())
        if (!take(recordOf(query, columns)))
            break;
    const QSqlError error = query.lastError();
    query.finish();
    return error.isValid() ? std::optional<QString>(errorText(error)) : std::nullopt;
}

std::optional<QString> Store::count(const Selection &selection, qint64 *rows)
{
    *rows = 0;
    QSqlDatabase db;
    QStringList has;
    if (const std::optional<QString> unread = forReading(path_, busyTimeoutMs_, selection, &db, &has);
        unread || has.isEmpty())
        return unread;
    QVariantList binds;
    const CauseWordsLent lent(selection);
    QSqlQuery query(db);
    const QString source = sourceClause(selection, has);
    query.prepare(QStringLiteral("SELECT COUNT(*)") + source + whereClause(selection, has, &binds));
    for (const QVariant &value : binds)
        query.addBindValue(value);
    if (!query.exec() || !query.next())
        return errorText(query.lastError());
    *rows = query.value(0).toLongLong();
    query.finish();
    return std::nullopt;
}

std::optional<QString> Store::fetch(qint64 id, Record *out)
{
    Selection selection;
    selection.ids = {id};
    bool found = false;
    const std::optional<QString> unread = visit(selection, Columns::Whole, 0, 1, [&](Record &&record) {
        *out = std::move(record);
        found = true;
        return false;
    });
    if (unread)
        return unread;
    return found ? std::nullopt : std::optional<QString>(said(kNoSuchRecord).arg(id));
}

std::optional<QString> Store::read(const QDateTime &since, std::vector<Record> *out)
{
    out->clear();
    Selection selection;
    selection.from = since;
    return visit(selection, Columns::Whole, 0, -1, [out](Record &&record) {
        out->push_back(std::move(record));
        return true;
    });
}

} // namespace records
