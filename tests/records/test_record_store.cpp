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
        QCOMPARE(back.sha256, QString(QCryptographicHash::hash(back.configuration, QCryptographicHash::Sha256).toHex()));
        QCOMPARE(records::resultWords(back), QStringLiteral("failed: 没有应答"));
        QVERIFY(!store.read(QDateTime::currentDateTimeUtc().addSecs(60), &all));
        QVERIFY(all.empty());
    }

    void faultIsToldAndLosesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("kept");          // the new record was kept
        QTest::addColumn<QStringList>("after");  // the links the store holds afterwards
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
        QVERIFY(!store.append(record("first")));
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
                QVERIFY(query.exec("ALTER TABLE records DROP COLUMN series") && query.exec("PRAGMA user_version=1"));
                QCOMPARE(links(store), QStringList{"first"});
            }
            if (fault != "locked")
                holder.close();
            if (fault == "read-only")
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner) && QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            if (fault == "corrupt") {
                QFile file(path);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(QByteArray(8192, 'x'));
            }

            const std::optional<QString> failure = (fault == "no folder" ? elsewhere : store).append(record("second"));
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
