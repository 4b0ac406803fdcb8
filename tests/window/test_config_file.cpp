// Configuration files: what the form's file holds, which files are refused
// on opening (leaving the form alone), a save that fails halfway, and the
// round trip of random forms through a file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "config/assembly.h"
#include "config/config_file.h"
#include "script/script_fixture.h"
#include "support/form_setup.h"
#include "support/form_state.h"
#include "support/widget_probe.h"
#include "window/widget.h"

using namespace random_form;

namespace {

const QString kPassword = QStringLiteral("0123456789abcdef");

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Lowers the largest file this process may write, as a full disk would stop
// a write, until the scope ends.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }

private:
    rlimit saved{};
};

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(script.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))); }

    // The file is what the form signs, up to the signature, without any
    // password; a refusal of the build leaves no bytes.
    void fileOfTheForm_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("start state") << QStringList() << QString();
        QTest::newRow("quoted texts") << QStringList{"linePrefix=前,缀'", "serialOut", "!keyboardOut"}
                                      << QString();
        QTest::newRow("password change left out")
            << QStringList{"changepwcheck", "newpw=fedcba9876543210", "confimpw=fedcba9876543210"} << QString();
        QTest::newRow("mismatched new password left out")
            << QStringList{"changepwcheck", "newpw=short", "confimpw=other"} << QString();
        QTest::newRow("comma in a bare field") << QStringList{"devnum=1,2"} << "设备号不能包含英文逗号(,)";
    }

    void fileOfTheForm()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, refusal);
        Widget window;
        fillForm(window, steps + QStringList{"manpw=" + kPassword});
        Ui_Widget &form = WidgetProbe(window).form();
        const config::FileContents file = config::fileContents(binding::read(form));
        QCOMPARE(file.refusal ? file.refusal->text : QString(), refusal);
        if (!refusal.isEmpty()) {
            QVERIFY(file.bytes.isEmpty());
            return;
        }
        form.changepwcheck->setChecked(false);
        const QString signedText = config::assemble(binding::read(form)).text;
        const QString text = QString::fromUtf8(file.bytes);
        QVERIFY(text.startsWith(QLatin1String("___TRVO_CONFIG_V1.1.0___{")));
        QCOMPARE(text.count('\n'), 1);
        QVERIFY(text.endsWith(QLatin1String("}\n")));
        QCOMPARE(text.chopped(1), signedText.left(signedText.lastIndexOf(QLatin1String("--"))));
    }

    // A file that is refused names itself and leaves every field as it was.
    void opening_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("refusal");
        // A key the import does not read pads the file to its limit.
        const QByteArray known = "ochannel=2,note='";
        const QByteArray largest = known + QByteArray(65536 - known.size() - 1, 'p') + "'";
        QTest::newRow("our file") << QByteArray("___TRVO_CONFIG_V1.1.0___{ochannel=2,w_mode=1}\n") << QString();
        QTest::newRow("a reader's signed text") << QByteArray("ochannel=2,w_mode=1--AAAA==") << QString();
        QTest::newRow("byte-order mark and CRLF") << QByteArray("\xEF\xBB\xBFochannel=2\r\n") << QString();
        QTest::newRow("64 KiB") << largest << QString();
        QTest::newRow("a byte over 64 KiB") << largest + " "
                                            << "大于 64 KiB";
        QTest::newRow("not UTF-8") << QByteArray("ochannel=2,prefix='\xFF'") << "不是 UTF-8 文本";
        // A value the form would show otherwise is lost on the next save.
        QTest::newRow("a number out of range")
            << QByteArray("ochannel=2,brightness=999") << "brightness=999 无法载入";
        QTest::newRow("no number") << QByteArray("ochannel=2,devnum=abc") << "devnum=abc 无法载入";
        QTest::newRow("a line the form lacks")
            << QByteArray("ochannel=2,p_uart1='1234567-9-Q-3'") << "p_uart1=1234567-9-Q-3 无法载入";
        QTest::newRow("a prefix too long to read back") << "ochannel=2,prefix='" + QByteArray(200, 'p') + "'"
                                                        << "prefix=pppp";
        QTest::newRow("a mask no box stands for") << QByteArray("ochannel=2,de_type=3") << "de_type=3 无法载入";
        QTest::newRow("a NUL") << QByteArray("ochannel=2\0,w_mode=2", 20) << "不是 UTF-8 文本";
        QTest::newRow("empty") << QByteArray() << "没有本工具认识的配置项";
        QTest::newRow("no key the import knows")
            << QByteArray("colour=blue,ochannel=x") << "没有本工具认识的配置项";
        QTest::newRow("missing") << QByteArray("<missing>") << "无法读取文件";
        QTest::newRow("a pipe, never waited on") << QByteArray("<pipe>") << "不是普通文件";
    }

    void opening()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, refusal);
        const QString path = dir.filePath(QStringLiteral("opened.tcfg"));
        QFile::remove(path);
        QVERIFY(bytes == "<missing>"
                || (bytes == "<pipe>" ? ::mkfifo(QFile::encodeName(path), 0600) == 0 : writeBytes(path, bytes)));
        Widget window;
        const FormState before = formState(window);
        std::optional<QString> reason;
        {
            StreamCapture quiet(stderr);
            reason = openInto(WidgetProbe(window).form(), path);
        }
        QCOMPARE(reason.has_value(), !refusal.isEmpty());
        if (!reason) {
            QCOMPARE(formChild<QAbstractButton>(window, "serialOut")->isChecked(), true);
            return;
        }
        QVERIFY2(reason->contains(refusal) && reason->contains(path), qPrintable(*reason));
        QCOMPARE(formState(window), before);
    }

    // A write that fails halfway, as on a full disk, leaves the old file
    // whole and no temporary file beside it.
    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("kept.tcfg"));
        QVERIFY(writeBytes(path, "old\n"));
        std::optional<QString> failure;
        {
            FileSizeLimit limit(4096);
            failure = config::writeConfigFile(path, QByteArray(65536, 'n'));
        }
        QVERIFY(failure);
        QVERIFY2(failure->contains(path) && failure->contains(QStringLiteral("large")), qPrintable(*failure));
        QCOMPARE(readBytes(path), QByteArray("old\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.tcfg"});

        QVERIFY(!config::writeConfigFile(path, "new\n"));
        QCOMPARE(readBytes(path), QByteArray("new\n"));
    }

    // A file that holds a password is its owner's alone; a link is written
    // through, and stays a link.
    void writtenFileKeepsItsSecrets_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ownerOnly");
        QTest::newRow("no password") << QByteArray("ochannel=2,psk='',haddr='http://u@h/'") << false;
        QTest::newRow("Wi-Fi password") << QByteArray("ochannel=8,ssid='n',psk='secret'") << true;
        QTest::newRow("password in an address") << QByteArray("ochannel=32,haddr='u:pw@h/'") << true;
        QTest::newRow("password as a parameter") << QByteArray("ochannel=32,haddr='h/?password=pw'") << true;
    }

    void writtenFileKeepsItsSecrets()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ownerOnly);
        QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("target.tcfg"));
        const QString link = folder.filePath(QStringLiteral("link.tcfg"));
        QVERIFY(writeBytes(target, "old\n") && QFile::link(target, link));
        QVERIFY(!config::writeConfigFile(link, bytes));
        QCOMPARE(readBytes(target), bytes);
        QVERIFY(QFileInfo(link).isSymLink());
        const mode_t mask = ::umask(0);
        ::umask(mask);
        struct stat written;
        QVERIFY(::stat(QFile::encodeName(target).constData(), &written) == 0);
        QCOMPARE(written.st_mode & 0777, ownerOnly ? mode_t(0600) : (0666 & ~mask));
    }

private:
    ScriptDir script;
    QTemporaryDir dir;
};

QTEST_MAIN(ConfigFileTest)
#include "test_config_file.moc"
