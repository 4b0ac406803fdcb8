// The program maps what a mode uses and no more: the record store and the
// device layer come with the readers part, painting with the painting part,
// and a mode whose part is missing says so and exits with 2 while the file
// modes need neither part.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kReaderText = "___TRVO_CONFIG_V1.1.0___{ochannel=8,de_type=1,prefix='AB',devnum=3,w_mode=1}\n";

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The program at path in the folder folder, with environment's variables on
// top of the test's.
Run runProgram(const QString &path, const QString &folder, const QStringList &arguments,
               const QStringList &environment = {})
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("TARVO_CONFIG_PASSWORD"), QStringLiteral("0123456789abcdef"));
    for (const QString &variable : environment)
        variables.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(variables);
    process.setWorkingDirectory(folder);
    process.start(path, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class ProgramPartsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(
            QFile::copy(QStringLiteral(TARVO_SHIPPED_SCRIPT), dir.filePath(QStringLiteral("update_config.lua"))));
        QFile file(dir.filePath(QStringLiteral("reader.tcfg")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kReaderText) == kReaderText.size());
        // The program alone, without the parts that lie beside it in the build.
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("alone")));
        QVERIFY(QFile::copy(QStringLiteral(TARVO_PROGRAM), alone()));
    }

    // What the dynamic loader maps for each mode, the parts' libraries
    // included when a mode loads a part.
    void mapsWhatTheModeUses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("mapped");
        QTest::addColumn<QStringList>("unmapped");
        const QStringList storeAndDevice{"libQt5Sql", "libQt5SerialPort", "libudev", "libtrvo"};
        const QStringList painting{"libQt5Gui", "libQt5Widgets"};
        QTest::newRow("text") << QStringList{"--text", "reader.tcfg"} << QStringList{"libQt5Core", "liblua5.1"}
                              << storeAndDevice + painting;
        QTest::newRow("save-as") << QStringList{"--save-as", "copy.tcfg", "reader.tcfg"} << QStringList()
                                 << storeAndDevice + painting;
        QTest::newRow("help") << QStringList{"--help"} << QStringList() << storeAndDevice + painting;
        QTest::newRow("usage error") << QStringList{"--text"} << QStringList() << storeAndDevice + painting;
        QTest::newRow("history") << QStringList{"--history", "--since", "2999-01-01"} << QStringList{"libQt5Sql"}
                                 << painting;
        // The painting part; printing is a part of its own, loaded at a print.
        QTest::newRow("code") << QStringList{"--code", "code.png", "reader.tcfg"}
                              << QStringList{"libQt5Gui", "libQt5Svg", "libqrencode"}
                              << QStringList{"libQt5PrintSupport"};
    }

    void mapsWhatTheModeUses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, mapped);
        QFETCH(QStringList, unmapped);
        const Run run = runProgram(QStringLiteral(TARVO_PROGRAM), dir.path(), arguments, {"LD_DEBUG=files"});
        const QString loaded = QString::fromLocal8Bit(run.err);
        for (const QString &library : mapped)
            QVERIFY2(loaded.contains("file=" + library), qPrintable(library + " is not mapped"));
        for (const QString &library : unmapped)
            QVERIFY2(!loaded.contains("file=" + library), qPrintable(library + " is mapped"));
    }

    // The modes of the readers part say why it cannot be loaded and exit
    // with 2, before anything else; the other modes run without it, and a
    // usage error the command line finds itself is said as ever.
    void withoutTheParts_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("history") << QStringList{"--history"} << 2 << "无法载入程序的读头部分：";
        QTest::newRow("check, English")
            << QStringList{"--lang", "en", "--check", "reader.tcfg", "--device", "tcp:127.0.0.1:1"} << 2
            << "cannot load the program's readers part: ";
        QTest::newRow("write") << QStringList{"--write", "reader.tcfg", "--device", "tcp:127.0.0.1:1"} << 2
                               << "无法载入程序的读头部分：";
        QTest::newRow("find") << QStringList{"--find", "serial"} << 2 << "无法载入程序的读头部分：";
        QTest::newRow("write without readers")
            << QStringList{"--write", "reader.tcfg"} << 2 << "--write 需要至少一个 --device LINK";
        QTest::newRow("text") << QStringList{"--text", "reader.tcfg"} << 0 << "";
        QTest::newRow("code") << QStringList{"--code", "code.png", "reader.tcfg"} << 2
                              << "无法载入程序的绘图部分：";
    }

    void withoutTheParts()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        const Run run = runProgram(alone(), dir.path(), arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(run.err).contains(err), run.err.constData());
        if (err.isEmpty())
            QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.out.startsWith("___TRVO_CONFIG_V1.1.0___{"), exitCode == 0);
    }

    // A library in the working folder named as one the program links is not
    // the one it loads: here a library without Lua's calls, named as Lua.
    void ignoresLibrariesInTheWorkingFolder()
    {
        const QString impostor = dir.filePath(QStringLiteral("liblua5.1.so.0"));
        QVERIFY(QFile::copy(QStringLiteral(TARVO_DEVICE_LIBRARY), impostor));
        const Run run = runProgram(QStringLiteral(TARVO_PROGRAM), dir.path(), {"--text", "reader.tcfg"});
        QFile::remove(impostor);
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.startsWith("___TRVO_CONFIG_V1.1.0___{"));
    }

private:
    QString alone() const { return dir.filePath(QStringLiteral("alone/tarvo-config")); }

    QTemporaryDir dir;
};

QTEST_GUILESS_MAIN(ProgramPartsTest)
#include "test_program_parts.moc"
