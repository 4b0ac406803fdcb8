// The record store against the ways its database may be unfit: each fault
// is told and never loses what a healthy database held.
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>
#include <unistd.h>

#include "records/record_store.h"

namespace {

records::Record record(const QString &link)
{
    records::Record r;
    r.time = QDateTime::currentDateTimeUtc();
    r.link = link;
    r.firmware = QStringLiteral("TRVO 2.3.4");
    r.result = records::Record::Failed;
    r.cause = QStringLiteral("没有应答");
    r.changes = QStringLiteral("扫码前缀：TV- → 文件-1");
    r.configuration = "___TRVO_CONFIG_V1.1.0___{prefix='文件-1'}\n";
    r.place = QStringLiteral("3号楼 东门");
    return r;
}

// Runs statements on the database at path through a connection of the test's own.
bool made(const QString &path, const QStringList &statements)
{
    bool ran = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "maker");
        db.setDatabaseName(path);
        ran = db.open();
        for (const QString &statement : statements)
            ran = ran && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase("maker");
    return ran;
}

QStringList links(records::Store &store)
{
    std::vector<records::Record> all;
    if (store.read(QDateTime(), &all))
        return {QStringLiteral("(unreadable)")};
    QStringList names;
    for (const records::Record &r : all)
        names << r.link;
    return names;
}


// A site's records, oldest first, each named by its series: reader A saved
// at a place whose name holds LIKE's wildcards and then checked without a
// place, B failed on the default link, C's result is unknown.
struct Kept
{
    const char *name;
    const char *link;
    const char *place;
    const char *firmware;
    records::Record::Result result;
    records::Record::Kind kind;
    const char *cause;
};
const Kept kKept[] = {
    {"a1", "tcp:10.0.0.1:9000", "库房 50%_off\\", "TRVO 2.3", records::Record::Confirmed, records::Record::Save,
     ""},
    {"b1", "", "东门", "v1.0", records::Record::Failed, records::Record::Save, "没有应答"},
    {"c1", "COM3", "前台", "TRVO 3.0", records::Record::Unknown, records::Record::Save, ""},
    {"a2", "tcp:10.0.0.1:9000", "", "", records::Record::Confirmed, records::Record::Check, ""},
};

// The store of kKept, as this version writes it or as the version before
// left it (the time's index without the shown columns), then upgraded by a
// save out of the range the filter asks for, when asked.
void fillKept(const QString &path, bool older, bool upgraded)
{
    records::Store store(path);
    int day = 1;
    for (const Kept &kept : kKept) {
        records::Record r = record(QString::fromUtf8(kept.link));
        r.time = QDateTime(QDate(2026, 3, day++), QTime(10, 0));
        r.series = QString::fromUtf8(kept.name);
        r.place = QString::fromUtf8(kept.place);
        r.firmware = QString::fromUtf8(kept.firmware);
        r.result = kept.result;
        r.kind = kept.kind;
        r.cause = QString::fromUtf8(kept.cause);
        QVERIFY(!store.append(r));
    }
    if (older)
        QVERIFY(made(path, {"DROP INDEX records_shown", "CREATE INDEX records_time ON records(time)",
                            "PRAGMA user_version=5"}));
    records::Record outOfRange = record("z");
    outOfRange.time = QDateTime(QDate(2020, 1, 1), QTime(10, 0));
    if (upgraded)
        QVERIFY(!store.append(outOfRange));
}

// The names of the records the text finds, oldest first, as the viewer
// words them; the site's state or every record.
QStringList foundBy(const QString &path, const QString &typed, bool latestPerReader)
{
    records::Selection selection;
    selection.text = typed;
    selection.from = QDateTime(QDate(2026, 3, 1), QTime(0, 0));
    selection.defaultLink = QStringLiteral("默认连接");
    selection.resultTexts[records::Record::Confirmed] = QStringLiteral("已确认");
    selection.resultTexts[records::Record::Failed] = QStringLiteral("失败：%1");
    selection.resultTexts[records::Record::Unknown] = QStringLiteral("未知");
    selection.kindTexts[records::Record::Save] = QStringLiteral("保存");
    selection.kindTexts[records::Record::Check] = QStringLiteral("检查");
    selection.latestPerReader = latestPerReader;
    records::Store store(path);
    QStringList names;
    if (store.visit(selection, records::Columns::Listed, 0, -1, [&names](records::Record &&r) {
            names << r.series;
            return true;
        }))
        return {QStringLiteral("(unreadable)")};
    qint64 rows = -1;
    if (store.count(selection, &rows) || rows != names.size())
        names << QStringLiteral("(counted %1)").arg(rows);
    return names;
}

} // namespace

class RecordStoreTest : public QObject
{
    Q_OBJECT

private slots:
    // A record comes back as it went in, with the hash of its configuration.
    void recordRoundTrips()
    {
        QTemporaryDir dir;
        records::Store store(dir.filePath("sub/records.sqlite"));
        QVERIFY(!store.append(record("tcp:127.0.0.1:1")));
        std::vector<records::Record> all;
        QVERIFY(!store.read(QDateTime(), &all));
        QCOMPARE(all.size(), size_t(1));
        const records::Record back = all.front();
        QCOMPARE(back.place, QStringLiteral("3号楼 东门"));
        QCOMPARE(back.configuration, record("").configuration);
        QCOMPARE(back.sha256,
                 QString(QCryptographicHash::hash(back.configuration, QCryptographicHash::Sha256).toHex()));
        QCOMPARE(back.cause, QStringLiteral("没有应答"));
        QVERIFY(!store.read(QDateTime::currentDateTimeUtc().addSecs(60), &all));
        QVERIFY(all.empty());

        // What a reader or a user gives is kept to a bound; changes as data.
        records::Record large = record(QString(100, 'l'));
        large.place = QString(100, QChar(0x95E8));
        large.keyChanges = {{"prefix", "TV-", "门禁"}, {"beep", "1", ""}};
        large.causeParts = std::vector<records::CausePart>(9, {"timeout", {"a\nb" + QString(300, 'r')}});
        QVERIFY(!store.append(large));
        QVERIFY(!store.read(QDateTime(), &all));
        QCOMPARE(all.back().link, QString(records::kMostFieldChars, 'l'));
        QCOMPARE(all.back().place.size(), records::kMostFieldChars);
        QCOMPARE(all.back().keyChanges.size(), size_t(2));
        QCOMPARE(all.back().keyChanges[1].before, QStringLiteral("1"));
        QCOMPARE(all.back().keyChanges[0].after, QStringLiteral("门禁"));
        QCOMPARE(all.back().causeParts.size(), size_t(4));
        QCOMPARE(all.back().causeParts[3].args.value(0), "a b" + QString(253, 'r'));
    }

    // The filter finds a cause as its viewer words it: a record's parts in
    // the viewer's words, an older record's text as it was kept.
    void filterFindsTheShownCause_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("viewerWords");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("a code in the viewer's words") << "WORDS read_back_differs" << true << QStringList{"new"};
        QTest::newRow("its arguments") << "TV- X-" << true << QStringList{"new"};
        QTest::newRow("not the save's own text") << "保存时" << true << QStringList();
        QTest::newRow("an older record's text") << "没有应答" << true << QStringList{"old"};
        QTest::newRow("no viewer's words: the kept text") << "保存时" << false << QStringList{"new"};
    }

    void filterFindsTheShownCause()
    {
        QFETCH(QString, typed);
        QFETCH(bool, viewerWords);
        QFETCH(QStringList, found);
        QTemporaryDir dir;
        records::Store store(dir.filePath("records.sqlite"));
        QVERIFY(!store.append(record("old")));
        records::Record fresh = record("new");
        fresh.cause = QStringLiteral("保存时的原因");
        fresh.causeParts = {{"read_back_differs", {"prefix", "TV-", "X-"}}};
        QVERIFY(!store.append(fresh));
        records::Selection selection;
        selection.text = typed;
        selection.resultTexts[records::Record::Failed] = QStringLiteral("failed: %1");
        if (viewerWords)
            selection.causeWords = [](const std::vector<records::CausePart> &parts) {
                return "WORDS " + parts.at(0).code + '\n' + parts.at(0).args.join(' ');
            };
        QStringList shown;
        QVERIFY(!store.visit(selection, records::Columns::Listed, 0, -1, [&shown](records::Record &&r) {
            shown << r.link;
            return true;
        }));
        QCOMPARE(shown, found);
        qint64 rows = -1;
        QVERIFY(!store.count(selection, &rows));
        QCOMPARE(rows, qint64(found.size()));
    }

    // A typed text finds the same rows in a store of this version, in one
    // the version before left, and in that one upgraded: in both views, its
    // wildcards characters like any other, ASCII letters in any case.
    void filterFindsTheSameRowsInEveryStore_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("everyRecord");
        QTest::addColumn<QStringList>("siteState"); // a2 is A's latest, with a1's place and firmware
        const QStringList a1{"a1"}, a2{"a2"}, b1{"b1"}, none;
        QTest::newRow("a place") << "50" << a1 << a2;
        QTest::newRow("a percent sign") << "%" << a1 << a2;
        QTest::newRow("an underscore") << "_" << a1 << a2;
        QTest::newRow("a backslash") << "\\" << a1 << a2;
        QTest::newRow("wildcards that would match") << "0_%" << none << none;
        QTest::newRow("letters in another case, with wildcards") << "%_OFF\\" << a1 << a2;
        QTest::newRow("letters around a wildcard that would match") << "O_F" << none << none;
        QTest::newRow("a firmware in another case")
            << "trvo" << QStringList{"a1", "c1"} << QStringList{"c1", "a2"};
        QTest::newRow("the default link's words") << "默认" << b1 << b1;
        QTest::newRow("a link's letters") << "com" << QStringList{"c1"} << QStringList{"c1"};
        QTest::newRow("a failure's cause") << "应答" << b1 << b1;
        QTest::newRow("a failure's words and cause") << "失败：没" << b1 << b1;
        QTest::newRow("a result") << "已确认" << QStringList{"a1", "a2"} << a2;
        QTest::newRow("a kind") << "检查" << a2 << a2;
        QTest::newRow("a time on the user's clock") << "03-02 10" << b1 << b1;
        QTest::newRow("nothing holds it") << "北门" << none << none;
    }

    void filterFindsTheSameRowsInEveryStore()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, everyRecord);
        QFETCH(QStringList, siteState);
        for (const auto &[older, upgraded] :
             {std::pair(false, false), std::pair(true, false), std::pair(true, true)}) {
            QTemporaryDir dir;
            const QString path = dir.filePath("records.sqlite");
            fillKept(path, older, upgraded);
            QCOMPARE(foundBy(path, typed, false), everyRecord);
            QCOMPARE(foundBy(path, typed, true), siteState);
        }
    }

    // Stores this program did not leave as it would: each takes the next
    // records, or says plainly why not.
    void schemaFaults_data()
    {
        QTest::addColumn<QStringList>("before"); // run on a new database
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("movedAside");
        QTest::addColumn<QString>("said");
        QTest::newRow("someone else's table")
            << QStringList{"CREATE TABLE records (id INTEGER PRIMARY KEY, name TEXT)"} << true << true << "";
        QTest::newRow("a hand-made table without series, unversioned")
            << QStringList{"CREATE TABLE records (id INTEGER PRIMARY KEY, time TEXT NOT NULL, link TEXT, firmware "
                           "TEXT, result TEXT, cause TEXT, changes TEXT, configuration BLOB, sha256 TEXT, place TEXT)"}
            << true << false << "";
        QTest::newRow("a newer program's store")
            << QStringList{"CREATE TABLE t (x)", "PRAGMA user_version=9"} << false << false
            << "配置记录由更新版本的本程序写入（记录版本 9";
    }

    void schemaFaults()
    {
        QFETCH(QStringList, before);
        QFETCH(bool, kept);
        QFETCH(bool, movedAside);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QString path = dir.filePath("records.sqlite");
        QVERIFY(made(path, before));
        records::Store store(path);
        for (const char *link : {"first", "second"}) {
            const std::optional<QString> failure = store.append(record(link));
            QCOMPARE(!failure, kept);
            QVERIFY2(!failure || (failure->contains(said) && !failure->trimmed().endsWith(':')),
                     qPrintable(failure.value_or(QString())));
        }
        QCOMPARE(links(store), kept ? QStringList({"first", "second"}) : QStringList());
        QCOMPARE(!store.takeMovedAside().isEmpty(), movedAside);
    }

    // A store of an earlier version keeps its records, as saves with their
    // worded changes, and takes changes as data and a record's kind from
    // then on.
    void upgradeKeepsOlderRecords_data()
    {
        QTest::addColumn<QString>("laterColumns");
        QTest::addColumn<int>("version");
        QTest::newRow("version 2: no changes as data") << "" << 2;
        QTest::newRow("version 3: no kind") << ", key_changes TEXT, channel TEXT" << 3;
        QTest::newRow("version 4: causes as text")
            << ", key_changes TEXT, channel TEXT, kind TEXT NOT NULL DEFAULT 'save'" << 4;
    }

    void upgradeKeepsOlderRecords()
    {
        QFETCH(QString, laterColumns);
        QFETCH(int, version);
        QTemporaryDir dir;
        const QString path = dir.filePath("records.sqlite");
        QVERIFY(made(path,
                     {"CREATE TABLE records (id INTEGER PRIMARY KEY, time TEXT NOT NULL, link TEXT, firmware "
                      "TEXT, result TEXT, cause TEXT, changes TEXT, configuration BLOB, sha256 TEXT, place TEXT, "
                      "series TEXT"
                          + laterColumns + ")",
                      "INSERT INTO records (time, link, result, cause, changes) VALUES "
                      "('2026-01-02T03:04:05.000Z', 'old', 'failed', '读卡器没有应答', '扫码前缀：TV- → 门禁')",
                      QStringLiteral("PRAGMA user_version=%1").arg(version)}));
        records::Store store(path);
        // Read as it is, before a save upgrades it.
        records::Selection byCause;
        byCause.text = QStringLiteral("没有应答");
        byCause.resultTexts[records::Record::Failed] = QStringLiteral("failed: %1");
        qint64 rows = 0;
        QVERIFY(!store.count(byCause, &rows));
        QCOMPARE(rows, qint64(1));
        records::Record next = record("new");
        next.keyChanges = {{"prefix", "门禁", "TV-"}};
        next.kind = records::Record::Check;
        next.causeParts = {{"timeout", {"tcp: no reply"}}};
        QVERIFY(!store.append(next));
        std::vector<records::Record> all;
        QVERIFY(!store.read(QDateTime(), &all));
        QCOMPARE(all.size(), size_t(2));
        QCOMPARE(all[0].changes, QStringLiteral("扫码前缀：TV- → 门禁"));
        QVERIFY(all[0].keyChanges.empty());
        QCOMPARE(all[0].kind, records::Record::Save);
        QCOMPARE(all[0].cause, QStringLiteral("读卡器没有应答"));
        QVERIFY(all[0].causeParts.empty());
        QCOMPARE(all[1].causeParts.at(0).args, QStringList{"tcp: no reply"});
        QCOMPARE(all[1].keyChanges.size(), size_t(1));
        QCOMPARE(all[1].kind, records::Record::Check);
    }

    // A store in a folder this user cannot write is read without writing.
    void readOnlyFolderIsRead()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind root");
        QTemporaryDir dir;
        const QString path = dir.filePath("records.sqlite");
        // On a thread of its own, whose connection closes as it ends and
        // takes the store's -wal and -shm files with it.
        std::thread([&] { QVERIFY(!records::Store(path).append(record("first"))); }).join();
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QStringList kept;
        std::thread([&] {
            records::Store store(path);
            kept = links(store);
        }).join();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(kept, QStringList{"first"});
    }

    void faultIsToldAndLosesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("kept");         // the new record was kept
        QTest::addColumn<QStringList>("after"); // the links the store holds afterwards
        QTest::addColumn<bool>("movedAside");
        QTest::newRow("healthy") << "none" << true << QStringList{"first", "second"} << false;
        QTest::newRow("read-only") << "read-only" << false << QStringList{"first"} << false;
        QTest::newRow("place unusable") << "no folder" << false << QStringList{"first"} << false;
        QTest::newRow("locked") << "locked" << false << QStringList{"first"} << false;
        QTest::newRow("corrupt") << "corrupt" << true << QStringList{"second"} << true;
        QTest::newRow("newer schema") << "newer" << false << QStringList{"first"} << false;
        QTest::newRow("older schema") << "older" << true << QStringList{"first", "second"} << false;
    }

    void faultIsToldAndLosesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(bool, kept);
        QFETCH(QStringList, after);
        QFETCH(bool, movedAside);
        if (fault == "read-only" && ::geteuid() == 0)
            QSKIP("file permissions do not bind root");
        QTemporaryDir dir;
        const QString path = dir.filePath("records.sqlite");
        records::Store store(path, 200);
        // As an earlier run left it: on a thread whose connection ends with it.
        std::thread([&] { QVERIFY(!store.append(record("first"))); }).join();
        // A store whose place is taken by a plain file.
        records::Store elsewhere(path + "/records.sqlite", 200);

        QSqlDatabase::addDatabase("QSQLITE", "holder").setDatabaseName(path);
        {
            QSqlDatabase holder = QSqlDatabase::database("holder");
            QSqlQuery query(holder);
            if (fault == "locked")
                QVERIFY(query.exec("BEGIN EXCLUSIVE") && query.exec("DELETE FROM records WHERE 0"));
            if (fault == "newer")
                QVERIFY(query.exec("PRAGMA user_version=9"));
            if (fault == "older") {
                QVERIFY(query.exec("ALTER TABLE records DROP COLUMN series")
                        && query.exec("PRAGMA user_version=1"));
                QCOMPARE(links(store), QStringList{"first"});
            }
            if (fault != "locked")
                holder.close();
            if (fault == "read-only")
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner)
                        && QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            if (fault == "corrupt") {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray(8192, 'x'));
            }

            const std::optional<QString> failure =
                (fault == "no folder" ? elsewhere : store).append(record("second"));
            QVERIFY2(failure.has_value() != kept, qPrintable(failure.value_or("kept")));
            QVERIFY(!failure || !failure->isEmpty());
            holder.close();
        }
        QSqlDatabase::removeDatabase("holder");
        QCOMPARE(links(store), after);
        QCOMPARE(!store.takeMovedAside().isEmpty(), movedAside);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Two writers at once, each with its own connection, on a store that
    // one of them may still have to create.
    void concurrentWritersLoseNothing_data()
    {
        QTest::addColumn<bool>("fresh");
        QTest::newRow("new store") << true;
        QTest::newRow("existing store") << false;
    }

    void concurrentWritersLoseNothing()
    {
        QFETCH(bool, fresh);
        QTemporaryDir dir;
        const QString path = dir.filePath("records.sqlite");
        if (!fresh)
            QVERIFY(!records::Store(path).append(record("before")));
        constexpr int kEach = 40;
        QStringList failures[2];
        auto writer = [&](int which) {
            records::Store store(path);
            for (int i = 0; i < kEach; ++i)
                if (const std::optional<QString> failure = store.append(record(QString::number(which))))
                    failures[which] << *failure;
        };
        std::thread first(writer, 0);
        std::thread second(writer, 1);
        first.join();
        second.join();
        const QStringList failed = failures[0] + failures[1];
        QVERIFY2(failed.isEmpty(), qPrintable(failed.join('\n')));
        records::Store reader(path);
        const QStringList kept = links(reader);
        QCOMPARE(kept.count("0"), kEach);
        QCOMPARE(kept.count("1"), kEach);
    }
};

QTEST_MAIN(RecordStoreTest)
#include "test_record_store.moc"
