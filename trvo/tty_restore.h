#ifndef TRVO_TTY_RESTORE_H
#define TRVO_TTY_RESTORE_H

/* A serial port we set raw gets its own settings back when the program is
 * ended by SIGINT, SIGTERM or SIGHUP, as it does on a close: a terminal
 * (serial:/dev/tty) left raw would be of no use to the user. */

#include <termios.h>

/* Keeps the port's settings to put back on those signals. */
void tty_restore_keep(int fd, const struct termios *saved);

/* The port is closed; its settings are no longer put back. */
void tty_restore_forget(int fd);

#endif
