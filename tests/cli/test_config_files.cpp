// Configuration files from the user's side: the window's title, closing
// over unsaved changes, refused and dropped files, and the command line's
// modes run as a process in a folder of their own, writing to simulated
// readers too.
#include <QDropEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "config/assembly.h"
#include "config/config_file.h"
#include "core/dialog_folder.h"
#include "crypto/base64.h"
#include "crypto/hmac_md5.h"
#include "device/link_failure.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/reader_sim.h"
#include "tools/qrread/qr_reader.h"
#include "window/code_actions.h"
#include "window/config_file_controller.h"
#include "window/widget.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString kFormTitle = QStringLiteral("Tarvo配置工具V2.1.20");
const QByteArray kPassword = "0123456789abcdef";
const QByteArray kNewPassword = "fedcba9876543210";
// A reader's text with a channel, a quoted prefix and a number.
const QByteArray kReaderText = "ochannel=2,prefix='前,缀',devnum=7,w_mode=1--AAAA==";

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A process whose files may grow only a few bytes, where it should.
class LimitedProcess : public QProcess
{
public:
    explicit LimitedProcess(bool limited) : limited(limited) {}

protected:
    void setupChildProcess() override
    {
        if (!limited)
            return;
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    bool limited;
};

struct Run
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// The signed text the window gives for the reader's text, optionally with
// a password change.
QString windowText(const QString &file, bool newPassword)
{
    Widget window;
    MessageBoxAnswerer refusals;
    if (!window.configFiles().open(file))
        return QString();
    fillForm(window, {"manpw=" + QString::fromLatin1(kPassword)});
    if (newPassword)
        fillForm(window, {"changepwcheck", "newpw=" + QString::fromLatin1(kNewPassword),
                          "confimpw=" + QString::fromLatin1(kNewPassword)});
    return WidgetProbe(window).buildConfigText();
}

// The text before the signature signed with the password gives the signature.
bool signatureHolds(const QByteArray &signedText, const QByteArray &password)
{
    const int dashes = signedText.lastIndexOf("--");
    const QByteArray text = signedText.left(dashes);
    unsigned char digest[HMAC_MD5_DIGEST_SIZE];
    hmac_md5(reinterpret_cast<const unsigned char *>(text.constData()), size_t(text.size()),
             reinterpret_cast<const unsigned char *>(password.constData()), size_t(password.size()), digest);
    char *encoded = base64_encode(digest, HMAC_MD5_DIGEST_SIZE);
    const bool holds = signedText.mid(dashes + 2) == QByteArray(encoded);
    std::free(encoded);
    return holds;
}

} // namespace

class ConfigFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The recently used files go to a settings folder of the test's own.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("settings"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
        QVERIFY(
            QFile::copy(QStringLiteral(TARVO_SHIPPED_SCRIPT), dir.filePath(QStringLiteral("update_config.lua"))));
        QDir::setCurrent(dir.path());
        QVERIFY(writeBytes(QStringLiteral("reader.tcfg"), kReaderText));
        QVERIFY(writeBytes(QStringLiteral("unknown.tcfg"), "colour=blue\n"));
        // The folder a user starts the installed command in, and a desktop
        // session's runtime folder.
        QVERIFY(QDir().mkpath(QStringLiteral("caller")));
        QVERIFY(QFile::copy(QStringLiteral("reader.tcfg"), QStringLiteral("caller/mine.tcfg")));
        QVERIFY(QDir().mkdir(QStringLiteral("runtime")));
        QVERIFY(QFile::setPermissions(QStringLiteral("runtime"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        mountSmallDisk();
    }

    void cleanupTestCase()
    {
        if (tmpfsMounted)
            QProcess::execute(QStringLiteral("umount"), {fullDisk.path()});
    }

    // Ctrl+S puts the form into the open file, with no dialog in between.
    void saveShortcutWritesTheOpenFile()
    {
        QVERIFY(writeBytes(QStringLiteral("shortcut.tcfg"), kReaderText));
        Widget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        MessageBoxAnswerer answerer;
        QVERIFY(window.configFiles().open(QStringLiteral("shortcut.tcfg")));
        fillForm(window, {"devnum=42"});
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(readBytes(QStringLiteral("shortcut.tcfg")).contains("devnum=42,"));
        QVERIFY(!window.configFiles().isModified());
    }

    // A file dialog starts beside the open file, else where the last file
    // went, else in the documents folder, never in the program's folder.
    void dialogsStartInTheUsersFolders()
    {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config"))
            .remove(QStringLiteral("lastDialogFolder"));
        QCOMPARE(dialogFolder(), documents.isEmpty() ? QDir::homePath() : documents);
        QVERIFY(QDir().mkpath(QStringLiteral("exports/gone")));
        rememberDialogFolder(dir.filePath(QStringLiteral("exports/code.png")));
        QCOMPARE(dialogFolder(), dir.filePath(QStringLiteral("exports")));
        QCOMPARE(dialogFolder(dir.filePath(QStringLiteral("caller/mine.tcfg"))),
                 dir.filePath(QStringLiteral("caller")));
        rememberDialogFolder(dir.filePath(QStringLiteral("exports/gone/code.png")));
        QVERIFY(QDir(dir.filePath(QStringLiteral("exports/gone"))).removeRecursively());
        QCOMPARE(dialogFolder(), documents.isEmpty() ? QDir::homePath() : documents);
    }

    // The title is the form's until a file opens; then it names the file
    // and marks changes until they are saved.
    void titleFollowsTheFile()
    {
        Widget window;
        window.show();
        ConfigFileController &files = window.configFiles();
        QCOMPARE(window.windowTitle(), kFormTitle);
        MessageBoxAnswerer answerer;
        QVERIFY(files.open(QStringLiteral("reader.tcfg")));
        QCOMPARE(window.windowTitle(), "reader.tcfg[*] - " + kFormTitle);
        QVERIFY(!window.isWindowModified());

        auto *enter = formChild<QAbstractButton>(window, "enterCheck");
        QTest::mouseClick(enter, Qt::LeftButton);
        QTRY_VERIFY(window.isWindowModified());
        QTest::mouseClick(enter, Qt::LeftButton);
        QTRY_VERIFY(!window.isWindowModified());
        QTest::mouseClick(enter, Qt::LeftButton);
        QVERIFY(files.saveAs(dir.filePath(QStringLiteral("saved.tcfg"))));
        QCOMPARE(window.windowTitle(), "saved.tcfg[*] - " + kFormTitle);
        QVERIFY(!window.isWindowModified());
        QCOMPARE(files.recentFiles().mid(0, 2), QStringList({dir.filePath(QStringLiteral("saved.tcfg")),
                                                             dir.filePath(QStringLiteral("reader.tcfg"))}));
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
    }

    // Closing over unsaved changes asks; Cancel keeps the window, Discard
    // closes it, Save writes the file first.
    void closingAsks_data()
    {
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << int(MessageBoxAnswerer::Escape) << false << false;
        QTest::newRow("discard") << int(MessageBoxAnswerer::Discard) << true << false;
        QTest::newRow("save") << int(MessageBoxAnswerer::Save) << true << true;
    }

    void closingAsks()
    {
        QFETCH(int, reply);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString path = dir.filePath(QStringLiteral("closing.tcfg"));
        QVERIFY(writeBytes(path, kReaderText));
        Widget window;
        window.show();
        MessageBoxAnswerer answerer;
        QVERIFY(window.configFiles().open(path));
        const QByteArray before = readBytes(path);
        QTest::mouseClick(formChild<QAbstractButton>(window, "quitBtn"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(answerer.seen().size(), 0);

        window.show();
        fillForm(window, {"wrapCheck"});
        answerer.queue(MessageBoxAnswerer::Reply(reply));
        QTest::mouseClick(formChild<QAbstractButton>(window, "quitBtn"), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(window.isVisible(), !closed);
        QCOMPARE(readBytes(path).contains(",nl=1,"), saved);
        QCOMPARE(readBytes(path) == before, !saved);
    }

    // A refused file leaves the form, the title and the save button alone
    // and says why; a dropped file opens, other drops are not taken.
    void refusedAndDroppedFiles()
    {
        Widget window;
        window.show();
        const QByteArray formBefore = config::fileContents(WidgetProbe(window).formValue()).bytes;
        MessageBoxAnswerer answerer;
        QVERIFY(!window.configFiles().open(QStringLiteral("unknown.tcfg")));
        QCOMPARE(answerer.summary(),
                 QStringList{"打开配置文件 / 无法打开文件 unknown.tcfg：其中没有本工具认识的配置项"});
        QCOMPARE(config::fileContents(WidgetProbe(window).formValue()).bytes, formBefore);
        QCOMPARE(window.windowTitle(), kFormTitle);

        auto drop = [&](const QString &file) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(dir.filePath(file))});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&window, &enter);
            QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&window, &dropped);
            return enter.isAccepted();
        };
        QVERIFY(!drop(QStringLiteral("update_config.lua")));
        QCOMPARE(window.windowTitle(), kFormTitle);
        QVERIFY(drop(QStringLiteral("reader.tcfg")));
        QCOMPARE(window.windowTitle(), "reader.tcfg[*] - " + kFormTitle);
        QVERIFY(!formChild<QAbstractButton>(window, "saveBtn")->isEnabled());
        QCOMPARE(answerer.seen().size(), 1);
    }

    // Each mode with its exit code; standard output holds the result alone,
    // and standard error is empty unless something is said there.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        const QStringList password{"TARVO_CONFIG_PASSWORD=" + kPassword};
        const QByteArray signedText = windowText(QStringLiteral("reader.tcfg"), false).toUtf8() + '\n';
        const QByteArray withNewPassword = windowText(QStringLiteral("reader.tcfg"), true).toUtf8() + '\n';
        QVERIFY(signedText.size() > 1 && withNewPassword.contains("com_passwd"));
        QVERIFY(writeBytes(QStringLiteral("password"), kPassword + "\r\n"));
        QVERIFY(writeBytes(QStringLiteral("short"), "0123\n"));

        QTest::newRow("text") << QStringList{"--text", "reader.tcfg"} << password << 0 << signedText << "";
        QTest::newRow("text, password file")
            << QStringList{"--password-file", "password", "--text", "reader.tcfg"} << QStringList() << 0
            << signedText << "";
        QTest::newRow("text, new password")
            << QStringList{"--text", "reader.tcfg"}
            << password + QStringList{"TARVO_NEW_PASSWORD=" + kNewPassword} << 0 << withNewPassword << "";
        QTest::newRow("text, short password")
            << QStringList{"--password-file", "short", "--text", "reader.tcfg"} << QStringList() << 1
            << QByteArray() << "配置密码的长度需要为16个字符";
        QTest::newRow("text, no password") << QStringList{"--text", "reader.tcfg"} << QStringList() << 2
                                           << QByteArray() << "TARVO_CONFIG_PASSWORD";
        QTest::newRow("text, unknown file")
            << QStringList{"--text", "unknown.tcfg"} << password << 2 << QByteArray() << "没有本工具认识的配置项";
        QTest::newRow("save as, no folder") << QStringList{"--save-as", "no/normal.tcfg", "reader.tcfg"}
                                            << QStringList() << 2 << QByteArray() << "no/normal.tcfg";
        QTest::newRow("code, other format")
            << QStringList{"--code", "c.gif", "reader.tcfg"} << password << 2 << QByteArray() << "--code";
        QTest::newRow("two modes") << QStringList{"--text", "--save-as", "o.tcfg", "reader.tcfg"} << password << 2
                                   << QByteArray() << "不能同时使用";
        QTest::newRow("write, no device")
            << QStringList{"--write", "reader.tcfg"} << password << 2 << QByteArray() << "--device";
        QTest::newRow("device, no write") << QStringList{"--device", "tcp:127.0.0.1:1", "--text", "reader.tcfg"}
                                          << password << 2 << QByteArray() << "--write";
        QTest::newRow("write, link twice")
            << QStringList{"--write", "reader.tcfg", "--device", "tcp:127.0.0.1:1", "--device", "tcp:127.0.0.1:1"}
            << password << 2 << QByteArray() << "tcp:127.0.0.1:1 所指的读头已由前面的 --device 给出";
        QTest::newRow("write, one port twice")
            << QStringList{"--write",  "reader.tcfg",
                           "--device", "serial:caller/../caller",
                           "--device", "serial:" + dir.filePath("caller") + ":9600"}
            << password << 2 << QByteArray() << dir.filePath("caller") + ":9600 所指的读头";
        QTest::newRow("write, no jobs")
            << QStringList{"--write", "reader.tcfg", "--device", "tcp:127.0.0.1:1", "--jobs", "0"} << password
            << 2 << QByteArray() << "--jobs";
        QTest::newRow("json without write")
            << QStringList{"--json", "--text", "reader.tcfg"} << password << 2 << QByteArray() << "--json";
        QTest::newRow("write, unknown file")
            << QStringList{"--write", "unknown.tcfg", "--device", "tcp:127.0.0.1:1"} << password << 2
            << QByteArray() << "没有本工具认识的配置项";
        QVERIFY(::mkfifo("fifo.tcfg", 0600) == 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), QStringLiteral("full.png")));
        QTest::newRow("text, pipe") << QStringList{"--text", "fifo.tcfg"} << password << 2 << QByteArray()
                                    << "fifo.tcfg：不是普通文件";
        QTest::newRow("text, pipe, English")
            << QStringList{"--text", "fifo.tcfg", "--lang", "en"} << password << 2 << QByteArray()
            << "Cannot read the file fifo.tcfg: not a regular file";
        QTest::newRow("password file, pipe")
            << QStringList{"--password-file", "fifo.tcfg", "--text", "reader.tcfg"} << QStringList() << 2
            << QByteArray() << "不是普通文件";
        QTest::newRow("code, link to a device") << QStringList{"--code", "full.png", "reader.tcfg"} << password
                                                << 2 << QByteArray() << "full.png：不是普通文件";
        QTest::newRow("write, empty link") << QStringList{"--write", "reader.tcfg", "--device", ""} << password
                                           << 2 << QByteArray() << "--device 需要一个 LINK";
        QTest::newRow("write, blank link") << QStringList{"--write", "reader.tcfg", "--device", " "} << password
                                           << 2 << QByteArray() << "--device 需要一个 LINK";
        QTest::newRow("text, long password")
            << QStringList{"--text", "reader.tcfg"} << QStringList{"TARVO_CONFIG_PASSWORD=" + kPassword + "XYZ"}
            << 1 << QByteArray() << "配置密码的长度需要为16个字符";
        QTest::newRow("text, long new password")
            << QStringList{"--text", "reader.tcfg"}
            << password + QStringList{"TARVO_NEW_PASSWORD=ABCDEFGHIJKLMNOPQRST"} << 1 << QByteArray()
            << "新密码的长度需要为16个字符";
        QTest::newRow("text, password outside Latin-1")
            << QStringList{"--text", "reader.tcfg"}
            << QStringList{"TARVO_CONFIG_PASSWORD=" + QString(16, QChar(0x20ac))} << 1 << QByteArray()
            << "Latin-1";
        QTest::newRow("history, none since")
            << QStringList{"--history", "--since", "2999-01-01"} << password << 0 << QByteArray() << "";
        QTest::newRow("history, bad date")
            << QStringList{"--history", "--since", "soon"} << password << 2 << QByteArray() << "--since";
        QTest::newRow("history, a file") << QStringList{"--history", "reader.tcfg"} << password << 2
                                         << QByteArray() << "--history 不读取 FILE";
        QTest::newRow("csv alone") << QStringList{"--csv", "--text", "reader.tcfg"} << password << 2
                                   << QByteArray() << "--history";
        QTest::newRow("unknown option")
            << QStringList{"--frobnicate"} << password << 2 << QByteArray() << "frobnicate";
        QTest::newRow("text, short password, English")
            << QStringList{"--password-file", "short", "--text", "reader.tcfg", "--lang", "en"} << QStringList()
            << 1 << QByteArray() << "The configuration password must be 16 characters";
        QTest::newRow("text, missing file, English locale")
            << QStringList{"--text", "missing.tcfg"} << password + QStringList{"LC_ALL=en_GB.UTF-8"} << 2
            << QByteArray() << "Cannot read the file missing.tcfg";
        QTest::newRow("text, from the caller's folder")
            << QStringList{"--text", "mine.tcfg"}
            << password + QStringList{"TARVO_CALLER_DIR=" + dir.filePath("caller")} << 0 << signedText << "";
        QTest::newRow("text, verbose") << QStringList{"--verbose", "--text", "reader.tcfg"} << password << 0
                                       << signedText << "tarvo.script: ochannel lvalue is 2";
        QTest::newRow("version") << QStringList{"--version"} << QStringList() << 0
                                 << QByteArray("tarvo-config 2.1.20\n") << "";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        const Run run = runProgram(arguments, environment);
        if (err.isEmpty())
            QCOMPARE(run.err, QByteArray());
        QVERIFY2(QString::fromUtf8(run.err).contains(err), run.err.constData());
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
    }

    // Every refusal of the command line, in the language of the locale.
    void refusalsSpeakTheLocalesLanguage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        const QStringList write{"--write", "reader.tcfg", "--device", "tcp:127.0.0.1:1"};
        QTest::newRow("no password")
            << QStringList{"--text", "reader.tcfg"}
            << "没有配置密码：请设置 TARVO_CONFIG_PASSWORD 或给出 --password-file"
            << "no configuration password: set TARVO_CONFIG_PASSWORD or give --password-file";
        QTest::newRow("two modes") << QStringList{"--text", "--history"}
                                   << "--text、--code、--save-as、--write 和 --history 不能同时使用"
                                   << "--text, --code, --save-as, --write and --history exclude each other";
        QTest::newRow("csv alone") << QStringList{"--csv"} << "--since 和 --csv 只能与 --history 同用"
                                   << "--since and --csv go with --history";
        QTest::newRow("write alone") << QStringList{"--write", "reader.tcfg"}
                                     << "--write 需要至少一个 --device LINK"
                                     << "--write needs at least one --device LINK";
        QTest::newRow("device alone") << QStringList{"--device", "tcp:127.0.0.1:1"}
                                      << "--device 只能与 --write 同用"
                                      << "--device goes with --write";
        QTest::newRow("sheet alone") << QStringList{"--sheet", "site.csv"}
                                     << "--sheet 只能与 --write、--check 或 --read 同用"
                                     << "--sheet goes with --write, --check or --read";
        QTest::newRow("set in the window")
            << QStringList{"--set", "devnum=1", "reader.tcfg"} << "--set 需要 KEY=VALUE"
            << "--set takes KEY=VALUE";
        QTest::newRow("blank link") << QStringList{"--write", "reader.tcfg", "--device", ""}
                                    << "--device 需要一个 LINK，例如 tcp:HOST:PORT 或 serial:PATH"
                                    << "--device needs a LINK such as tcp:HOST:PORT or serial:PATH";
        QTest::newRow("json alone") << QStringList{"--json", "reader.tcfg"}
                                    << "--jobs、--json 和 --place 只能与 --write 同用"
                                    << "--jobs, --json and --place go with --write";
        QTest::newRow("two files") << QStringList{"a.tcfg", "b.tcfg"} << "最多只能给出一个 FILE"
                                   << "name one FILE at most";
        QTest::newRow("no file") << QStringList{"--text"} << "需要给出一个要读取的 FILE"
                                 << "name exactly one FILE to read";
        QTest::newRow("code, gif") << QStringList{"--code", "c.gif", "reader.tcfg"}
                                   << "--code 只写 .png、.svg 或 .pdf 文件"
                                   << "--code writes .png, .svg or .pdf files";
        QTest::newRow("jobs 0") << write + QStringList{"--jobs", "0"} << "--jobs 需要 1 到 64 之间的数"
                                << "--jobs takes a number from 1 to 64";
        QTest::newRow("link twice") << write + QStringList{"--device", "tcp:127.0.0.1:1"}
                                    << "tcp:127.0.0.1:1 所指的读头已由前面的 --device 给出"
                                    << "tcp:127.0.0.1:1 reaches a reader that an earlier --device already names";
        QTest::newRow("history, a file") << QStringList{"--history", "reader.tcfg"} << "--history 不读取 FILE"
                                         << "--history reads no FILE";
        QTest::newRow("since, no date")
            << QStringList{"--history", "--since", "soon"}
            << "--since 需要 YYYY-MM-DD 格式的日期，或 YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM] 格式的时间"
            << "--since takes a date as YYYY-MM-DD or a time as YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM]";
        const QStringList check{"--check", "reader.tcfg", "--device", "tcp:127.0.0.1:1"};
        QTest::newRow("check and find")
            << check + QStringList{"--find", "127.0.0.1"} << "--check、--read 和 --find 不能同时使用"
            << "--check, --read and --find exclude each other";
        QTest::newRow("check, text") << check + QStringList{"--text"}
                                     << "--text 不能与 --check、--read 或 --find 同用"
                                     << "--text goes with none of --check, --read and --find";
        QTest::newRow("check, no file")
            << QStringList{"--check", "--device", "tcp:127.0.0.1:1"} << "--check 需要正好一个 FILE"
            << "--check needs exactly one FILE";
        QTest::newRow("find, a file") << QStringList{"--find", "127.0.0.1", "reader.tcfg"}
                                      << "只有 --check 读取 FILE"
                                      << "only --check reads a FILE";
        QTest::newRow("find, a device") << QStringList{"--find", "127.0.0.1", "--device", "tcp:127.0.0.1:1"}
                                        << "--find 不接受 --device、--sheet 或 --set"
                                        << "--find takes no --device, --sheet or --set";
        QTest::newRow("read, nowhere")
            << QStringList{"--read", "--device", "tcp:127.0.0.1:1"}
            << "--read 需要 --save-as DIR（只有一个读头时可为 FILE）或 --sheet SITE.csv"
            << "--read needs --save-as DIR (or FILE for one reader), or --sheet SITE.csv";
        QTest::newRow("read, no reader")
            << QStringList{"--read", "--save-as", "out"} << "请用 --device 指定读头（--check 也可用 --sheet）"
            << "name the readers by --device (or, with --check, by --sheet)";
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "未知选项“frobnicate”。"
                                        << "Unknown option 'frobnicate'.";
        QTest::newRow("unknown language") << QStringList{"--lang", "fr", "--history"} << "--lang 需要 zh 或 en"
                                          << "--lang takes zh or en";
        QTest::newRow("unknown language, no display for the window")
            << QStringList{"--lang", "fr"} << "--lang 需要 zh 或 en"
            << "--lang takes zh or en";
        QTest::newRow("unwritable code") << QStringList{"--code", "no/c.png", "reader.tcfg"} << "无法写入 "
                                         << "cannot write ";
    }

    void refusalsSpeakTheLocalesLanguage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        const QString password = arguments.contains("--text") ? QString() : "TARVO_CONFIG_PASSWORD=" + kPassword;
        for (const QString &said : {chinese, english}) {
            const QString locale = said == chinese ? "LANG=zh_CN.UTF-8" : "LANG=en_US.UTF-8";
            const Run run = runProgram(arguments, {locale, password});
            QVERIFY2(QString::fromUtf8(run.err).contains(said), run.err.constData());
            QCOMPARE(run.exitCode, 2);
        }
    }

    // The language the window would take: --lang before LANGUAGE, LC_ALL,
    // LC_MESSAGES and LANG, in that order; the C locale is no English.
    void languageFollowsTheFirstChoice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<bool>("english");
        const QString zh = "zh_CN.UTF-8";
        const QString en = "en_US.UTF-8";
        QTest::newRow("LANG") << QStringList() << QStringList{"LANG=" + en} << true;
        QTest::newRow("LC_MESSAGES over LANG")
            << QStringList() << QStringList{"LANG=" + en, "LC_MESSAGES=" + zh} << false;
        QTest::newRow("LC_MESSAGES over LANG, English")
            << QStringList() << QStringList{"LANG=" + zh, "LC_MESSAGES=" + en} << true;
        QTest::newRow("LC_ALL over LC_MESSAGES")
            << QStringList() << QStringList{"LC_MESSAGES=" + en, "LC_ALL=" + zh} << false;
        QTest::newRow("LC_ALL over LC_MESSAGES, English")
            << QStringList() << QStringList{"LC_MESSAGES=" + zh, "LC_ALL=" + en} << true;
        QTest::newRow("LANGUAGE over LC_ALL")
            << QStringList() << QStringList{"LC_ALL=" + en, "LANGUAGE=zh_CN:zh"} << false;
        QTest::newRow("LC_ALL=C over LANG") << QStringList() << QStringList{"LANG=" + en, "LC_ALL=C"} << false;
        QTest::newRow("--lang en over LC_ALL")
            << QStringList{"--lang", "en"} << QStringList{"LC_ALL=" + zh} << true;
        QTest::newRow("--lang zh over LC_ALL")
            << QStringList{"--lang", "zh"} << QStringList{"LC_ALL=" + en, "LANG=" + en} << false;
    }

    void languageFollowsTheFirstChoice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(bool, english);
        const Run run = runProgram(arguments + QStringList{"--text", "reader.tcfg"}, environment);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(QString::fromUtf8(run.err).trimmed(),
                 "tarvo-config: "
                     + QString(english ? "no configuration password: set TARVO_CONFIG_PASSWORD or "
                                         "give --password-file"
                                       : "没有配置密码：请设置 TARVO_CONFIG_PASSWORD 或给出 --password-file"));
    }

    // The system's reason within a refusal speaks the refusal's language,
    // whatever the desktop's; the locales are built for the test alone.
    void systemReasonFollowsTheLanguage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("said");
        const QString english = "Cannot read the file missing.tcfg: No such file or directory";
        const QString chinese = "无法读取文件 missing.tcfg：没有那个文件或目录";
        // A Chinese desktop names its languages in LANGUAGE too.
        const QStringList chineseDesktop{"LANG=zh_CN.UTF-8", "LANGUAGE=zh_CN:zh"};
        const QStringList englishDesktop{"LANG=en_US.UTF-8"};
        QTest::newRow("English on a Chinese desktop") << QStringList{"--lang", "en"} << chineseDesktop << english;
        QTest::newRow("Chinese on an English desktop")
            << QStringList{"--lang", "zh"} << englishDesktop << chinese;
        QTest::newRow("Chinese desktop") << QStringList() << chineseDesktop << chinese;
        QTest::newRow("English desktop") << QStringList() << englishDesktop << english;
    }

    void systemReasonFollowsTheLanguage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, environment);
        QFETCH(QString, said);
        const QString locales = dir.filePath(QStringLiteral("locales"));
        QVERIFY(QDir().mkpath(locales));
        for (const QString name : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
            const QString built = locales + '/' + name;
            if (!QFileInfo::exists(built))
                QProcess::execute("localedef", {"-i", name.section('.', 0, 0), "-f", "UTF-8", built});
            if (!QFileInfo::exists(built))
                QSKIP("localedef cannot build the locales");
        }
        if (!QFileInfo::exists(QStringLiteral("/usr/share/locale/zh_CN/LC_MESSAGES/libc.mo")))
            QSKIP("the C library has no Chinese messages here");
        const Run run =
            runProgram(arguments + QStringList{"--text", "missing.tcfg"},
                       environment + QStringList{"LOCPATH=" + locales, "TARVO_CONFIG_PASSWORD=" + kPassword});
        QCOMPARE(QString::fromUtf8(run.err).trimmed(), "tarvo-config: " + said);
    }

    // Every line of --help in the language of the locale, which names the manual.
    void helpSpeaksTheLocalesLanguage()
    {
        for (const bool english : {false, true}) {
            const Run run = runProgram({"--help"}, {english ? "LANG=en_US.UTF-8" : "LANG=zh_CN.UTF-8"});
            QCOMPARE(run.exitCode, 0);
            const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
            QVERIFY(lines.size() > 15);
            for (const QString &line : lines)
                QVERIFY2(line.contains(QRegularExpression("[\\x{4e00}-\\x{9fff}]")) != english, qPrintable(line));
            QVERIFY(run.out.contains("man tarvo-config"));
        }
    }

    // --save-as writes the file the window saves; --code writes a code that
    // reads back as the window's signed text, with a signature that holds.
    void filesOfTheCommandLine()
    {
        QVERIFY(!runProgram({"--save-as", "cli.tcfg", "reader.tcfg"}, {}).exitCode);
        Widget window;
        MessageBoxAnswerer answerer;
        QVERIFY(window.configFiles().open(QStringLiteral("reader.tcfg")));
        QVERIFY(window.configFiles().saveAs(QStringLiteral("window.tcfg")));
        QCOMPARE(readBytes(QStringLiteral("cli.tcfg")), readBytes(QStringLiteral("window.tcfg")));

        const Run run = runProgram({"--code", "code.png", "reader.tcfg"}, {"TARVO_CONFIG_PASSWORD=" + kPassword});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.isEmpty());
        const QByteArray decoded = readQrCode(QImage(QStringLiteral("code.png")));
        QCOMPARE(decoded, windowText(QStringLiteral("reader.tcfg"), false).toUtf8());
        QVERIFY(signatureHolds(decoded, kPassword));
    }

    // --write saves to the readers side by side: a line for each as it
    // finishes (a silent reader's last, unless one runs at a time), the
    // count of each outcome on standard error, and with --json one object a
    // reader. Readers are named by role: two simulators (TCP and serial),
    // one that accepts and never answers, one port nobody listens on.
    void writeSideBySide_data()
    {
        QTest::addColumn<QStringList>("readers");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("results"); // role and outcome, in the order expected
        QTest::addColumn<bool>("exactOrder");     // else only the last line is certain
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("exitCode");
        const QStringList mixed{"silent", "tcp", "serial", "refused"};
        QTest::newRow("side by side") << mixed << QStringList{"--jobs", "4"}
                                      << QStringList{"tcp ok", "serial ok", "refused failed", "silent failed"}
                                      << false << "2 个成功，2 个失败，0 个未确认" << 1;
        QTest::newRow("one at a time") << mixed << QStringList{"--jobs", "1"}
                                       << QStringList{"silent failed", "tcp ok", "serial ok", "refused failed"}
                                       << true << "2 个成功，2 个失败，0 个未确认" << 1;
        QTest::newRow("side by side, json") << QStringList{"serial", "tcp", "silent"} << QStringList{"--json"}
                                            << QStringList{"serial ok", "tcp ok", "silent failed"} << false
                                            << "2 个成功，1 个失败，0 个未确认" << 1;
        QTest::newRow("all saved, json")
            << QStringList{"serial", "tcp"} << QStringList{"--json", "--jobs", "1"}
            << QStringList{"serial ok", "tcp ok"} << true << "2 个成功，0 个失败，0 个未确认" << 0;
    }

    void writeSideBySide()
    {
        QFETCH(QStringList, readers);
        QFETCH(QStringList, options);
        QFETCH(QStringList, results);
        QFETCH(bool, exactOrder);
        QFETCH(QString, summary);
        QFETCH(int, exitCode);
        ReaderSim tcp;
        ReaderSim serial;
        QVERIFY(tcp.start() && serial.start());
        QTcpServer silent; // the kernel accepts; nobody ever answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const QString refused = QStringLiteral("tcp:127.0.0.1:%1").arg(probe.serverPort());
        probe.close();
        const QMap<QString, QString> links{{"tcp", tcp.tcpSetting()},
                                           {"serial", serial.serialSetting()},
                                           {"silent",
                                            QStringLiteral("tcp:127.0.0.1:%1").arg(silent.serverPort())},
                                           {"refused", refused}};
        QStringList arguments{"--write", "reader.tcfg"};
        for (const QString &reader : readers)
            arguments << "--device" << links.value(reader);
        const Run run = runProgram(arguments + options, {"TARVO_CONFIG_PASSWORD=Tarvo#Factory#16"});
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(run.err), summary + '\n');

        const bool json = options.contains("--json");
        QStringList seen; // role and outcome, as printed
        for (const QByteArray &line : run.out.split('\n').mid(0, results.size())) {
            QString link = QString::fromUtf8(line).section(' ', 0, 0);
            QString outcome = QString::fromUtf8(line).section(' ', 1, 1).remove(':');
            if (json) {
                QJsonParseError error{};
                const QJsonObject object = QJsonDocument::fromJson(line, &error).object();
                QVERIFY2(error.error == QJsonParseError::NoError, line.constData());
                link = object.value("link").toString();
                outcome = object.value("result").toString();
                QCOMPARE(object.value("cause").isNull(), outcome == "ok");
                QCOMPARE(object.value("firmware").isString(), outcome == "ok");
                QVERIFY(object.value("seconds").toDouble(-1) >= 0);
            }
            seen << links.key(link) + ' ' + outcome;
        }
        QVERIFY(run.out.endsWith('\n') && run.out.count('\n') == results.size());
        QCOMPARE(seen.last(), results.last());
        if (!exactOrder) {
            seen.sort();
            results.sort();
        }
        QCOMPARE(seen, results);
    }

    // --write saves to each reader, over TCP and over a serial
    // line: a reader keyed with another configuration password refuses,
    // and the run says so on its line and fails as a whole.
    void writeToReaders()
    {
        ReaderSim factory;
        ReaderSim otherPassword;
        QVERIFY(factory.start({"--firmware", "TV-2.0"}));
        QVERIFY(writeBytes(otherPassword.statePath(), R"({"config": "prefix='TV-',devnum=7", "password": ")"
                                                          + kPassword + R"(", "firmware": "TV-1.0"})"));
        QVERIFY(otherPassword.start());
        const QString first = factory.tcpSetting();
        const QString second = otherPassword.serialSetting();
        // A record store of this case's own: other cases write records too.
        QTemporaryDir records;
        const QString store = "XDG_DATA_HOME=" + records.path();
        const Run run = runProgram({"--write", "reader.tcfg", "--device", first, "--device", second},
                                   {"TARVO_CONFIG_PASSWORD=Tarvo#Factory#16", store});
        QStringList lines = QString::fromUtf8(run.out).split('\n');
        lines.sort();
        QCOMPARE(lines, QStringList({"", second + " failed: " + QString::fromUtf8(device::kRefusedConfiguration),
                                     first + " ok"}));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("1 个成功，1 个失败，0 个未确认\n"));
        QVERIFY(factory.waitForLine("config applied (link)"));
        QVERIFY(readBytes(factory.statePath()).contains("前,缀"));
        QVERIFY(!readBytes(otherPassword.statePath()).contains("前,缀"));

        // Each link leaves a record, which --history prints.
        const Run history = runProgram({"--history", "--csv"}, {store});
        const QStringList rows = QString::fromUtf8(history.out).split("\r\n");
        QCOMPARE(rows.size(), 4); // the header, two records, the end
        // The links were written side by side, so in either order.
        QStringList recorded{rows.at(1).split(',').mid(1, 3).join('|'),
                             rows.at(2).split(',').mid(1, 3).join('|')};
        recorded.sort();
        QStringList expected{
            QStringList{first, "TV-2.0", "confirmed"}.join('|'),
            QStringList{second, "TV-1.0", "failed: " + QString::fromUtf8(device::kRefusedConfiguration)}.join(
                '|')};
        expected.sort();
        QCOMPARE(recorded, expected);
    }

    // A full disk fails every writer with the system's reason and leaves
    // the old file whole: the command line's files, its standard output,
    // and the window's file and exports.
    void fullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("target");
        QTest::newRow("save as") << QStringList{"--save-as", "%1", "reader.tcfg"} << "old.tcfg";
        for (const char *suffix : {"png", "svg", "pdf"})
            QTest::newRow(suffix) << QStringList{"--code", "%1", "reader.tcfg"}
                                  << QStringLiteral("old.") + suffix;
        QTest::newRow("standard output") << QStringList{"--text", "reader.tcfg"} << "/dev/full";
        QTest::newRow("help") << QStringList{"--help"} << "/dev/full";
    }

    void fullDiskKeepsTheOldFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, target);
        const QString path = target.startsWith('/') ? target : fullDisk.filePath(target);
        const QByteArray old = target.startsWith('/') ? QByteArray() : QByteArray("old bytes");
        QFile::remove(fullDisk.filePath(QStringLiteral("filler")));
        if (!old.isEmpty())
            QVERIFY(writeBytes(path, old));
        fillDisk();
        arguments.replaceInStrings(QStringLiteral("%1"), path);
        const Run run = runProgram(arguments, {"TARVO_CONFIG_PASSWORD=" + kPassword}, !old.isEmpty(),
                                   old.isEmpty() ? path : QString());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(std::strerror(tmpfsMounted || old.isEmpty() ? ENOSPC : EFBIG)),
                 run.err.constData());
        if (!old.isEmpty())
            QCOMPARE(readBytes(path), old);
        QCOMPARE(fullDisk.entryList({".*"}, QDir::Files | QDir::Hidden), QStringList());

        if (old.isEmpty() || arguments.constFirst() == "--help")
            return;
        Widget window;
        MessageBoxAnswerer answerer;
        QVERIFY(window.configFiles().open(QStringLiteral("reader.tcfg")));
        fillForm(window, {"manpw=" + QString::fromLatin1(kPassword)});
        formChild<CodeActions>(window, "codeActions")->setCode(windowText(QStringLiteral("reader.tcfg"), false));
        const bool written = withFullDisk([&] {
            return arguments.constFirst() == "--save-as"
                       ? window.configFiles().saveAs(path)
                       : formChild<CodeActions>(window, "codeActions")->exportTo(path);
        });
        QVERIFY(!written);
        QCOMPARE(readBytes(path), old);
        QCOMPARE(answerer.seen().size(), 1);
    }

private:
    // A folder on a 16 KiB tmpfs where the test may mount one; elsewhere
    // the writers run with a file size limit that nothing they write fits.
    void mountSmallDisk()
    {
        QDir().mkpath(fullDisk.path());
        tmpfsMounted = QProcess::execute(QStringLiteral("mount"),
                                         {"-t", "tmpfs", "-o", "size=16k", "tmpfs", fullDisk.path()})
                       == 0;
        if (!tmpfsMounted)
            qInfo("no tmpfs: a file size limit stands in for the full disk");
    }

    // Takes every block left on the tmpfs.
    void fillDisk()
    {
        if (!tmpfsMounted)
            return;
        QFile filler(fullDisk.filePath(QStringLiteral("filler")));
        filler.open(QIODevice::Append);
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    // Runs `write` in this process on the full disk.
    bool withFullDisk(const std::function<bool()> &write)
    {
        if (tmpfsMounted)
            return write();
        struct rlimit before;
        ::getrlimit(RLIMIT_FSIZE, &before);
        struct rlimit limited = before;
        limited.rlim_cur = 16;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limited);
        const bool written = write();
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        return written;
    }

    // The program with the given arguments and extra environment, in the
    // test's folder, on no display at all.
    Run runProgram(const QStringList &arguments, const QStringList &environment, bool onFullDisk = false,
                   const QString &standardOutput = QString())
    {
        LimitedProcess process(onFullDisk && !tmpfsMounted);
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "TARVO_CONFIG_PASSWORD", "TARVO_NEW_PASSWORD",
                                 "LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE", "TARVO_CALLER_DIR"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        for (const QString &setting : environment)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(TARVO_PROGRAM), arguments);
        if (!process.waitForFinished(60000))
            return {-1, {}, "the program did not finish"};
        const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return {code, process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QTemporaryDir dir;
    QDir fullDisk{dir.filePath(QStringLiteral("full"))};
    bool tmpfsMounted = false;
};

QTEST_MAIN(ConfigFilesTest)
#include "test_config_files.moc"
