#ifndef TARVO_TRVO_LINK_H
#define TARVO_TRVO_LINK_H

/* The byte stream under a channel: a TCP connection or a serial port, both
 * as a non-blocking file descriptor. Deadlines are CLOCK_MONOTONIC times in
 * nanoseconds. */

#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <termios.h>

enum link_kind { LINK_TCP, LINK_SERIAL };

struct link_setting
{
    enum link_kind kind;
    char host[256];      /* tcp */
    char port[8];        /* tcp */
    char path[PATH_MAX]; /* serial */
    unsigned baud;       /* serial */
    int data_bits;       /* serial: 5 to 8 */
    char parity;         /* serial: 'N', 'E' or 'O' */
    int stop_bits;       /* serial: 1 or 2 */
};

/* The link used when TRVO_DEVICE is not set: the reader simulator's default. */
#define LINK_DEFAULT_SETTING "tcp:127.0.0.1:47811"

/* Parses a setting (see trvo/README.md). Returns 0, or -1 when it is malformed. */
int link_parse_setting(const char *text, struct link_setting *setting);

/* Nanoseconds a byte takes on the wire; 0 for TCP. */
int64_t link_byte_time_ns(const struct link_setting *setting);

int64_t link_now_ns(void);

/* Opens the link; returns the descriptor, or -1 when the deadline passes or
 * the other side cannot be reached. A serial port's settings from before
 * are kept in *saved; a path that is no character device fails with ENOTTY. */
int link_open(const struct link_setting *setting, int64_t deadline, struct termios *saved);

/* Closes the link; a serial port gets back the settings kept by link_open. */
void link_close(int fd, enum link_kind kind, const struct termios *saved);

/* Drops whatever has arrived and not been read. Returns 0, or -1 when the
 * other side has gone (connection closed, port hung up). */
int link_discard_input(int fd, enum link_kind kind);

enum link_io { LINK_IO_OK = 0, LINK_IO_TIMEOUT = -1, LINK_IO_LOST = -2 };

/* Writes all count bytes before the deadline. */
enum link_io link_write_all(int fd, enum link_kind kind, const void *bytes, size_t count, int64_t deadline);

/* Waits until bytes arrive or the deadline passes, and reads at most
 * capacity of them; *got receives their number (at least 1 on LINK_IO_OK). */
enum link_io link_read_some(int fd, void *bytes, size_t capacity, size_t *got, int64_t deadline);

#endif
