#define _GNU_SOURCE
#include "trvo/tty_restore.h"

#include <errno.h>
#include <signal.h>
#include <stddef.h>

enum { MAX_PORTS = 16 };

/* Read by the handler: a slot is in use while its fd_plus_one is not 0,
 * which is set after the settings and cleared before they go. */
static struct
{
    volatile sig_atomic_t fd_plus_one;
    struct termios saved;
} ports[MAX_PORTS];
static int ports_kept;

static const int restoring_signals[] = {SIGINT, SIGTERM, SIGHUP};
enum { SIGNAL_COUNT = sizeof restoring_signals / sizeof restoring_signals[0] };
static struct sigaction previous[SIGNAL_COUNT];
static int installed[SIGNAL_COUNT];

static int index_of(int signal_number)
{
    for (int i = 0; i < SIGNAL_COUNT; ++i)
        if (restoring_signals[i] == signal_number)
            return i;
    return -1;
}

/* Only async-signal-safe calls: tcsetattr, sigaction, raise. The program
 * then ends as it would have without us, or its own handler runs. */
static void put_back_and_pass_on(int signal_number, siginfo_t *info, void *context)
{
    const int saved_errno = errno;
    for (int i = 0; i < MAX_PORTS; ++i) {
        const int fd = (int)ports[i].fd_plus_one - 1;
        if (fd >= 0)
            tcsetattr(fd, TCSANOW, &ports[i].saved);
    }
    const int k = index_of(signal_number);
    if (k >= 0 && previous[k].sa_handler == SIG_DFL) {
        sigaction(signal_number, &previous[k], NULL);
        raise(signal_number); /* delivered once this handler returns */
    } else if (k >= 0 && (previous[k].sa_flags & SA_SIGINFO)) {
        previous[k].sa_sigaction(signal_number, info, context);
    } else if (k >= 0) {
        previous[k].sa_handler(signal_number);
    }
    errno = saved_errno;
}

static void install(void)
{
    struct sigaction ours;
    ours.sa_sigaction = put_back_and_pass_on;
    ours.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&ours.sa_mask);
    for (int k = 0; k < SIGNAL_COUNT; ++k) {
        struct sigaction before;
        /* A signal the program ignores does not end it. */
        if (sigaction(restoring_signals[k], NULL, &before) != 0 || before.sa_handler == SIG_IGN)
            continue;
        previous[k] = before;
        installed[k] = sigaction(restoring_signals[k], &ours, NULL) == 0;
    }
}

static void uninstall(void)
{
    for (int k = 0; k < SIGNAL_COUNT; ++k) {
        if (installed[k])
            sigaction(restoring_signals[k], &previous[k], NULL);
        installed[k] = 0;
    }
}

void tty_restore_keep(int fd, const struct termios *saved)
{
    for (int i = 0; i < MAX_PORTS; ++i) {
        if (ports[i].fd_plus_one == 0) {
            ports[i].saved = *saved;
            ports[i].fd_plus_one = fd + 1;
            if (ports_kept++ == 0)
                install();
            return;
        }
    }
}

void tty_restore_forget(int fd)
{
    for (int i = 0; i < MAX_PORTS; ++i) {
        if (ports[i].fd_plus_one == fd + 1) {
            ports[i].fd_plus_one = 0;
            if (--ports_kept == 0)
                uninstall();
            return;
        }
    }
}
