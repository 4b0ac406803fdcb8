// The device library against the reader simulator, over TCP and over a
// pseudo-terminal: the three commands, the calling contract around the
// buffers, time-outs, lost and restored links, and each way a reader may
// misbehave.
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QPainter>
#include <QTcpServer>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <qrencode.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/reader_sim.h"
#include "trvo/cause.h"
#include "trvo/trvo.h"

namespace {

const QByteArray factoryPassword = "Tarvo#Factory#16";
const int generousMs = 3000; // bound for calls with a time-out of 300 or 800

QByteArray signedText(const QByteArray &body, const QByteArray &password)
{
    const QByteArray enveloped = "___TRVO_CONFIG_V1.1.0___{" + body + "}";
    return enveloped + "--"
           + QMessageAuthenticationCode::hash(enveloped, password, QCryptographicHash::Md5).toBase64();
}

struct CallResult
{
    int result = 0;
    QByteArray payload;         // of the block *reply designates afterwards
    bool replyKept = false;     // *reply is the caller's own block afterwards
    bool requestIntact = false; // the request block, header included, unchanged
    qint64 elapsedMs = 0;
};

// One call as the tool makes it: an empty reply block, released afterwards
// whatever the library did with it.
CallResult call(intptr_t handle, int32_t command, const QByteArray &requestPayload = QByteArray(),
                int timeoutMs = 300)
{
    rpc_buffer *request = rpc_buffer_new(requestPayload.constData(), requestPayload.size());
    const QByteArray requestBefore(reinterpret_cast<const char *>(request),
                                   RPC_BUFFER_HEADER_SIZE + requestPayload.size());
    rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
    rpc_buffer *const own = reply;

    CallResult r;
    QElapsedTimer clock;
    clock.start();
    r.result = trpc_call(handle, command, request, &reply, timeoutMs, 1);
    r.elapsedMs = clock.elapsed();
    r.replyKept = reply == own;
    r.payload = QByteArray(rpc_buffer_data(reply), rpc_buffer_len(reply));
    r.requestIntact = QByteArray(reinterpret_cast<const char *>(request), requestBefore.size()) == requestBefore;
    rpc_buffer_free(reply);
    rpc_buffer_free(request);
    return r;
}

QByteArray storedConfig(const ReaderSim &sim)
{
    QFile file(sim.statePath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QJsonDocument::fromJson(file.readAll()).object().value("config").toString().toUtf8();
}

// A channel closed at the end of its test.
struct Channel
{
    explicit Channel(const QString &setting)
    {
        useDeviceSetting(setting);
        handle = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
    }
    ~Channel() { trvo_channel_close(handle); }
    intptr_t handle;
};

quint16 portNobodyListensOn()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A config code as the tool paints it: level Q, four pixels a module.
bool saveConfigCode(const QByteArray &text, const QString &path)
{
    QRcode *code = QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_Q, QR_MODE_8, 1);
    if (!code)
        return false;
    const int scale = 4;
    QImage picture(code->width * scale, code->width * scale, QImage::Format_Grayscale8);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            if (code->data[y * code->width + x] & 1)
                painter.fillRect(x * scale, y * scale, scale, scale, Qt::black);
        }
    }
    painter.end();
    QRcode_free(code);
    return picture.save(path, "PNG");
}

QString settingFor(const QString &link, const ReaderSim &sim)
{
    return link == "tcp" ? sim.tcpSetting() : sim.serialSetting();
}

void addLinkRows()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("tcp") << "tcp";
    QTest::newRow("pty") << "pty";
}

} // namespace

class DeviceLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTextAndVersion_data() { addLinkRows(); }

    void readsTextAndVersion()
    {
        QFETCH(QString, link);
        ReaderSim sim;
        QVERIFY(sim.start({"--firmware", "TRVO-TEST 2.3.4"}));
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);

        const CallResult config = call(channel.handle, 2);
        QCOMPARE(config.result, config.payload.size());
        QVERIFY(!config.replyKept);
        QVERIFY(config.requestIntact);
        QCOMPARE(config.payload, storedConfig(sim) + '\0');

        // The reader ignores a request payload; the library must not touch it.
        const CallResult version = call(channel.handle, 12, "probe");
        QCOMPARE(version.payload, QByteArray("TRVO-TEST 2.3.4\0", 16));
        QVERIFY(version.requestIntact);
    }

    void writesSignedConfiguration_data() { addLinkRows(); }

    void writesSignedConfiguration()
    {
        QFETCH(QString, link);
        ReaderSim sim;
        QVERIFY(sim.start());
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);
        const QByteArray before = storedConfig(sim);

        const QByteArray wrong = signedText("prefix='never'", "0123456789abcdef");
        CallResult r = call(channel.handle, 1, wrong, 800);
        QCOMPARE(r.payload, QByteArray(1, 1));
        QVERIFY(r.requestIntact);
        QCOMPARE(storedConfig(sim), before);

        // The last value of a key wins; a key the reader lacks is added;
        // quoted values keep their commas and quotes.
        r = call(channel.handle, 1, signedText("prefix='first',cr=0,newkey=5,prefix='a,b'c'", factoryPassword),
                 800);
        QCOMPARE(r.payload, QByteArray(1, 0));
        const QByteArray after = call(channel.handle, 2).payload;
        QVERIFY(after.contains(",prefix='a,b'c',"));
        QVERIFY(after.contains(",cr=0,"));
        QVERIFY(after.endsWith(QByteArray(",newkey=5\0", 10)));
        QVERIFY(!after.contains("first"));

        // A long text travels in many pieces.
        const QByteArray longPrefix(30000, 'p');
        r = call(channel.handle, 1, signedText("prefix='" + longPrefix + "'", factoryPassword), 800);
        QCOMPARE(r.payload, QByteArray(1, 0));
        QVERIFY(call(channel.handle, 2).payload.contains("prefix='" + longPrefix + "'"));
    }

    void passwordChangeHoldsAcrossRestart_data() { addLinkRows(); }

    void passwordChangeHoldsAcrossRestart()
    {
        QFETCH(QString, link);
        const QByteArray newPassword = "NewPassword-0016";
        ReaderSim sim;
        QVERIFY(sim.start());
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);

        QCOMPARE(call(channel.handle, 1, signedText("w_mode=2,com_passwd='" + newPassword + "'", factoryPassword),
                      800)
                     .payload,
                 QByteArray(1, 0));
        QVERIFY(!call(channel.handle, 2).payload.contains("com_passwd"));

        // Restarted on the same state file; the same handle finds it again.
        sim.kill();
        QVERIFY(sim.start());
        QCOMPARE(call(channel.handle, 1, signedText("w_mode=4", factoryPassword), 800).payload, QByteArray(1, 1));
        QCOMPARE(call(channel.handle, 1, signedText("w_mode=8", newPassword), 800).payload, QByteArray(1, 0));
        QVERIFY(call(channel.handle, 2).payload.endsWith(QByteArray(",w_mode=8\0", 10)));
    }

    void openFailsQuicklyWithoutReader_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("cause");
        QTest::addColumn<QString>("named"); // what the message must name
        const QString port = QString::number(portNobodyListensOn());
        const QString missing = QDir::temp().filePath("tarvo-no-such-reader");
        QTest::newRow("tcp refused") << "tcp:127.0.0.1:" + port << int(TRVO_CAUSE_REFUSED) << port;
        QTest::newRow("no such port") << "serial:" + missing << int(TRVO_CAUSE_NO_PORT) << missing;
        QTest::newRow("not a port") << "serial:/dev/null" << int(TRVO_CAUSE_NOT_A_PORT) << "/dev/null";
        QTest::newRow("unknown host") << "tcp:no-such-host.invalid:1" << int(TRVO_CAUSE_UNREACHABLE)
                                      << "no-such-host.invalid";
        QTest::newRow("malformed") << "usb:0" << int(TRVO_CAUSE_SETTING) << "usb:0";
    }

    // Each open names its cause through trvo_failure(0), by the path or host.
    void openFailsQuicklyWithoutReader()
    {
        QFETCH(QString, setting);
        QFETCH(int, cause);
        QFETCH(QString, named);
        QElapsedTimer clock;
        clock.start();
        Channel channel(setting);
        QCOMPARE(channel.handle, intptr_t(0));
        QVERIFY(clock.elapsed() < generousMs);
        char message[TRVO_FAILURE_MESSAGE_SIZE];
        QCOMPARE(trvo_failure(0, message, sizeof message), cause);
        QVERIFY2(QString(message).contains(named), message);

        // The same through the call that takes the link itself.
        useDeviceSetting("usb:never-read");
        QCOMPARE(trvo_channel_open_link(setting.toUtf8().constData()), intptr_t(0));
        QCOMPARE(trvo_failure(0, nullptr, 0), cause);
    }

    // Where the system's errors become causes; a test run as root never
    // meets a port it may not open.
    void systemErrorsReadAsCauses_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("cause");
        QTest::newRow("EACCES") << EACCES << int(TRVO_CAUSE_PERMISSION);
        QTest::newRow("EPERM") << EPERM << int(TRVO_CAUSE_PERMISSION);
        QTest::newRow("EBUSY") << EBUSY << int(TRVO_CAUSE_BUSY);
        QTest::newRow("ENODEV") << ENODEV << int(TRVO_CAUSE_NO_PORT);
        QTest::newRow("EIO") << EIO << int(TRVO_CAUSE_SYSTEM);
    }

    void systemErrorsReadAsCauses()
    {
        QFETCH(int, error);
        QFETCH(int, cause);
        QCOMPARE(int(trvo_cause_of_errno(error)), cause);
    }

    // One program at a time on a serial port: a second process, or a second
    // channel of this one, is refused as busy until the holder lets go.
    void serialPortIsTakenExclusively()
    {
        ReaderSim sim;
        QVERIFY(sim.start());
        const QByteArray link = sim.serialSetting().toUtf8();
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            const char opened = trvo_channel_open_link(link.constData()) != 0 ? 'y' : 'n';
            (void)!::write(ready[1], &opened, 1);
            ::pause();
            ::_exit(0);
        }
        char opened = 0;
        QCOMPARE(::read(ready[0], &opened, 1), ssize_t(1));
        ::close(ready[0]);
        ::close(ready[1]);
        QCOMPARE(opened, 'y');
        char message[TRVO_FAILURE_MESSAGE_SIZE];
        QCOMPARE(trvo_channel_open_link(link.constData()), intptr_t(0));
        QCOMPARE(trvo_failure(0, message, sizeof message), int(TRVO_CAUSE_BUSY));
        QVERIFY2(QString(message).contains(sim.ptyLink()), message);
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);

        const intptr_t first = trvo_channel_open_link(link.constData());
        QVERIFY(first != 0);
        QCOMPARE(trvo_channel_open_link(link.constData()), intptr_t(0));
        trvo_channel_close(first);
        const intptr_t again = trvo_channel_open_link(link.constData());
        QVERIFY(again != 0);
        QVERIFY(call(again, 12).result > 0);
        trvo_channel_close(again);
    }

    // A port (a terminal, say) set raw gets its settings back when the
    // program holding it is ended by a signal, as it does on a close.
    void terminalRestoredOnSignals_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void terminalRestoredOnSignals()
    {
        QFETCH(int, signalNumber);
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QByteArray terminal = ::ptsname(master);
        const int slave = ::open(terminal.constData(), O_RDWR | O_NOCTTY);
        QVERIFY(slave >= 0);
        struct termios before;
        QVERIFY(::tcgetattr(slave, &before) == 0 && (before.c_lflag & ICANON));
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            // A plain program, without the test's own crash handlers.
            for (int other : {SIGINT, SIGTERM, SIGHUP})
                std::signal(other, SIG_DFL);
            const char opened = trvo_channel_open_link(("serial:" + terminal).constData()) != 0 ? 'y' : 'n';
            (void)!::write(ready[1], &opened, 1);
            for (;;)
                ::pause();
        }
        char opened = 0;
        QCOMPARE(::read(ready[0], &opened, 1), ssize_t(1));
        QCOMPARE(opened, 'y');
        struct termios raw;
        QVERIFY(::tcgetattr(slave, &raw) == 0 && !(raw.c_lflag & ICANON));
        ::kill(holder, signalNumber);
        int status = 0;
        ::waitpid(holder, &status, 0);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber);
        struct termios after;
        QVERIFY(::tcgetattr(slave, &after) == 0);
        QCOMPARE(after.c_lflag, before.c_lflag);
        QCOMPARE(after.c_iflag, before.c_iflag);
        for (int fd : {ready[0], ready[1], slave, master})
            ::close(fd);
    }

    // A reader answers a write once its flash is written, up to 2 s later:
    // the write waits for that whatever the caller passed; beyond it, the
    // call times out although the reader may have stored the text.
    void writeWaitsForTheFlash_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("result");
        QTest::newRow("tcp, 2 s") << "tcp" << 2000 << 1;
        QTest::newRow("pty, 2 s") << "pty" << 2000 << 1;
        QTest::newRow("tcp, 3 s") << "tcp" << 3000 << int(TRVO_ETIMEDOUT);
    }

    void writeWaitsForTheFlash()
    {
        QFETCH(QString, link);
        QFETCH(int, lateMs);
        QFETCH(int, result);
        ReaderSim sim;
        QVERIFY(sim.start({"--fault", "late:1", "--late-ms", QString::number(lateMs)}));
        Channel channel(settingFor(link, sim));
        const CallResult write = call(channel.handle, 1, signedText("prefix='flash'", factoryPassword), 800);
        QCOMPARE(write.result, result);
        if (result < 0)
            QVERIFY(write.elapsedMs >= TRVO_WRITE_TIMEOUT_FLOOR_MS - 10);
        QVERIFY(write.elapsedMs < TRVO_WRITE_TIMEOUT_FLOOR_MS + generousMs);
        QCOMPARE(trvo_failure(channel.handle, nullptr, 0),
                 int(result > 0 ? TRVO_CAUSE_NONE : TRVO_CAUSE_TIMEOUT));
        QVERIFY(call(channel.handle, 2).payload.contains("prefix='flash'"));
    }

    // The simulator's readers that store something else, or vanish once
    // they have stored what they were sent.
    void readersThatStoreBehindTheAnswer_data() { addLinkRows(); }

    void readersThatStoreBehindTheAnswer()
    {
        QFETCH(QString, link);
        ReaderSim sim;
        QVERIFY(sim.start({"--fault", "alter:1"}));
        Channel channel(settingFor(link, sim));
        QCOMPARE(call(channel.handle, 1, signedText("brightness=200", factoryPassword), 800).payload,
                 QByteArray(1, 0));
        QVERIFY(call(channel.handle, 2).payload.contains(",brightness=201,"));

        QVERIFY(sim.control("fault vanish:1", "fault vanish:1"));
        QCOMPARE(call(channel.handle, 1, signedText("brightness=7", factoryPassword), 800).result,
                 int(TRVO_ELOST));
        QCOMPARE(trvo_failure(channel.handle, nullptr, 0), int(TRVO_CAUSE_LOST));
        QVERIFY(call(channel.handle, 2).result < 0);
        QVERIFY(storedConfig(sim).contains(",brightness=7,"));
    }

    // The tool keeps its one handle for the life of the process: a reader
    // that goes away and comes back must be found again through it.
    void sameHandleAfterReaderReturns_data() { addLinkRows(); }

    void sameHandleAfterReaderReturns()
    {
        QFETCH(QString, link);
        ReaderSim sim;
        QVERIFY(sim.start());
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);
        QVERIFY(call(channel.handle, 12).result > 0);

        sim.kill();
        const CallResult gone = call(channel.handle, 12);
        QVERIFY(gone.result < 0);
        QVERIFY(gone.replyKept);
        QVERIFY(gone.elapsedMs < generousMs);
        QVERIFY(call(channel.handle, 12).result < 0);

        QVERIFY(sim.start());
        const CallResult back = call(channel.handle, 12);
        QVERIFY(back.result > 0);
        QVERIFY(back.payload.startsWith("TRVO-SIM"));

        // Gone and back between two calls: the very next call finds it.
        sim.kill();
        QVERIFY(sim.start());
        QVERIFY(call(channel.handle, 12).result > 0);
    }

    void misbehavingReaderFailsTheCall_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("cause"); // as trvo_failure names it
        const struct
        {
            const char *fault;
            int expected;
            int cause;
        } faults[] = {
            {"noanswer", TRVO_ETIMEDOUT, TRVO_CAUSE_TIMEOUT},
            {"late", TRVO_ETIMEDOUT, TRVO_CAUSE_TIMEOUT},
            {"garbage", TRVO_ETIMEDOUT, TRVO_CAUSE_BAD_REPLY},
            {"short", TRVO_ETIMEDOUT, TRVO_CAUSE_BAD_REPLY},
            {"oversize", TRVO_EFRAME, TRVO_CAUSE_BAD_REPLY},
            {"badcrc", TRVO_EFRAME, TRVO_CAUSE_BAD_REPLY},
            {"close", TRVO_ELOST, TRVO_CAUSE_LOST},
            {"refuse", TRVO_EREFUSED, TRVO_CAUSE_REJECTED},
        };
        for (const QString link : {"tcp", "pty"}) {
            for (const auto &f : faults)
                QTest::newRow(qPrintable(link + ' ' + f.fault))
                    << link << QString(f.fault) << f.expected << f.cause;
        }
    }

    // Each fault fails the call in bounded time, leaves the caller's reply
    // block alone, and does not spoil the next call on the same handle.
    void misbehavingReaderFailsTheCall()
    {
        QFETCH(QString, link);
        QFETCH(QString, fault);
        QFETCH(int, expected);
        QFETCH(int, cause);
        ReaderSim sim;
        QVERIFY(sim.start({"--fault", fault, "--late-ms", "1000"}));
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);

        const CallResult failed = call(channel.handle, 2);
        QCOMPARE(failed.result, expected);
        QCOMPARE(trvo_failure(channel.handle, nullptr, 0), cause);
        QVERIFY(failed.replyKept);
        QCOMPARE(failed.payload, QByteArray());
        QVERIFY(failed.requestIntact);
        QVERIFY(failed.elapsedMs < generousMs);
        if (expected == TRVO_ETIMEDOUT)
            QVERIFY(failed.elapsedMs >= 290); // the time-out counts milliseconds

        QVERIFY(sim.control("fault none", "fault none"));
        const CallResult next = call(channel.handle, 12, QByteArray(), 800);
        QVERIFY2(next.result > 0, qPrintable(QString::number(next.result)));
        QCOMPARE(trvo_failure(channel.handle, nullptr, 0), int(TRVO_CAUSE_NONE));
        QVERIFY(next.payload.startsWith("TRVO-SIM"));
    }

    // A late answer to a call that timed out arrives while the next call of
    // the same command waits; it must not be taken for that call's answer.
    void lateAnswerIsNotTakenForTheNext_data() { addLinkRows(); }

    void lateAnswerIsNotTakenForTheNext()
    {
        QFETCH(QString, link);
        ReaderSim sim;
        QVERIFY(sim.start({"--fault", "late:2", "--late-ms", "600"}));
        Channel channel(settingFor(link, sim));
        QVERIFY(channel.handle != 0);
        // Its answer, the text as it stands now, comes 600 ms later.
        QCOMPARE(call(channel.handle, 2, QByteArray(), 300).result, int(TRVO_ETIMEDOUT));
        QCOMPARE(call(channel.handle, 1, signedText("prefix='changed'", factoryPassword), 800).payload,
                 QByteArray(1, 0));
        const CallResult text = call(channel.handle, 2, QByteArray(), 800);
        QVERIFY(text.result > 0);
        QVERIFY(text.payload.contains("prefix='changed'"));
    }

    void settingForms_data()
    {
        QTest::addColumn<QString>("setting"); // with the simulator's {port} and {pty}
        QTest::addColumn<bool>("opens");
        QTest::newRow("tcp by name") << "tcp:localhost:{port}" << true;
        QTest::newRow("serial with baud") << "serial:{pty}:9600" << true;
        QTest::newRow("serial with baud and format") << "serial:{pty}:57600:7e2" << true;
        QTest::newRow("unknown kind") << "usb:{pty}" << false;
        QTest::newRow("tcp without port") << "tcp:127.0.0.1" << false;
        QTest::newRow("tcp port 0") << "tcp:127.0.0.1:0" << false;
        QTest::newRow("tcp port too high") << "tcp:127.0.0.1:70000" << false;
        QTest::newRow("tcp port not a number") << "tcp:127.0.0.1:{port}x" << false;
        QTest::newRow("tcp without host") << "tcp::{port}" << false;
        QTest::newRow("serial without path") << "serial:" << false;
        QTest::newRow("serial unknown baud") << "serial:{pty}:12345" << false;
        QTest::newRow("serial format without baud") << "serial:{pty}:8N1" << false;
        QTest::newRow("serial bad format") << "serial:{pty}:9600:9X1" << false;
        QTest::newRow("serial not a terminal") << "serial:/dev/null" << false;
    }

    void settingForms()
    {
        QFETCH(QString, setting);
        QFETCH(bool, opens);
        ReaderSim sim;
        QVERIFY(sim.start());
        Channel channel(setting.replace("{port}", QString::number(sim.port())).replace("{pty}", sim.ptyLink()));
        QCOMPARE(channel.handle != 0, opens);
        if (opens)
            QVERIFY(call(channel.handle, 12).result > 0);
    }

    // A reader scans config codes too; what it applies shows over the link.
    void scansConfigCodes()
    {
        QTemporaryDir dir;
        const QString accepted = dir.filePath("accepted.png");
        const QString refused = dir.filePath("refused.png");
        QVERIFY(saveConfigCode(signedText("prefix='scanned',nl=1", factoryPassword), accepted));
        QVERIFY(saveConfigCode(signedText("prefix='never'", "0123456789abcdef"), refused));

        ReaderSim sim;
        QVERIFY(sim.start({"--scan", accepted}));
        QVERIFY(sim.lines().contains("config applied (scan)"));
        QVERIFY(sim.control("scan " + refused, "config refused (scan): bad signature"));
        QVERIFY(sim.control("scan " + dir.filePath("missing.png"), "scan: cannot read the picture"));

        Channel channel(sim.tcpSetting());
        const QByteArray text = call(channel.handle, 2).payload;
        QVERIFY(text.contains(",prefix='scanned',"));
        QVERIFY(!text.contains("never"));
    }

    // One channel per thread: more channels than a reader run used to allow
    // are open at once, calls run side by side, and each thread's failed
    // open reports its own cause while the others open theirs.
    void channelsOnManyThreads()
    {
        const int readers = 4;
        const int tcpPerReader = 4;
        std::vector<std::unique_ptr<ReaderSim>> sims;
        for (int i = 0; i < readers; ++i) {
            sims.push_back(std::make_unique<ReaderSim>());
            QVERIFY(sims.back()->start({"--firmware", QString("FW-%1").arg(i)}));
        }
        struct Job
        {
            QByteArray setting;
            QByteArray firmware; // empty: the open must fail with cause
            int cause = 0;
            std::atomic<int> faults{0};
        };
        std::vector<std::unique_ptr<Job>> jobs;
        auto add = [&jobs](const QString &setting, const QByteArray &firmware, int cause) {
            jobs.push_back(std::make_unique<Job>());
            jobs.back()->setting = setting.toUtf8();
            jobs.back()->firmware = firmware;
            jobs.back()->cause = cause;
        };
        for (int i = 0; i < readers; ++i) {
            const QByteArray firmware = QByteArray("FW-") + QByteArray::number(i) + '\0';
            add(sims[size_t(i)]->serialSetting(), firmware, 0);
            for (int k = 0; k < tcpPerReader; ++k)
                add(sims[size_t(i)]->tcpSetting(), firmware, 0);
            add("tcp:127.0.0.1:" + QString::number(portNobodyListensOn()), {}, TRVO_CAUSE_REFUSED);
            add("serial:/dev/null", {}, TRVO_CAUSE_NOT_A_PORT);
        }
        std::atomic<int> opened{0};
        const int expectedOpen = readers * (1 + tcpPerReader);
        auto run = [&opened, expectedOpen](Job &job) {
            for (int round = 0; round < 3; ++round) {
                const intptr_t handle = trvo_channel_open_link(job.setting.constData());
                if (job.firmware.isEmpty()) {
                    job.faults += handle != 0 || trvo_failure(0, nullptr, 0) != job.cause;
                    continue;
                }
                job.faults += handle == 0;
                // Every channel stays open until all are, the first round.
                for (++opened; round == 0 && opened < expectedOpen;)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                for (int k = 0; k < 10 && handle; ++k)
                    job.faults += call(handle, 12).payload != job.firmware;
                trvo_channel_close(handle);
            }
        };
        std::vector<std::thread> threads;
        for (auto &job : jobs)
            threads.emplace_back(run, std::ref(*job));
        for (auto &thread : threads)
            thread.join();
        for (const auto &job : jobs)
            QVERIFY2(job->faults == 0, job->setting.constData());
    }

    void refusesBadArguments()
    {
        QCOMPARE(trvo_channel_open(2, 0), intptr_t(0));
        QCOMPARE(trvo_channel_open(TRVO_CHANNEL_CONFIG, 1), intptr_t(0));

        ReaderSim sim;
        QVERIFY(sim.start());
        Channel channel(sim.tcpSetting());
        QVERIFY(channel.handle != 0);

        rpc_buffer *request = rpc_buffer_new(nullptr, 0);
        rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
        rpc_buffer *const own = reply;
        for (intptr_t handle : {intptr_t(0), intptr_t(-1), intptr_t(99), channel.handle + 1})
            QCOMPARE(trpc_call(handle, 12, request, &reply, 300, 1), int(TRVO_EINVAL));
        QCOMPARE(trpc_call(channel.handle, 12, nullptr, &reply, 300, 1), int(TRVO_EINVAL));
        QCOMPARE(trpc_call(channel.handle, 12, request, nullptr, 300, 1), int(TRVO_EINVAL));
        QCOMPARE(trpc_call(channel.handle, 12, request, &reply, 0, 1), int(TRVO_EINVAL));
        QCOMPARE(trpc_call(channel.handle, 12, request, &reply, 300, 0), int(TRVO_EINVAL));
        QCOMPARE(reply, own);

        // The payload bound: the largest request goes, one byte more does not.
        const QByteArray largest(TRVO_MAX_PAYLOAD, 'r');
        QCOMPARE(call(channel.handle, 12, largest + 'r').result, int(TRVO_EINVAL));
        QVERIFY(call(channel.handle, 12, largest, 800).result > 0);

        // A null reply pointer on entry is simply replaced.
        reply = nullptr;
        QVERIFY(trpc_call(channel.handle, 12, request, &reply, 300, 1) > 0);
        QVERIFY(reply);
        rpc_buffer_free(reply);
        rpc_buffer_free(own);
        rpc_buffer_free(request);
    }
};

QTEST_GUILESS_MAIN(DeviceLibraryTest)
#include "test_device_library.moc"
