// --write as the built program runs it: a run cut short by a closed output
// or by SIGINT keeps the record of every reader it configured, and no
// secret of the configuration reaches a record, an export or a log.
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

#include "documents/record_export.h"
#include "records/record_store.h"
#include "support/reader_sim.h"

namespace {

const QString kHttpSecret = QStringLiteral("HttpPa55word");
const QString kWifiSecret = QStringLiteral("Lager-Wlan-4711");

// The program's own name, for the store it keeps under XDG_DATA_HOME.
QString storePath(const QTemporaryDir &data)
{
    return data.filePath(QStringLiteral("tarvo-config/records.sqlite"));
}

} // namespace

class TruthfulWriteTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QProcessEnvironment environment(const QString &data) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "LANG", "LC_ALL", "LANGUAGE"})
            env.remove(QLatin1String(name));
        env.insert("XDG_DATA_HOME", data);
        env.insert("TARVO_CONFIG_PASSWORD", "Tarvo#Factory#16");
        return env;
    }

    // The built program through sh, its standard output and error.
    QPair<QString, QString> run(const QString &data, const QString &command) const
    {
        QProcess process;
        process.setProcessEnvironment(environment(data));
        process.setWorkingDirectory(dir.path());
        const QString program = QStringLiteral("\"%1\" %2").arg(TARVO_PROGRAM, command);
        process.start("sh", {"-c", command.endsWith("| head -1") ? "{ " + program : program});
        process.waitForFinished(60000);
        return {QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError()) + QString::number(process.exitCode())};
    }

    static bool writeFile(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::copy(QStringLiteral(TARVO_SHIPPED_SCRIPT), dir.filePath("update_config.lua")));
        QVERIFY(writeFile(dir.filePath("reader.tcfg"), "ochannel=2,prefix='BATCH-',devnum=9\n"));
    }

    // Four readers, one at a time; the run is cut short after its first
    // line. Every reader that applied the configuration has its record,
    // and none is started after the cut.
    void interruptedWriteKeepsEveryRecord_data()
    {
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("output closed by head -1") << false;
        QTest::newRow("SIGINT after the first line") << true;
    }

    void interruptedWriteKeepsEveryRecord()
    {
        QFETCH(bool, bySignal);
        QTemporaryDir data;
        std::vector<std::unique_ptr<ReaderSim>> readers;
        QStringList devices;
        for (int i = 0; i < 4; ++i) {
            readers.push_back(std::make_unique<ReaderSim>());
            // Late answers hold each save long enough for the cut to fall mid-batch.
            QVERIFY(readers.back()->start({"--fault", "late:1", "--late-ms", "400"}));
            devices << "--device" << readers.back()->tcpSetting();
        }
        const QString command = QStringLiteral("--write reader.tcfg %1 --jobs 1").arg(devices.join(' '));
        QString exitCode;
        if (bySignal) {
            QProcess process;
            process.setProcessEnvironment(environment(data.path()));
            process.setWorkingDirectory(dir.path());
            process.start("sh", {"-c", QStringLiteral("exec \"%1\" %2").arg(TARVO_PROGRAM, command)});
            QVERIFY(process.waitForReadyRead(30000));
            ::kill(pid_t(process.processId()), SIGINT);
            QVERIFY(process.waitForFinished(30000));
            exitCode = QString::number(process.exitCode());
            QVERIFY2(process.exitCode() == 128 + SIGINT, process.readAllStandardError().constData());
        } else {
            // The program's exit code goes to standard error, past head.
            const auto ran = run(data.path(), command + "; echo \"exit $?\" >&2; } | head -1");
            QCOMPARE(ran.first.count('\n'), 1);
            QVERIFY2(ran.second.contains("exit 2"), qPrintable(ran.second));
        }
        int applied = 0;
        QStringList history = run(data.path(), "--history").first.split('\n', Qt::SkipEmptyParts);
        for (const auto &reader : readers) {
            reader->waitForLine("no such line", 300);
            if (!reader->lines().filter("config applied").isEmpty()) {
                ++applied;
                QVERIFY2(!history.filter(reader->tcpSetting() + '\t').isEmpty(), qPrintable(history.join('\n')));
            }
        }
        QCOMPARE(history.size(), applied);
        QVERIFY2(applied >= 1 && applied < 4, qPrintable(QString::number(applied)));
    }

    // A save the reader refuses changed nothing there, and its record lists
    // no changes; one it takes lists what it changed.
    void recordedChangesHappened_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("changed");
        QTest::newRow("refused") << QByteArray("Wrong#Passwrd#16") << "failed: " << false;
        QTest::newRow("taken") << QByteArray("Tarvo#Factory#16") << "confirmed" << true;
    }

    void recordedChangesHappened()
    {
        QFETCH(QByteArray, password);
        QFETCH(QString, result);
        QFETCH(bool, changed);
        QTemporaryDir data;
        ReaderSim reader;
        QVERIFY(reader.start({}));
        QVERIFY(writeFile(dir.filePath("password"), password));
        run(data.path(), "--write reader.tcfg --password-file password --device " + reader.tcpSetting());
        const QStringList fields = run(data.path(), "--history").first.trimmed().split('\t');
        QVERIFY2(fields.size() == 8, qPrintable(fields.join('|')));
        QVERIFY2(fields[3].startsWith(result), qPrintable(fields[3]));
        QCOMPARE(!fields[6].isEmpty(), changed);
    }

    // A configuration with an HTTP address's credentials and a Wi-Fi
    // password, written to a reader that reads back another address: no
    // record, export or log shows either secret.
    void secretsStayMasked_data()
    {
        QTest::addColumn<QString>("where");
        for (const char *where : {"store", "cause", "csv", "pdf", "history", "json", "verbose"})
            QTest::newRow(where) << where;
    }

    void secretsStayMasked()
    {
        QFETCH(QString, where);
        QTemporaryDir data;
        QVERIFY(
            writeFile(dir.filePath("secret.tcfg"), QStringLiteral("ochannel=8,owifi=1,ssid='Lager',psk='%1',"
                                                                  "haddr='http://admin:%2@127.0.0.1:8080/x'\n")
                                                       .arg(kWifiSecret, kHttpSecret)
                                                       .toUtf8()));
        ReaderSim reader;
        QVERIFY(reader.start({"--read-back", "haddr='http://admin:" + kHttpSecret + "@127.0.0.1:8080/y'"}));
        const auto written =
            run(data.path(), "--write secret.tcfg --json --verbose --device " + reader.tcpSetting());
        QVERIFY(reader.waitForLine("config applied"));
        QVERIFY2(written.first.contains("read_back_differs"), qPrintable(written.first));

        records::Store store(storePath(data));
        std::vector<records::Record> saved;
        QVERIFY(!store.read(QDateTime(), &saved));
        QCOMPARE(int(saved.size()), 1);
        const records::Record &record = saved.front();
        QString shown;
        if (where == "store") {
            shown = QString::fromUtf8(record.configuration) + record.changes;
            for (const records::Change &change : record.keyChanges)
                shown += change.before + change.after;
        } else if (where == "cause") {
            shown = record.cause;
            QVERIFY2(shown.contains("127.0.0.1:8080/y"), qPrintable(shown));
        } else if (where == "csv" || where == "pdf") {
            ExportRun exportRun;
            const Exported exported = where == "csv" ? recordsCsv(store, records::Selection(), &exportRun)
                                                     : recordsPdf(store, records::Selection(), &exportRun);
            QVERIFY(!exported.failure);
            shown = QString::fromUtf8(exported.bytes);
            if (where == "pdf") {
                QProcess text;
                text.start("pdftotext", {"-", "-"});
                if (!text.waitForStarted(5000))
                    QSKIP("pdftotext (poppler-utils) is not installed, and Qt's PDF writer compresses its text");
                text.write(exported.bytes);
                text.closeWriteChannel();
                QVERIFY(text.waitForFinished(30000));
                shown = QString::fromUtf8(text.readAllStandardOutput());
                QVERIFY2(shown.contains("127.0.0.1"), qPrintable(shown));
            }
        } else if (where == "history") {
            shown = run(data.path(), "--history").first + run(data.path(), "--history --csv").first;
        } else {
            shown = where == "json" ? written.first : written.second;
            QVERIFY(!shown.isEmpty());
        }
        QVERIFY2(!shown.contains(kHttpSecret), qPrintable(shown));
        QVERIFY2(!shown.contains(kWifiSecret), qPrintable(shown));
    }

    // The store's own reason for refusing it, in the language the program speaks.
    void storeReasonInTheViewersLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("reason");
        QTest::newRow("Chinese") << "" << QStringLiteral("不是本程序建立的");
        QTest::newRow("English") << "--lang en"
                                 << "not made by this program";
    }

    void storeReasonInTheViewersLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, reason);
        QTemporaryDir data;
        QVERIFY(QDir().mkpath(QFileInfo(storePath(data)).absolutePath()));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            db.setDatabaseName(storePath(data));
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE records (id INTEGER PRIMARY KEY, name TEXT)"));
        }
        QSqlDatabase::removeDatabase("foreign");
        const QString said = run(data.path(), "--history " + language).second;
        QVERIFY2(said.contains(reason), qPrintable(said));
    }
};

QTEST_MAIN(TruthfulWriteTest)
#include "test_truthful_write.moc"
