#ifndef TARVO_TRVO_TRVO_H
#define TARVO_TRVO_TRVO_H

/* The device library: a channel to one reader and remote calls over it.
 *
 * The link is the library's own setting, read from the environment variable
 * TRVO_DEVICE when a channel is opened (see trvo/README.md):
 *   tcp:HOST:PORT                     a reader (or the simulator) over TCP
 *   serial:PATH[:BAUD[:FORMAT]]       a serial port, 115200 baud, 8N1 unless given
 * Without the variable the library talks to the reader simulator at
 * tcp:127.0.0.1:47811.
 *
 * Calls on one handle must not overlap; the library starts no threads.
 */

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

enum {
    TRVO_CHANNEL_CONFIG = 1, /* the reader's configuration channel, the only one */
    TRVO_CALL_AWAIT_REPLY = 1,
    TRVO_MAX_PAYLOAD = 65536, /* largest request or reply payload */
    TRVO_OPEN_TIMEOUT_MS = 1000
};

/* Opens the link named by TRVO_DEVICE. channel must be TRVO_CHANNEL_CONFIG
 * and flags 0. Returns a non-zero handle, or 0 when the setting is invalid,
 * the reader cannot be reached within TRVO_OPEN_TIMEOUT_MS or no handle is
 * free. A handle stays valid until trvo_channel_close: when the link breaks
 * later (reader unplugged, simulator restarted), the next call re-opens it. */
TRVO_API intptr_t trvo_channel_open(int channel, int flags);

/* Sends the request's payload as the given command and waits for the reply.
 *
 * timeout_ms: milliseconds for the whole call, from its start to the last
 * byte of the reply, re-opening a broken link included. On a serial link the
 * wire time of the request and of the announced reply is added to it.
 * flag: TRVO_CALL_AWAIT_REPLY.
 *
 * The request stays the caller's: it is neither changed nor released.
 * On success the block *reply pointed to (an empty block, or null) is
 * released with free and *reply points to a new block (malloc) holding the
 * reply's payload, which the caller releases with rpc_buffer_free; the result
 * is the payload's length (zero or more). On failure the result is one of
 * trvo_error and *reply is left exactly as it was. */
TRVO_API int trpc_call(intptr_t handle, int32_t command, rpc_buffer *request,
                       rpc_buffer **reply, int timeout_ms, int flag);

/* Closes the link and frees the handle; unknown handles are ignored. */
TRVO_API void trvo_channel_close(intptr_t handle);

#ifdef __cplusplus
}
#endif

#endif
