// tarvo-config --history as a script or a terminal meets it: which records
// --since takes, a standard output that refuses what is printed, and
// fields from readers and users that must not act as formulas or steer
// the terminal.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "records/record_store.h"

namespace {

const QDateTime kTimes[] = {QDateTime(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC),
                            QDateTime(QDate(2026, 12, 9), QTime(13, 0), Qt::UTC),
                            QDateTime(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC)};

struct Run
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

} // namespace

class HistoryModeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(data.isValid());
        records::Store store(data.filePath("tarvo-config/records.sqlite"));
        for (int i = 0; i < 3; ++i) {
            records::Record record;
            record.time = kTimes[i];
            record.link = QStringLiteral("tcp:127.0.0.1:%1").arg(9000 + i);
            record.firmware = i == 0 ? QStringLiteral("=1+1") : QStringLiteral("TRVO 2.3");
            record.place = i == 1 ? QStringLiteral("\x1b]0;owned\x07门") : QStringLiteral("\u202Egnp.exe");
            record.result = i == 1 ? records::Record::Failed : records::Record::Confirmed;
            // Why, as data, worded by whoever reads the record; the text in
            // the language of the save is for older programs.
            if (i == 1) {
                record.cause = QStringLiteral("保存时的原因");
                record.causeParts = {{QStringLiteral("timeout"), {QStringLiteral("tcp: no reply")}}};
            }
            record.kind = i == 2 ? records::Record::Check : records::Record::Save;
            QVERIFY(!store.append(record));
        }
    }

    void since_data()
    {
        QTest::addColumn<QString>("since");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("lines");
        QTest::newRow("a date: from its midnight") << "2026-12-09" << 0 << 3;
        QTest::newRow("a time without zone: the user's clock") << "2026-12-09T12:14" << 0 << 2;
        QTest::newRow("a time in UTC") << "2026-12-09T12:14:00Z" << 0 << 2;
        QTest::newRow("a time with an offset") << "2026-12-09T12:14:00+00:00" << 0 << 2;
        QTest::newRow("an offset east of UTC") << "2026-12-09T12:14:00+05:00" << 0 << 3;
        QTest::newRow("the next day") << "2026-12-10" << 0 << 1;
        QTest::newRow("hour 25") << "2026-12-09T25:00" << 2 << 0;
        QTest::newRow("no such day") << "2026-02-30" << 2 << 0;
        QTest::newRow("a date with more after it") << "2026-12-09 later" << 2 << 0;
    }

    void since()
    {
        QFETCH(QString, since);
        QFETCH(int, exitCode);
        QFETCH(int, lines);
        const Run run = history({"--since", since});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out.count('\n'), lines);
        QCOMPARE(run.err.isEmpty(), exitCode == 0);
    }

    // Standard output that takes nothing fails the mode, plainly.
    void fullOutputFails()
    {
        const Run run = history({}, QStringLiteral("/dev/full"));
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(QString::fromUtf8(run.err).contains(QStringLiteral("标准输出")), run.err.constData());
    }

    void fieldsStayText_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("CSV: a formula stays text") << QStringList{"--csv"} << QByteArray(",'=1+1,");
        QTest::newRow("CSV: the place reads in its order") << QStringList{"--csv"} << QByteArray(" gnp.exe");
        QTest::newRow("lines: the place reads in its order") << QStringList() << QByteArray("gnp.exe");
        QTest::newRow("lines: no terminal title") << QStringList() << QByteArray("]0;owned 门");
        QTest::newRow("CSV: the kind last") << QStringList{"--csv"} << QByteArray("changes,kind\r\n");
        QTest::newRow("lines: a check's kind") << QStringList() << QByteArray("\tcheck\n");
        QTest::newRow("lines: a save's kind") << QStringList() << QByteArray("\tsave\n");
        QTest::newRow("lines: a cause in English")
            << QStringList{"--lang", "en"}
            << QByteArray("\tfailed: The reader did not answer in time. tcp: no reply\t");
        QTest::newRow("CSV: a cause in English")
            << QStringList{"--csv", "--lang", "en"}
            << QByteArray(",\"failed: The reader did not answer in time.\ntcp: no reply\",");
        QTest::newRow("lines: a cause in Chinese")
            << QStringList{"--lang", "zh"}
            << QString("\tfailed: 读卡器在规定时间内没有应答。 tcp: no reply\t").toUtf8();
    }

    void fieldsStayText()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, expected);
        const Run run = history(options);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains(expected), run.out.constData());
        for (const char *control : {"\x1b", "\x07", "\u202E"})
            QVERIFY2(!run.out.contains(control), run.out.constData());
    }

private:
    Run history(const QStringList &options, const QString &standardOutput = QString())
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        process.start(QStringLiteral(TARVO_PROGRAM), QStringList{"--history"} + options);
        if (!process.waitForFinished(60000))
            return {-1, {}, "the program did not finish"};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QTemporaryDir data;
};

QTEST_MAIN(HistoryModeTest)
#include "test_history_mode.moc"
