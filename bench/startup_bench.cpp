// Times programs from process start to their first window on screen and
// measures their peak memory there, each beside the others:
//   startup_bench <runs> <probe library> <name>=<program>...
// Every run starts the program on the offscreen platform with the probe
// library preloaded (bench/shown_probe.cpp), which prints the monotonic clock
// once the first window has been painted and ends the process. The time
// counts from just before the spawn; the peak memory is the child's maximum
// resident set. The programs take turns, so that a change in the machine's
// load falls on all of them alike. Prints medians as a Markdown table.
#include <QByteArray>
#include <QVector>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench_support.h"

extern char **environ;

namespace {

const int kWarmUpRounds = 3;
// A program that has not shown its window by then is broken, not slow.
const int kShowTimeoutMs = 30000;

struct Program
{
    QByteArray name;
    QByteArray path;
    QVector<double> shownMs;
    QVector<double> peakMiB;
};

long long monotonicNs()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// One start of the program; false (with a message) if it did not show a window.
bool startOnce(Program &program, bool keep)
{
    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    // The tool's debug lines would otherwise interleave with the table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char *const argv[] = {program.path.data(), nullptr};

    const long long started = monotonicNs();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.path.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        std::fprintf(stderr, "%s: cannot start: %s\n", program.path.constData(), std::strerror(spawned));
        close(output[0]);
        return false;
    }

    QByteArray said;
    pollfd readable = {output[0], POLLIN, 0};
    while (poll(&readable, 1, kShowTimeoutMs) > 0) {
        char buffer[128];
        const ssize_t got = read(output[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        said.append(buffer, int(got));
    }
    close(output[0]);
    kill(child, SIGKILL); // only does something if the program hung
    int status = 0;
    rusage usage = {};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }

    long long shownAt = 0;
    if (std::sscanf(said.constData(), "shown %lld", &shownAt) != 1) {
        std::fprintf(stderr, "%s: no window was shown\n", program.name.constData());
        return false;
    }
    if (keep) {
        program.shownMs.append((shownAt - started) / 1e6);
        program.peakMiB.append(usage.ru_maxrss / 1024.0); // ru_maxrss is in KiB
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <runs> <probe library> <name>=<program>...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    setenv("LD_PRELOAD", argv[2], 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QVector<Program> programs;
    for (int i = 3; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        const int equals = argument.indexOf('=');
        programs.append({argument.left(equals), argument.mid(equals + 1), {}, {}});
    }

    // Each round starts with the next program: the one started first in a
    // round came out faster by 10 to 20 ms on this machine whichever it
    // was, so a fixed order favoured the first named.
    for (int round = 0; round < kWarmUpRounds + runs; ++round)
        for (int i = 0; i < programs.size(); ++i)
            if (!startOnce(programs[(round + i) % programs.size()], round >= kWarmUpRounds))
                return 1;

    std::printf("%s\n\n", qPrintable(machineSummary()));
    std::printf("Offscreen platform; medians of %d starts each, after %d warm-up starts.\n\n", runs,
                kWarmUpRounds);
    std::printf("| program | start to window shown (ms) | peak memory (MiB) |\n");
    std::printf("|---|---:|---:|\n");
    for (const Program &program : programs)
        std::printf("| %s | %.1f | %.1f |\n", program.name.constData(), median(program.shownMs),
                    median(program.peakMiB));
    return 0;
}
