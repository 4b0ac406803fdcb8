// The device library against a peer that means harm, over TCP and over a
// pseudo-terminal: floods that never stop, frames that crawl in, and the
// serial port's own settings, which must outlive our use of it.
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/reader_sim.h"
#include "trvo/frame.h"
#include "trvo/trvo.h"

// A forked child holds copies of the parent's threads' allocations, which
// it cannot free: the leak check of a sanitizer build stays off at its exit.
static int inForkedChild = 0;
extern "C" int __lsan_is_turned_off()
{
    return inForkedChild;
}

namespace {

using Clock = std::chrono::steady_clock;

// Time bounds against hangs, not speed claims: a sanitizer build runs several
// times slower and gets more room.
#ifdef TARVO_SANITIZED
const int kSlackMs = 500;
#else
const int kSlackMs = 100;
#endif
const int kTimeoutMs = 300;
const size_t kSmallPayload = 2000;

using Bytes = std::vector<unsigned char>;

enum class Pattern {
    OtherSequence,    // back-to-back empty replies to some other request
    Noise,            // bytes that never hold a sound header
    Markers,          // start markers and nothing else
    Drip,             // a header announcing the largest payload, then a byte every 20 ms
    BurstThenSilence, // a header announcing the largest payload, 2000 bytes of it, then nothing
    PacedReply        // the real answer, at twice the line rate but past the time-out
};

Bytes frameOf(uint16_t seq, int32_t command, size_t payload)
{
    Bytes frame(trvo_frame_size(payload));
    const Bytes bytes(payload, 'v');
    trvo_frame_encode(frame.data(), frame.size(), TRVO_FRAME_REPLY, seq, command, bytes.data(), payload);
    return frame;
}

// What a peer sends once it has read the request: the lead at once, then
// the rest in steps on a fixed schedule, the whole over and over if it repeats.
struct Play
{
    Bytes bytes;
    size_t lead;
    size_t step;
    std::chrono::nanoseconds pause;
    bool repeats;
};

Play playOf(Pattern pattern, uint16_t seq, int32_t command, unsigned baud)
{
    using std::chrono::milliseconds;
    Bytes flood;
    switch (pattern) {
    case Pattern::OtherSequence:
        for (int i = 0; i < 512; ++i) {
            const Bytes frame = frameOf(uint16_t(seq + 1), command, 0);
            flood.insert(flood.end(), frame.begin(), frame.end());
        }
        break;
    case Pattern::Noise:
        for (int i = 0; i < 16384; ++i)
            flood.push_back(static_cast<unsigned char>((i * 37 + 11) % TRVO_FRAME_MARKER_0));
        break;
    case Pattern::Markers:
        for (int i = 0; i < 8192; ++i)
            flood.insert(flood.end(), {TRVO_FRAME_MARKER_0, TRVO_FRAME_MARKER_1});
        break;
    case Pattern::Drip:
        return {frameOf(seq, command, TRVO_FRAME_MAX_PAYLOAD), TRVO_FRAME_HEADER_SIZE, 1, milliseconds(20),
                false};
    case Pattern::BurstThenSilence: {
        Bytes burst = frameOf(seq, command, TRVO_FRAME_MAX_PAYLOAD);
        burst.resize(TRVO_FRAME_HEADER_SIZE + 2000);
        return {burst, burst.size(), 1, milliseconds(0), false};
    }
    case Pattern::PacedReply:
        return {frameOf(seq, command, kSmallPayload), 10, 10,
                std::chrono::nanoseconds(10 * 10'000'000'000LL / baud / 2), false};
    }
    return {flood, flood.size(), 1, milliseconds(0), true};
}

// The other end of a link, playing one pattern from its own thread once it
// has read a request, until it is told to stop.
class HostilePeer
{
public:
    HostilePeer(int fd, Pattern pattern, unsigned baud)
        : fd_(fd), thread_([this, pattern, baud] { run(pattern, baud); })
    {}
    ~HostilePeer()
    {
        stop_ = true;
        thread_.join();
        ::close(fd_);
    }

private:
    // Writes all bytes unless told to stop; false once stopped or broken.
    bool send(const unsigned char *bytes, size_t count)
    {
        for (size_t done = 0; done < count;) {
            const ssize_t n = ::write(fd_, bytes + done, count - done);
            if (n > 0)
                done += size_t(n);
            else if (stop_ || !(n < 0 && errno == EAGAIN))
                return false;
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
        return !stop_;
    }

    void run(Pattern pattern, unsigned baud)
    {
        Bytes received;
        trvo_frame request;
        size_t used = 0;
        while (trvo_frame_decode(received.data(), received.size(), &request, &used) != TRVO_FRAME_OK) {
            pollfd p{fd_, POLLIN, 0};
            ::poll(&p, 1, 10);
            unsigned char chunk[4096];
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (stop_)
                return;
            if (n > 0)
                received.insert(received.end(), chunk, chunk + n);
        }
        const Play play = playOf(pattern, request.seq, request.command, baud);
        do {
            if (!send(play.bytes.data(), play.lead))
                return;
            const Clock::time_point start = Clock::now();
            for (size_t done = play.lead, steps = 1; done < play.bytes.size(); done += play.step, ++steps) {
                std::this_thread::sleep_until(start + play.pause * steps);
                if (!send(play.bytes.data() + done, std::min(play.step, play.bytes.size() - done)))
                    return;
            }
        } while (play.repeats);
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A pseudo-terminal standing for a serial port; the test holds its device
// side open too, to look at its settings.
struct Pty
{
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            path = ptsname(master);
        device = ::open(path.constData(), O_RDWR | O_NOCTTY);
    }
    ~Pty()
    {
        ::close(device);
        if (master >= 0)
            ::close(master);
    }
    termios settings() const
    {
        termios t{};
        tcgetattr(device, &t);
        return t;
    }
    int master = -1;
    int device = -1;
    QByteArray path;
};

bool sameSettings(const termios &a, const termios &b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag && a.c_lflag == b.c_lflag
           && cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

struct Listener
{
    Listener()
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), size);
        ::listen(fd, 1);
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd); }
    int fd;
    quint16 port;
};

int callFor(intptr_t handle, int timeoutMs)
{
    rpc_buffer *request = rpc_buffer_new(nullptr, 0);
    rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
    const int result = trpc_call(handle, 12, request, &reply, timeoutMs, 1);
    rpc_buffer_free(reply);
    rpc_buffer_free(request);
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Pattern)

class HostilePeerTest : public QObject
{
    Q_OBJECT

private slots:
    void peerCannotHoldTheCall_data()
    {
        QTest::addColumn<QString>("link"); // tcp, or the pty's baud rate
        QTest::addColumn<Pattern>("pattern");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("boundMs"); // beyond the time-out, before the slack
        const struct
        {
            const char *name;
            Pattern pattern;
        } floods[] = {{"other sequence", Pattern::OtherSequence},
                      {"noise", Pattern::Noise},
                      {"markers", Pattern::Markers}};
        for (const auto &flood : floods) {
            QTest::addRow("tcp, %s", flood.name) << "tcp" << flood.pattern << int(TRVO_ETIMEDOUT) << 0;
            // The request's own wire time at 115200 baud is under 2 ms.
            QTest::addRow("pty, %s", flood.name) << "115200" << flood.pattern << int(TRVO_ETIMEDOUT) << 2;
        }
        // 23 ms: the request's wire time at 9600 baud. A dripping frame is
        // granted a tenth of the line rate, and its header's 18 bytes alone
        // buy 190 ms of that at 9600 baud.
        QTest::newRow("9600, drip") << "9600" << Pattern::Drip << int(TRVO_ETIMEDOUT) << 23 + 190;
        QTest::newRow("115200, drip") << "115200" << Pattern::Drip << int(TRVO_ETIMEDOUT) << 2 + 16;
        QTest::newRow("9600, burst then silence")
            << "9600" << Pattern::BurstThenSilence << int(TRVO_ETIMEDOUT) << 23;
        // A long answer in time with the line still comes through the
        // allowance: 2022 bytes at 9600 baud, sent in about a second.
        QTest::newRow("9600, long answer at line rate")
            << "9600" << Pattern::PacedReply << int(kSmallPayload) << 23 + 2106;
    }

    void peerCannotHoldTheCall()
    {
        QFETCH(QString, link);
        QFETCH(Pattern, pattern);
        QFETCH(int, expected);
        QFETCH(int, boundMs);
        Listener listener;
        Pty pty;
        const bool tcp = link == "tcp";
        useDeviceSetting(tcp ? QString("tcp:127.0.0.1:%1").arg(listener.port)
                             : "serial:" + QString::fromLocal8Bit(pty.path) + ':' + link);
        const intptr_t handle = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
        QVERIFY(handle != 0);
        const int peerFd = tcp ? ::accept4(listener.fd, nullptr, nullptr, SOCK_NONBLOCK) : ::dup(pty.master);
        QVERIFY(peerFd >= 0);
        int result = 0;
        qint64 elapsedMs = 0;
        {
            HostilePeer peer(peerFd, pattern, tcp ? 115200 : link.toUInt());
            QElapsedTimer clock;
            clock.start();
            result = callFor(handle, kTimeoutMs);
            elapsedMs = clock.elapsed();
        }
        trvo_channel_close(handle);
        QCOMPARE(result, expected);
        QVERIFY2(elapsedMs <= kTimeoutMs + boundMs + kSlackMs, qPrintable(QString::number(elapsedMs)));
    }

    void serialPortGetsItsSettingsBack_data()
    {
        QTest::addColumn<bool>("processEnds"); // instead of closing the channel
        QTest::newRow("channel closed") << false;
        QTest::newRow("process ends") << true;
    }

    void serialPortGetsItsSettingsBack()
    {
        QFETCH(bool, processEnds);
        Pty pty;
        const termios before = pty.settings();
        QVERIFY(before.c_lflag & ECHO);
        useDeviceSetting("serial:" + QString::fromLocal8Bit(pty.path) + ":9600:7E2");
        if (processEnds) {
            const pid_t child = fork();
            if (child == 0) {
                inForkedChild = 1;
                trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
                std::exit(sameSettings(pty.settings(), before) ? 1 : 0);
            }
            int status = 0;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0); // it changed them
        } else {
            const intptr_t handle = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
            QVERIFY(handle != 0);
            QVERIFY(!(pty.settings().c_lflag & ECHO));
            trvo_channel_close(handle);
        }
        QVERIFY(sameSettings(pty.settings(), before));
    }

    void refusesWhatIsNoSerialPort_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("regular file") << "file";
        QTest::newRow("folder") << "folder";
        QTest::newRow("fifo") << "fifo";
    }

    void refusesWhatIsNoSerialPort()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("port"));
        if (kind == "file")
            QVERIFY(QFile(dir.filePath("port")).open(QIODevice::WriteOnly));
        else if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("port"));
        else
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        useDeviceSetting("serial:" + QString::fromLocal8Bit(path));
        errno = 0;
        QCOMPARE(trvo_channel_open(TRVO_CHANNEL_CONFIG, 0), intptr_t(0));
        QCOMPARE(errno, ENOTTY);
    }
};

QTEST_GUILESS_MAIN(HostilePeerTest)
#include "test_hostile_peer.moc"
