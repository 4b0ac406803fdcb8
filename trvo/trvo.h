#ifndef TARVO_TRVO_TRVO_H
#define TARVO_TRVO_TRVO_H

/* The device library: a channel to one reader and remote calls over it.
 *
 * A link is described by a text, given to trvo_channel_open_link or read by
 * trvo_channel_open from the environment variable TRVO_DEVICE (see
 * trvo/README.md):
 *   tcp:HOST:PORT                     a reader (or the simulator) over TCP
 *   serial:PATH[:BAUD[:FORMAT]]       a serial port, 115200 baud, 8N1 unless given
 * Without the variable the library talks to the reader simulator at
 * tcp:127.0.0.1:47811.
 *
 * Threads: the library starts none, and is safe for one channel per thread.
 * Any number of threads may open, call on and close channels at once, each on
 * handles of its own (up to 64 channels in all); calls on one handle must not
 * overlap, and a handle is closed only by the thread that uses it.
 * trvo_failure(0, ...) reports the last failed open of the calling thread.
 */

#include <stddef.h>
#include <stdint.h>

#include "trvo/rpc_buffer.h"

#ifdef __cplusplus
extern "C" {
#endif

/* TRVO_API, the mark of an exported function, comes with rpc_buffer.h. */

/* Results of trpc_call below zero. */
enum trvo_error {
    TRVO_EINVAL = -1,    /* unknown handle, bad argument, request over the bound */
    TRVO_ENOLINK = -2,   /* the reader cannot be reached */
    TRVO_ETIMEDOUT = -3, /* no whole reply before the time-out */
    TRVO_EFRAME = -4,    /* a reply failed its checksum or announced an oversized payload */
    TRVO_ELOST = -5,     /* the connection broke during the call */
    TRVO_EREFUSED = -6,  /* the reader refused the command */
    TRVO_ENOMEM = -7
};

/* Why the last call failed, as trvo_failure reports it. */
enum trvo_cause {
    TRVO_CAUSE_NONE = 0,
    TRVO_CAUSE_SETTING,     /* the link description is malformed */
    TRVO_CAUSE_NO_PORT,     /* no such serial port */
    TRVO_CAUSE_NOT_A_PORT,  /* the path is no serial port */
    TRVO_CAUSE_PERMISSION,  /* the port may not be opened by this user */
    TRVO_CAUSE_BUSY,        /* another program holds the port */
    TRVO_CAUSE_UNREACHABLE, /* the host is unknown or cannot be reached */
    TRVO_CAUSE_REFUSED,     /* the host refused the connection */
    TRVO_CAUSE_TIMEOUT,     /* no answer within the time-out */
    TRVO_CAUSE_BAD_REPLY,   /* a reply the library could not read */
    TRVO_CAUSE_LOST,        /* the connection broke */
    TRVO_CAUSE_REJECTED,    /* the reader refused the command */
    TRVO_CAUSE_ARGUMENT,    /* a bad argument or too many channels */
    TRVO_CAUSE_SYSTEM       /* out of memory or another system failure */
};

enum {
    TRVO_CHANNEL_CONFIG = 1, /* the reader's configuration channel, the only one */
    TRVO_CALL_AWAIT_REPLY = 1,
    TRVO_MAX_PAYLOAD = 65536, /* largest request or reply payload */
    TRVO_OPEN_TIMEOUT_MS = 1000,
    /* A configuration write (command 1) waits at least this long: a reader
     * answers it only once its flash is written, which takes up to 2 s. */
    TRVO_WRITE_TIMEOUT_FLOOR_MS = 2500,
    TRVO_FAILURE_MESSAGE_SIZE = 256,
    TRVO_COMMAND_WRITE_CONFIG = 1 /* the reader stores a signed configuration text */
};

/* Opens the link named by TRVO_DEVICE. channel must be TRVO_CHANNEL_CONFIG
 * and flags 0. Returns a non-zero handle, or 0 when the setting is invalid,
 * the reader cannot be reached within TRVO_OPEN_TIMEOUT_MS or no handle is
 * free. A handle stays valid until trvo_channel_close: when the link breaks
 * later (reader unplugged, simulator restarted), the next call re-opens it. */
TRVO_API intptr_t trvo_channel_open(int channel, int flags);

/* Opens a channel to the link described by link (the syntax of TRVO_DEVICE;
 * the environment is not read). Returns a handle as trvo_channel_open does,
 * or 0; then trvo_failure(0, ...) says why. A serial port is taken
 * exclusively (TIOCEXCL and flock): a port another program holds so fails
 * with TRVO_CAUSE_BUSY. */
TRVO_API intptr_t trvo_channel_open_link(const char *link);

/* Sends the request's payload as the given command and waits for the reply.
 *
 * timeout_ms: milliseconds for the whole call, from its start to the last
 * byte of the reply, re-opening a broken link included; command 1 waits at
 * least TRVO_WRITE_TIMEOUT_FLOOR_MS. On a serial link the wire time of the
 * request and of the announced reply is added to it.
 * flag: TRVO_CALL_AWAIT_REPLY.
 *
 * The request stays the caller's: it is neither changed nor released.
 * On success the block *reply pointed to (an empty block, or null) is
 * released with free and *reply points to a new block (malloc) holding the
 * reply's payload, which the caller releases with rpc_buffer_free; the result
 * is the payload's length (zero or more). On failure the result is one of
 * trvo_error and *reply is left exactly as it was. */
TRVO_API int trpc_call(intptr_t handle, int32_t command, rpc_buffer *request, rpc_buffer **reply, int timeout_ms,
                       int flag);

/* Closes the link and frees the handle; unknown handles are ignored. */
TRVO_API void trvo_channel_close(intptr_t handle);

/* The cause of the last call on handle that failed (TRVO_CAUSE_NONE when its
 * last call succeeded or the handle is unknown); handle 0 asks about the last
 * open that failed in the calling thread. When message is not null, a line in English naming what
 * failed (the port, the host, the time-out) is copied there, NUL-terminated
 * and cut to size bytes; TRVO_FAILURE_MESSAGE_SIZE always suffices. */
TRVO_API int trvo_failure(intptr_t handle, char *message, size_t size);

/* Receives the library's diagnostic lines (without a newline), such as why
 * a path is refused as a serial port. The library never prints: without a
 * sink, the start, the lines are dropped. The sink is called on the thread
 * whose open wrote the line, so it must be safe to call from any thread. */
typedef void (*trvo_log_sink)(const char *line);
TRVO_API void trvo_set_log_sink(trvo_log_sink sink);

#ifdef __cplusplus
}
#endif

#endif
