// The output test under a flood: a TCP client sends 1000 messages a second
// for 10 s, twice (the second round pushes the first out of the log), to
// the window's receiver. Measures how late a 10 ms timer of the window's
// thread fires (the window's responsiveness), what arrived, and the
// memory the process holds before and after each round. A first round
// without messages shows how late the timer fires on the machine as it is.
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

#include "outputtest/output_test_window.h"
#include "bench_support.h"

namespace {

constexpr int kRate = 1000;   // messages a second
constexpr int kSeconds = 10;  // a round
constexpr int kTickMs = 10;

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

// Sends kRate messages a second for kSeconds, ten every 10 ms, each in a
// write of its own; returns how many went out.
int flood(quint16 port, int round)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return 0;
    int sent = 0;
    timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (int batch = 0; batch < kRate * kSeconds / 10; ++batch) {
        for (int i = 0; i < 10; ++i) {
            char line[32];
            const int length = std::snprintf(line, sizeof line, "AB%d-%07dXY\r", round, sent);
            if (::send(fd, line, size_t(length), MSG_NOSIGNAL) == length)
                ++sent;
        }
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

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    std::printf("%s\n", qPrintable(machineSummary()));

    output_test::Settings settings;
    settings.channel = output_test::Channel::Tcp;
    settings.tcpPort = freePort();
    settings.scanPrefix = {QStringLiteral("AB"), false};
    settings.scanSuffix = {QStringLiteral("XY"), false};
    settings.carriageReturn = true;
    OutputTestWindow window(settings, nullptr);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    waitMs(500);
    const long before = statusKiB("VmRSS:");

    std::printf("\n| round | sent | in the log | dropped | longest gap between ticks (ms) | ticks late >100 ms | window thread CPU (s) | RSS after (MiB) | RSS growth (MiB) |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    // Round 0 sends nothing: the machine's own lateness, for comparison.
    for (int round = 0; round <= 2; ++round) {
        std::atomic<int> sent{0};
        std::atomic<bool> done{false};
        std::thread client([&] {
            if (round > 0)
                sent = flood(settings.tcpPort, round);
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
        waitMs(500);
        tick.stop();
        const long after = statusKiB("VmRSS:");
        std::printf("| %d | %d | %d | %d | %lld | %d | %.2f | %.1f | %.1f |\n", round, int(sent),
                    window.log().rowCount(), window.log().dropped(), static_cast<long long>(worstGap), late,
                    threadCpuSeconds() - cpuBefore, after / 1024.0, (after - before) / 1024.0);
    }
    std::printf("\nRSS before the first round: %.1f MiB; peak (VmHWM): %.1f MiB\n", before / 1024.0,
                statusKiB("VmHWM:") / 1024.0);
    return 0;
}
