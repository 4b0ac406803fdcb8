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

// The configuration the simulator holds, as its state file keeps it.
QString heldConfig(const ReaderSim &reader)
{
    QFile state(reader.statePath());
    return state.open(QIODevice::ReadOnly)
               ? QJsonDocument::fromJson(state.readAll()).object().value("config").toString()
               : QString();
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

    // Three readers, each with its own device number from the sheet; the
    // check finds them as the sheet says, and a sheet read back from them
    // says the same.
    void sheetGivesEachReaderItsOwn()
    {
        ReaderSim readers[3];
        QString sheet = "link,place,devnum\r\n";
        for (int i = 0; i < 3; ++i) {
            QVERIFY(readers[i].start());
            sheet += QStringLiteral("%1,\"gate \"\"%2\"\"\",10%2\r\n").arg(readers[i].tcpSetting()).arg(i);
        }
        writeFile("site.csv", sheet.toUtf8());
        QCOMPARE(run({"--write", "reader.tcfg", "--sheet", "site.csv"}).exitCode, 0);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(heldConfig(readers[i]).contains(QStringLiteral(",devnum=10%1,").arg(i)),
                     qPrintable(heldConfig(readers[i])));
        const Run checked = run({"--check", "reader.tcfg", "--sheet", "site.csv", "--json"});
        QCOMPARE(checked.exitCode, 0);
        // The lines come as the readers answer, in any order.
        QStringList places;
        for (const QString &line : checked.lines)
            if (jsonOf(line).value("link").toString() == readers[0].tcpSetting())
                places << jsonOf(line).value("place").toString();
        QCOMPARE(places, QStringList{"gate \"0\""});

        QStringList devices;
        for (const ReaderSim &reader : readers)
            devices << "--device" << reader.tcpSetting();
        QCOMPARE(run(QStringList{"--read", "--sheet", "back.csv"} + devices).exitCode, 0);
        QFile back(dir.filePath("back.csv"));
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readLine(), QByteArray("link,place,devnum\r\n"));
        QCOMPARE(run({"--check", "reader.tcfg", "--sheet", "back.csv", "--jobs", "1"}).lines,
                 QStringList({readers[0].tcpSetting() + " same", readers[1].tcpSetting() + " same",
                              readers[2].tcpSetting() + " same"}));
    }

    // A sheet or a --set that cannot be taken whole writes no reader.
    void refusedBeforeAnyWrite_data()
    {
        QTest::addColumn<QString>("sheet"); // %1 %2 %3 the readers; empty: none
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        const QString rows = "%1,A,1\n%2,B,2\n%3,C,";
        QTest::newRow("a bad value in row 3") << "link,place,devnum\n" + rows + "x\n"
                                              << QStringList() << 1 << "line 4 (tcp:127.0.0.1:";
        QTest::newRow("a column of no key") << "link,place,colour\n" + rows + "3\n"
                                            << QStringList() << 1 << "colour";
        QTest::newRow("a quote never closed") << "link,place,devnum\n" + rows + "\"3\n"
                                              << QStringList() << 2 << "line 4";
        QTest::newRow("a range in a row") << "link,place\n127.0.0.1-3:1,A\n" << QStringList() << 2 << "line 2";
        QTest::newRow("a header alone") << "link,place,devnum\n" << QStringList() << 2 << "no reader";
        QTest::newRow("--set of no key") << "" << QStringList{"--set", "colour=red"} << 1 << "colour";
        QTest::newRow("--set out of its rule") << "" << QStringList{"--set", "port=70000"} << 1 << "port";
        QTest::newRow("--set of a secret") << "" << QStringList{"--set", "psk=secret1234"} << 1 << "psk";
        QTest::newRow("--set without =") << "" << QStringList{"--set", "devnum"} << 2 << "KEY=VALUE";
    }

    void refusedBeforeAnyWrite()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, extra);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        ReaderSim readers[3];
        QStringList arguments{"--write", "reader.tcfg"};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(readers[i].start());
            sheet.replace(QStringLiteral("%%1").arg(i + 1), readers[i].tcpSetting());
            arguments << "--device" << readers[i].tcpSetting();
        }
        if (!sheet.isEmpty()) {
            writeFile("refused.csv", sheet.toUtf8());
            arguments = QStringList{"--write", "reader.tcfg", "--sheet", "refused.csv"};
        }
        const Run refused = run(arguments + extra);
        QCOMPARE(refused.exitCode, exitCode);
        QVERIFY2(refused.err.contains(said.toUtf8()), refused.err.constData());
        for (ReaderSim &reader : readers)
            QVERIFY(!reader.waitForLine("config applied", 100));
    }

    // --find tries every port of a loopback range and lists exactly the
    // readers there, in the range's order.
    void findAmongPorts()
    {
        const int base = freeLoopbackPorts(50);
        QVERIFY(base > 0);
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
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

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
