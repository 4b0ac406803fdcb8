// The fleet modes run as the built program against simulated readers on
// loopback: --check, --read, the idempotent --write, --find, and the reader
// forms --device takes.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "support/reader_sim.h"

namespace {

const QString kFactoryPassword = QStringLiteral("TARVO_CONFIG_PASSWORD=Tarvo#Factory#16");

struct Run
{
    int exitCode;
    QStringList lines; // standard output
    QByteArray err;
};

QJsonObject jsonOf(const QString &line)
{
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

// A loopback port nobody listens on.
QString refusedLink()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return QStringLiteral("tcp:127.0.0.1:%1").arg(probe.serverPort());
}

} // namespace

class FleetTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(
            QFile::copy(QStringLiteral(TARVO_SHIPPED_SCRIPT), dir.filePath(QStringLiteral("update_config.lua"))));
        QFile file(dir.filePath(QStringLiteral("reader.tcfg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("ochannel=2,prefix='前,缀',devnum=7,brightness=201,w_mode=1\n");
    }

    // --check tells each reader same, differs (with what) or failed, writing
    // nothing; a second --write leaves a reader that holds the file alone.
    void checkThenWriteOnlyWhatDiffers()
    {
        ReaderSim written;
        ReaderSim fresh;
        QVERIFY(written.start() && fresh.start());
        QCOMPARE(run({"--write", "reader.tcfg", "--device", written.tcpSetting()}).exitCode, 0);
        QVERIFY(written.waitForLine("config applied"));

        const QString refused = refusedLink();
        const Run text = run({"--check", "reader.tcfg", "--jobs", "1", "--device", written.tcpSetting(),
                              "--device", fresh.serialSetting(), "--device", refused});
        QCOMPARE(text.exitCode, 1);
        QCOMPARE(text.lines.value(0), written.tcpSetting() + " same");
        QVERIFY2(text.lines.value(1).startsWith(fresh.serialSetting() + " differs: "),
                 qPrintable(text.lines.value(1)));
        QVERIFY(text.lines.value(1).contains("brightness"));
        QVERIFY(text.lines.value(2).startsWith(refused + " failed: "));

        const Run json = run({"--check", "reader.tcfg", "--json", "--jobs", "1", "--device", fresh.tcpSetting(),
                              "--device", refused});
        const QJsonObject differs = jsonOf(json.lines.value(0));
        QCOMPARE(differs.value("result").toString(), QString("differs"));
        const QJsonArray changes = differs.value("changes").toArray();
        const auto brightness = std::find_if(changes.begin(), changes.end(), [](const QJsonValue &change) {
            return change.toObject().value("key") == "brightness";
        });
        QVERIFY(brightness != changes.end());
        QCOMPARE(brightness->toObject().value("file").toString(), QString("201"));
        QCOMPARE(jsonOf(json.lines.value(1)).value("code").toString(), QString("connection_refused"));
        QCOMPARE(run({"--check", "reader.tcfg", "--device", written.tcpSetting()}).exitCode, 0);
        QVERIFY(!fresh.waitForLine("config applied", 0));

        const Run again = run({"--write", "reader.tcfg", "--json", "--jobs", "1", "--device",
                               written.tcpSetting(), "--device", fresh.tcpSetting()});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(jsonOf(again.lines.value(0)).value("result").toString(), QString("unchanged"));
        QCOMPARE(jsonOf(again.lines.value(0)).value("changes").toArray().size(), 0);
        QCOMPARE(jsonOf(again.lines.value(1)).value("result").toString(), QString("ok"));
        QVERIFY(!jsonOf(again.lines.value(1)).value("changes").toArray().isEmpty());
        QVERIFY(fresh.waitForLine("config applied"));
        written.waitForLine("no such line", 300); // takes what it printed since
        QCOMPARE(written.lines().filter("config applied").size(), 1);
        QCOMPARE(run({"--write", "reader.tcfg", "--force", "--device", written.tcpSetting()}).lines,
                 QStringList{written.tcpSetting() + " ok"});
    }

    // A backup of a reader is a file that --check finds the same as it.
    void readThenCheck()
    {
        ReaderSim first;
        ReaderSim second;
        QVERIFY(first.start({"--firmware", "TV-3.1"}) && second.start());
        QTemporaryDir backups;
        const Run read = run({"--read", "--json", "--device", first.tcpSetting(), "--device",
                              second.serialSetting(), "--save-as", backups.path()});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(QDir(backups.path()).entryList(QDir::Files).size(), 2);
        for (const QString &line : read.lines) {
            const QJsonObject saved = jsonOf(line);
            const QString link = saved.value("link").toString();
            QCOMPARE(saved.value("result").toString(), QString("saved"));
            QVERIFY(!QFileInfo(saved.value("file").toString()).fileName().contains(':'));
            QCOMPARE(run({"--check", saved.value("file").toString(), "--device", link}).lines,
                     QStringList{link + " same"});
            if (link == first.tcpSetting())
                QCOMPARE(saved.value("firmware").toString(), QString("TV-3.1"));
        }
    }

    // One reader under two names is refused before anything is written, as
    // is a malformed name; the batch dialog's forms are taken.
    void readerNames_data()
    {
        QTest::addColumn<QString>("second"); // %1 the simulator's port
        QTest::addColumn<int>("exitCode");
        QTest::newRow("localhost") << "localhost:%1" << 2;
        QTest::newRow("mapped IPv6") << "[::ffff:127.0.0.1]:%1" << 2;
        QTest::newRow("tcp link again") << "tcp:127.0.0.1:%1" << 2;
        QTest::newRow("short address") << "127.1:%1" << 2;
        QTest::newRow("no port") << "127.0.0.1" << 2;
        QTest::newRow("another port") << "127.0.0.1:1" << 1;
    }

    void readerNames()
    {
        QFETCH(QString, second);
        QFETCH(int, exitCode);
        ReaderSim reader;
        QVERIFY(reader.start());
        const QString port = QString::number(reader.port());
        const Run written = run({"--write", "reader.tcfg", "--device", "127.0.0.1:" + port, "--device",
                                 QString(second).replace("%1", port)});
        QCOMPARE(written.exitCode, exitCode);
        QCOMPARE(reader.waitForLine("config applied", 300), exitCode != 2);
    }

    // --find tries every port of a loopback range and lists exactly the
    // readers there, in the range's order.
    void findAmongPorts()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const int base = std::min(int(probe.serverPort()), 65000);
        probe.close();
        std::vector<std::unique_ptr<ReaderSim>> readers;
        QStringList expected;
        for (int offset : {2, 11, 12, 30, 49}) {
            readers.push_back(std::make_unique<ReaderSim>());
            QVERIFY(readers.back()->start({"--port", QString::number(base + offset), "--no-pty"}));
            expected << readers.back()->tcpSetting();
        }
        const Run found = run({"--find", QStringLiteral("127.0.0.1:%1-%2").arg(base).arg(base + 49), "--json"});
        QCOMPARE(found.exitCode, 0);
        QStringList links;
        for (const QString &line : found.lines)
            links << jsonOf(line).value("link").toString();
        QCOMPARE(links, expected);
        QVERIFY(!jsonOf(found.lines.value(0)).value("firmware").toString().isEmpty());
        QVERIFY(!jsonOf(found.lines.value(0)).value("channel").toString().isEmpty());
        QCOMPARE(run({"--find", "127.0.0.0/19"}).exitCode, 2);
    }

private:
    // The built program in the test's folder, on no display.
    Run run(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "LANG", "LC_ALL", "LANGUAGE", "TARVO_CALLER_DIR"})
            env.remove(QLatin1String(name));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        env.insert(kFactoryPassword.section('=', 0, 0), kFactoryPassword.section('=', 1));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(TARVO_PROGRAM), arguments + QStringList{"--lang", "en"});
        if (!process.waitForFinished(60000))
            return {-1, {}, "the program did not finish"};
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        return {process.exitCode(), out.split('\n', Qt::SkipEmptyParts), process.readAllStandardError()};
    }

    QTemporaryDir dir;
};

QTEST_MAIN(FleetTest)
#include "test_fleet.moc"
