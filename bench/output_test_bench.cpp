// The output test under a flood: a TCP client sends 1000 messages a second
// for 10 s, twice (the second round pushes the first out of the log), then
// one sends 50 000 a second, then 100 clients send as fast as the window
// takes them, each for 10 s, to the window's receiver. Measures how late a
// 10 ms timer of the window's thread fires (the window's responsiveness),
// what arrived, and the memory the process holds before and after each
// round. A first round without messages shows how late the timer fires on
// the machine as it is.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpServer>
#include <QTimer>

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <QComboBox>
#include <QPushButton>

#include <fcntl.h>
#include <vector>

#include "bench_support.h"
#include "core/form_source.h"
#include "outputtest/output_test_window.h"

namespace {

constexpr int kSeconds = 10; // a round
constexpr int kTickMs = 10;
constexpr int kFloodSenders = 100;
constexpr int kMessageBytes = 12; // "AB" + 7 digits + "XY" + CR

// The form the window works from: TCP output with a prefix, a suffix and CR.
class BenchForm : public FormSource
{
public:
    explicit BenchForm(quint16 port)
    {
        form.wifiOut = true;
        form.tcpport = QString::number(port);
        form.linePrefix = QStringLiteral("AB");
        form.lineSuffix = QStringLiteral("XY");
        form.enterCheck = true;
    }
    const config::FormValue &value() const override { return form; }

private:
    config::FormValue form;
};

int connectTo(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A line of /proc/self/status in KiB (VmRSS, VmHWM).
long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Sends `rate` messages a second for kSeconds, a hundredth of them every
// 10 ms in a write of their own; returns how many went out.
int paced(quint16 port, int round, int rate)
{
    const int fd = connectTo(port);
    if (fd < 0)
        return 0;
    int sent = 0;
    timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (int batch = 0; batch < kSeconds * 100; ++batch) {
        QByteArray lines;
        for (int i = 0; i < rate / 100; ++i)
            lines += "AB" + QByteArray::number(round) + '-' + QByteArray::number(sent + i).rightJustified(7, '0')
                     + "XY\r";
        if (::send(fd, lines.constData(), size_t(lines.size()), MSG_NOSIGNAL) == lines.size())
            sent += rate / 100;
        next.tv_nsec += 10 * 1000 * 1000;
        if (next.tv_nsec >= 1000 * 1000 * 1000) {
            next.tv_nsec -= 1000 * 1000 * 1000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
    ::close(fd);
    return sent;
}

// kFloodSenders connections send fixed-length messages as fast as the
// receiver takes them for kSeconds; returns how many whole messages went out.
int flood(quint16 port)
{
    std::vector<int> peers;
    for (int i = 0; i < kFloodSenders; ++i)
        if (const int fd = connectTo(port); fd >= 0 && ::fcntl(fd, F_SETFL, O_NONBLOCK) == 0)
            peers.push_back(fd);
    QByteArray lines;
    for (int i = 0; i < 100; ++i)
        lines += "AB" + QByteArray::number(i).rightJustified(7, '0') + "XY\r";
    std::vector<qint64> sentBytes(peers.size(), 0);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSeconds * 1000) {
        bool any = false;
        for (std::size_t i = 0; i < peers.size(); ++i) {
            const int offset = int(sentBytes[i] % lines.size());
            const ssize_t n =
                ::send(peers[i], lines.constData() + offset, size_t(lines.size() - offset), MSG_NOSIGNAL);
            if (n > 0) {
                sentBytes[i] += n;
                any = true;
            }
        }
        if (!any)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    qint64 messages = 0;
    for (std::size_t i = 0; i < peers.size(); ++i) {
        messages += sentBytes[i] / kMessageBytes;
        ::close(peers[i]);
    }
    return int(messages);
}

// CPU seconds the window's thread has used.
double threadCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}

// Runs the window's event loop, asleep while nothing happens, until done.
void runUntil(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    check.start(kTickMs);
    loop.exec();
}

void waitMs(int ms)
{
    QElapsedTimer clock;
    clock.start();
    runUntil([&] { return clock.elapsed() >= ms; });
}

// Runs one round against the window and prints its line of the table.
void measureRound(OutputTestWindow &window, quint16 port, int round, long before)
{
    const char *kinds[] = {"none", "1, 1000/s", "1, 1000/s", "1, 50 000/s", "100, full speed"};
    const auto &log = *window.findChild<output_test::OutputLog *>(QStringLiteral("messageLog"));
    const int arrivedBefore = log.rowCount() + log.dropped();
    std::atomic<int> sent{0};
    std::atomic<bool> done{false};
    std::thread client([&] {
        if (round == 4)
            sent = flood(port);
        else if (round > 0)
            sent = paced(port, round, round == 3 ? 50000 : 1000);
        else
            std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
        done = true;
    });
    const double cpuBefore = threadCpuSeconds();
    QElapsedTimer sinceTick;
    sinceTick.start();
    qint64 worstGap = 0;
    int late = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 gap = sinceTick.restart();
        worstGap = std::max(worstGap, gap);
        late += gap > 100 ? 1 : 0;
    });
    tick.start(kTickMs);
    runUntil([&] { return bool(done); });
    client.join();
    // A paced round waits until all it sent has arrived (what the window
    // could not take at once waits in the connection), the flood only a moment.
    QElapsedTimer drain;
    drain.start();
    const auto arrived = [&] { return log.rowCount() + log.dropped() - arrivedBefore; };
    runUntil(
        [&] { return round == 4 ? drain.elapsed() >= 1500 : arrived() >= sent || drain.elapsed() >= 120000; });
    const double drainSeconds = round == 4 ? 0.0 : drain.elapsed() / 1000.0;
    waitMs(300);
    tick.stop();
    const long after = statusKiB("VmRSS:");
    std::printf("| %d | %s | %d | %d | %.1f | %d | %lld | %d | %.2f | %.1f | %.1f |\n", round, kinds[round],
                int(sent), arrived(), drainSeconds, log.dropped(), static_cast<long long>(worstGap), late,
                threadCpuSeconds() - cpuBefore, after / 1024.0, (after - before) / 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    std::printf("%s\n", qPrintable(machineSummary()));

    const quint16 port = freePort();
    BenchForm form(port);
    OutputTestWindow window(form, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    auto *where = window.findChild<QComboBox *>(QStringLiteral("listenAddress"));
    where->setCurrentIndex(where->count() - 1); // this computer only
    window.findChild<QPushButton *>(QStringLiteral("startButton"))->click();
    waitMs(500);
    const long before = statusKiB("VmRSS:");

    std::printf(
        "\n| round | senders, rate | sent | arrived (in the log + dropped) | caught up after (s) | dropped "
        "| longest gap between ticks (ms) | ticks late >100 ms | window thread CPU (s) | RSS after (MiB) "
        "| RSS growth (MiB) |\n");
    std::printf("|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    // Round 0 sends nothing: the machine's own lateness, for comparison.
    for (int round = 0; round <= 4; ++round)
        measureRound(window, port, round, before);
    std::printf("\nRSS before the first round: %.1f MiB; peak (VmHWM): %.1f MiB\n", before / 1024.0,
                statusKiB("VmHWM:") / 1024.0);
    return 0;
}
