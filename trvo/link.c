#define _GNU_SOURCE
#include "trvo/link.h"
#include "trvo/tty_restore.h"

#include <ctype.h>
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "trvo/trvo.h"

static const struct
{
    unsigned baud;
    speed_t speed;
} baud_table[] = {
    {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

static int speed_of(unsigned baud, speed_t *speed)
{
    for (size_t i = 0; i < sizeof baud_table / sizeof baud_table[0]; ++i) {
        if (baud_table[i].baud == baud) {
            *speed = baud_table[i].speed;
            return 0;
        }
    }
    return -1;
}

/* A non-empty run of at most nine digits within [min, max]. */
static int parse_decimal(const char *text, unsigned long min, unsigned long max, unsigned long *value)
{
    size_t len = strlen(text);
    if (len == 0 || len > 9 || strspn(text, "0123456789") != len)
        return -1;
    *value = strtoul(text, NULL, 10);
    return *value < min || *value > max ? -1 : 0;
}

static int parse_tcp(const char *rest, struct link_setting *s)
{
    const char *colon = strrchr(rest, ':');
    if (!colon || colon == rest)
        return -1;
    const char *host = rest;
    size_t host_len = (size_t)(colon - rest);
    if (host[0] == '[') { /* [IPv6 literal] */
        if (host_len < 3 || host[host_len - 1] != ']')
            return -1;
        ++host;
        host_len -= 2;
    }
    unsigned long port;
    if (host_len >= sizeof s->host || parse_decimal(colon + 1, 1, 65535, &port) != 0)
        return -1;
    memcpy(s->host, host, host_len);
    s->host[host_len] = '\0';
    snprintf(s->port, sizeof s->port, "%lu", port);
    s->kind = LINK_TCP;
    return 0;
}

/* FORMAT is data bits, parity and stop bits, as in 8N1 or 7E2. */
static int parse_format(const char *text, struct link_setting *s)
{
    if (strlen(text) != 3 || text[0] < '5' || text[0] > '8' || !strchr("NEO", toupper((unsigned char)text[1]))
        || (text[2] != '1' && text[2] != '2'))
        return -1;
    s->data_bits = text[0] - '0';
    s->parity = (char)toupper((unsigned char)text[1]);
    s->stop_bits = text[2] - '0';
    return 0;
}

static int parse_serial(const char *rest, struct link_setting *s)
{
    s->kind = LINK_SERIAL;
    s->baud = 115200;
    s->data_bits = 8;
    s->parity = 'N';
    s->stop_bits = 1;

    char path[sizeof s->path];
    if (strlen(rest) >= sizeof path)
        return -1;
    strcpy(path, rest);
    char *colon = strrchr(path, ':');
    int format_given = 0;
    if (colon && parse_format(colon + 1, s) == 0) {
        format_given = 1;
        *colon = '\0';
        colon = strrchr(path, ':');
    }
    unsigned long baud;
    speed_t speed;
    if (colon && parse_decimal(colon + 1, 1, 4000000, &baud) == 0) {
        if (speed_of((unsigned)baud, &speed) != 0)
            return -1;
        s->baud = (unsigned)baud;
        *colon = '\0';
    } else if (format_given) {
        return -1;
    }
    if (path[0] == '\0')
        return -1;
    strcpy(s->path, path);
    return 0;
}

int link_parse_setting(const char *text, struct link_setting *setting)
{
    memset(setting, 0, sizeof *setting);
    if (strncmp(text, "tcp:", 4) == 0)
        return parse_tcp(text + 4, setting);
    if (strncmp(text, "serial:", 7) == 0)
        return parse_serial(text + 7, setting);
    return -1;
}

int64_t link_byte_time_ns(const struct link_setting *s)
{
    if (s->kind != LINK_SERIAL)
        return 0;
    const int bits = 1 + s->data_bits + (s->parity != 'N') + s->stop_bits;
    return (int64_t)bits * 1000000000 / s->baud;
}

int64_t link_now_ns(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (int64_t)t.tv_sec * 1000000000 + t.tv_nsec;
}

/* Polls for events until the deadline: the returned events, 0 when the
 * deadline passed, -1 on error. */
static int wait_for(int fd, short events, int64_t deadline)
{
    for (;;) {
        const int64_t left = deadline - link_now_ns();
        const int64_t ms = left <= 0 ? 0 : (left + 999999) / 1000000;
        struct pollfd p = {fd, events, 0};
        const int r = poll(&p, 1, ms > 60000 ? 60000 : (int)ms);
        if (r > 0)
            return p.revents;
        if (r == 0 && link_now_ns() >= deadline)
            return 0;
        if (r < 0 && errno != EINTR)
            return -1;
    }
}

static int connect_before(int fd, const struct addrinfo *ai, int64_t deadline)
{
    if (connect(fd, ai->ai_addr, ai->ai_addrlen) == 0)
        return 0;
    if (errno != EINPROGRESS)
        return -1;
    const int ready = wait_for(fd, POLLOUT, deadline);
    if (ready <= 0) {
        if (ready == 0)
            errno = ETIMEDOUT;
        return -1;
    }
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
        return -1;
    errno = error;
    return error == 0 ? 0 : -1;
}

static int open_tcp(const struct link_setting *s, int64_t deadline)
{
    struct addrinfo hints;
    memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    struct addrinfo *list;
    if (getaddrinfo(s->host, s->port, &hints, &list) != 0) {
        errno = EHOSTUNREACH; /* a name that does not resolve names no host we can reach */
        return -1;
    }
    int fd = -1;
    for (const struct addrinfo *ai = list; ai && fd < 0; ai = ai->ai_next) {
        fd = socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
        if (fd >= 0 && connect_before(fd, ai, deadline) != 0) {
            const int error = errno;
            close(fd);
            errno = error;
            fd = -1;
        }
    }
    freeaddrinfo(list);
    if (fd >= 0) {
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    return fd;
}

/* Set from one thread, read by opens on any. It starts as no sink through
 * static storage's zero: clang takes no NULL, a (void *), as the initial
 * value of an atomic function pointer. */
static _Atomic(trvo_log_sink) log_sink;

void trvo_set_log_sink(trvo_log_sink sink)
{
    atomic_store(&log_sink, sink);
}

static void log_line(const char *format, ...) __attribute__((format(printf, 1, 2)));

static void log_line(const char *format, ...)
{
    char line[PATH_MAX + 128];
    va_list args;
    const trvo_log_sink sink = atomic_load(&log_sink);
    if (!sink)
        return;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink(line);
}

/* Only a character device can be a serial port. A regular file, a folder or
 * a FIFO is refused before it is opened, and checked again once open in case
 * the name was swapped in between. */
static int refuse_unless_character_device(const char *path, int fd)
{
    struct stat st;
    const int known = fd >= 0 ? fstat(fd, &st) : stat(path, &st);
    if (known != 0) /* a missing path fails in open with its own errno */
        return fd >= 0 ? -1 : 0;
    if (S_ISCHR(st.st_mode))
        return 0;
    log_line("trvo: %s is not a character device; a serial link needs a serial port", path);
    errno = ENOTTY;
    return -1;
}

/* Two programs talking to one reader at once would garble each other's
 * frames. flock keeps out every program that asks (root included), TIOCEXCL
 * the other opens of the port that do not ask. A port held so fails EBUSY. */
static int take_exclusively(int fd)
{
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            errno = EBUSY;
        return -1;
    }
    return ioctl(fd, TIOCEXCL) == 0 ? 0 : -1;
}

static int open_serial(const struct link_setting *s, struct termios *saved)
{
    speed_t speed;
    if (speed_of(s->baud, &speed) != 0 || refuse_unless_character_device(s->path, -1) != 0)
        return -1;
    const int fd = open(s->path, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    static const tcflag_t size_flag[] = {CS5, CS6, CS7, CS8};
    struct termios t;
    if (refuse_unless_character_device(s->path, fd) != 0 || take_exclusively(fd) != 0 || tcgetattr(fd, &t) != 0)
        goto fail;
    *saved = t;
    cfmakeraw(&t);
    t.c_iflag &= ~(tcflag_t)(IXON | IXOFF | IXANY);
    t.c_cflag &= ~(tcflag_t)(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | size_flag[s->data_bits - 5];
    if (s->parity != 'N')
        t.c_cflag |= PARENB | (s->parity == 'O' ? PARODD : 0);
    if (s->stop_bits == 2)
        t.c_cflag |= CSTOPB;
    /* One byte wakes a read: with O_NONBLOCK an empty line then reads as
     * EAGAIN, and a read of 0 bytes means the port hung up. */
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 || tcsetattr(fd, TCSANOW, &t) != 0)
        goto fail;
    tcflush(fd, TCIOFLUSH);
    tty_restore_keep(fd, saved);
    return fd;
fail : {
    const int error = errno;
    close(fd);
    errno = error;
}
    return -1;
}

int link_open(const struct link_setting *setting, int64_t deadline, struct termios *saved)
{
    return setting->kind == LINK_TCP ? open_tcp(setting, deadline) : open_serial(setting, saved);
}

void link_close(int fd, enum link_kind kind, const struct termios *saved)
{
    if (kind == LINK_SERIAL) {
        /* Unsent bytes would only hold up the close; the port goes back to
         * the settings it had, as a terminal the user still needs. */
        tcflush(fd, TCIOFLUSH);
        tty_restore_forget(fd);
        tcsetattr(fd, TCSANOW, saved);
        /* The flag stays with the port while anyone else holds it open. */
        ioctl(fd, TIOCNXCL);
    }
    close(fd);
}

int link_discard_input(int fd, enum link_kind kind)
{
    if (kind == LINK_SERIAL)
        tcflush(fd, TCIFLUSH);
    unsigned char sink[4096];
    /* Bounded, so that a flood of noise cannot hold the call here. */
    for (int round = 0; round < 256; ++round) {
        const ssize_t n = read(fd, sink, sizeof sink);
        if (n > 0 || (n < 0 && errno == EINTR))
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
    }
    return 0;
}

enum link_io link_write_all(int fd, enum link_kind kind, const void *bytes, size_t count, int64_t deadline)
{
    const unsigned char *p = bytes;
    while (count > 0) {
        /* MSG_NOSIGNAL: a closed connection must fail the call, not raise SIGPIPE. */
        const ssize_t n = kind == LINK_TCP ? send(fd, p, count, MSG_NOSIGNAL) : write(fd, p, count);
        if (n > 0) {
            p += n;
            count -= (size_t)n;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const int r = wait_for(fd, POLLOUT, deadline);
            if (r == 0)
                return LINK_IO_TIMEOUT;
            if (r < 0)
                return LINK_IO_LOST;
        } else if (!(n < 0 && errno == EINTR)) {
            return LINK_IO_LOST;
        }
    }
    return LINK_IO_OK;
}

enum link_io link_read_some(int fd, void *bytes, size_t capacity, size_t *got, int64_t deadline)
{
    for (;;) {
        const ssize_t n = read(fd, bytes, capacity);
        if (n > 0) {
            *got = (size_t)n;
            return LINK_IO_OK;
        }
        if (n == 0)
            return LINK_IO_LOST;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return LINK_IO_LOST;
        const int r = wait_for(fd, POLLIN, deadline);
        if (r == 0)
            return LINK_IO_TIMEOUT;
        if (r < 0)
            return LINK_IO_LOST;
    }
}
