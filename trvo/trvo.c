#define _GNU_SOURCE /* strerror_r that returns the text */
#include "trvo/trvo.h"

#include <errno.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "trvo/cause.h"
#include "trvo/frame.h"
#include "trvo/link.h"
#include "trvo/reply.h"

_Static_assert((int)TRVO_MAX_PAYLOAD == (int)TRVO_FRAME_MAX_PAYLOAD, "one payload bound for calls and frames");

struct failure
{
    enum trvo_cause cause;
    char message[TRVO_FAILURE_MESSAGE_SIZE];
};

static void note(struct failure *f, enum trvo_cause cause, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

static void note(struct failure *f, enum trvo_cause cause, const char *format, ...)
{
    f->cause = cause;
    va_list args;
    va_start(args, format);
    vsnprintf(f->message, sizeof f->message, format, args);
    va_end(args);
}

/* The cause of a failed open, from errno, naming the port or host.
 * strerror_r: strerror's buffer is shared by every thread. */
static void note_open_failure(struct failure *f, const struct link_setting *s, int error)
{
    char text[128];
    const char *words = strerror_r(error, text, sizeof text);
    if (s->kind == LINK_SERIAL)
        note(f, trvo_cause_of_errno(error), "%s: %s", s->path, words);
    else
        note(f, trvo_cause_of_errno(error), "%s port %s: %s", s->host, s->port, words);
}

struct channel
{
    struct link_setting setting;
    int fd;                   /* -1 while the link is down */
    struct termios saved_tty; /* a serial port's settings before we opened it */
    uint16_t seq;             /* of the last request sent */
    unsigned char *rx;        /* REPLY_CAPACITY bytes: one frame of the largest size */
    struct failure last;      /* of the last call */
};


enum { MAX_CHANNELS = 64 };

/* Handle h designates channels[h - 1], so that 0 stays "no channel" and an
 * unknown handle is refused instead of dereferenced. The table is shared by
 * every thread and taken only under table_lock; a channel itself belongs to
 * the one thread that calls on it. A slot being opened holds `opening`, so
 * that no other open takes it and no call finds it. */
static struct channel *channels[MAX_CHANNELS];
static struct channel opening;
static pthread_mutex_t table_lock = PTHREAD_MUTEX_INITIALIZER;

static struct channel *channel_of(intptr_t handle)
{
    if (handle < 1 || handle > MAX_CHANNELS)
        return NULL;
    pthread_mutex_lock(&table_lock);
    struct channel *c = channels[handle - 1];
    pthread_mutex_unlock(&table_lock);
    return c == &opening ? NULL : c;
}

/* Puts c (a channel, `opening` or NULL) into slot and returns what was there. */
static struct channel *swap_slot(int slot, struct channel *c)
{
    pthread_mutex_lock(&table_lock);
    struct channel *was = channels[slot];
    channels[slot] = c;
    pthread_mutex_unlock(&table_lock);
    return was;
}

static void drop_link(struct channel *c)
{
    if (c->fd >= 0)
        link_close(c->fd, c->setting.kind, &c->saved_tty);
    c->fd = -1;
}

static void free_channel(struct channel *c)
{
    drop_link(c);
    free(c->rx);
    free(c);
}

/* Why the last open failed, for trvo_failure(0, ...): each thread asks
 * about its own opens. Initial-exec: the library is linked, not loaded
 * later, and so needs no more from the system than libc. */
static _Thread_local struct failure open_failure __attribute__((tls_model("initial-exec")));

intptr_t trvo_channel_open(int channel, int flags)
{
    if (channel != TRVO_CHANNEL_CONFIG || flags != 0) {
        note(&open_failure, TRVO_CAUSE_ARGUMENT, "channel %d with flags %d: no such channel", channel, flags);
        return 0;
    }
    const char *text = getenv("TRVO_DEVICE");
    return trvo_channel_open_link(text && *text ? text : LINK_DEFAULT_SETTING);
}

/* Reserves a free slot for an open under way; MAX_CHANNELS when none is free. */
static int reserve_slot(void)
{
    pthread_mutex_lock(&table_lock);
    int slot = 0;
    while (slot < MAX_CHANNELS && channels[slot])
        ++slot;
    if (slot < MAX_CHANNELS)
        channels[slot] = &opening;
    pthread_mutex_unlock(&table_lock);
    return slot;
}

static struct channel *new_channel(void)
{
    struct channel *c = calloc(1, sizeof *c);
    if (c)
        c->fd = -1;
    if (c && !(c->rx = malloc(REPLY_CAPACITY))) {
        free(c);
        c = NULL;
    }
    if (!c)
        note(&open_failure, TRVO_CAUSE_SYSTEM, "out of memory");
    return c;
}

/* Parses and opens the link; NULL with open_failure and errno telling why. */
static struct channel *open_channel(const char *link)
{
    struct channel *c = new_channel();
    if (!c)
        return NULL;
    if (!link || link_parse_setting(link, &c->setting) != 0) {
        note(&open_failure, TRVO_CAUSE_SETTING,
             "\"%.200s\" is no link (tcp:HOST:PORT or serial:PATH[:BAUD[:FORMAT]])", link ? link : "");
        free_channel(c);
        errno = EINVAL;
        return NULL;
    }
    c->fd = link_open(&c->setting, link_now_ns() + (int64_t)TRVO_OPEN_TIMEOUT_MS * 1000000, &c->saved_tty);
    if (c->fd < 0) {
        const int error = errno;
        note_open_failure(&open_failure, &c->setting, error);
        free_channel(c);
        errno = error;
        return NULL;
    }
    return c;
}

intptr_t trvo_channel_open_link(const char *link)
{
    const int slot = reserve_slot();
    if (slot == MAX_CHANNELS) {
        note(&open_failure, TRVO_CAUSE_ARGUMENT, "all %d channels are open", MAX_CHANNELS);
        return 0;
    }
    struct channel *c = open_channel(link);
    swap_slot(slot, c);
    return c ? slot + 1 : 0;
}

void trvo_channel_close(intptr_t handle)
{
    if (handle < 1 || handle > MAX_CHANNELS)
        return;
    pthread_mutex_lock(&table_lock);
    struct channel *c = channels[handle - 1];
    if (c != &opening)
        channels[handle - 1] = NULL;
    pthread_mutex_unlock(&table_lock);
    if (c && c != &opening)
        free_channel(c);
}

/* A program that ends without closing its channels still gets its serial
 * ports back as they were. */
__attribute__((destructor)) static void close_every_channel(void)
{
    for (intptr_t handle = 1; handle <= MAX_CHANNELS; ++handle)
        trvo_channel_close(handle);
}

/* A broken link is dropped and opened again by the next call; a silent
 * reader keeps its link (a late answer is passed over by the next call). */
static int link_lost(struct channel *c)
{
    drop_link(c);
    return TRVO_ELOST;
}

/* A reader that sent bytes but no answer we could read differs, for the
 * one who must find the fault, from one that stayed silent. */
static int timed_out(struct channel *c, int32_t command, size_t received)
{
    if (received > 0)
        note(&c->last, TRVO_CAUSE_BAD_REPLY, "%zu bytes came, but no readable answer to command %d", received,
             (int)command);
    return TRVO_ETIMEDOUT;
}

/* Hands the reply over as the call's contract says. */
static int deliver(const trvo_frame *f, rpc_buffer **reply)
{
    if (f->kind == TRVO_FRAME_REFUSAL)
        return TRVO_EREFUSED;
    rpc_buffer *block = rpc_buffer_new(f->payload, (int32_t)f->length);
    if (!block)
        return TRVO_ENOMEM;
    rpc_buffer_free(*reply);
    *reply = block;
    return (int)f->length;
}

/* Reads until the answer to request seq arrives. Frames of other requests
 * (a late answer to an earlier call, an echo of our own request) are passed
 * over; a broken frame ends the call and the link, since nothing after it
 * can be trusted to be in step. The deadline is consulted after every read,
 * so that a peer that never stops sending cannot hold the call. */
static int await_reply(struct channel *c, uint16_t seq, int32_t command, rpc_buffer **reply, int64_t deadline,
                       int64_t byte_ns)
{
    struct reply_wait wait;
    reply_begin(&wait, c->rx, seq, command, deadline, byte_ns);
    size_t got = 0;
    size_t total = 0; /* bytes that came during the wait */
    for (;;) {
        total += got;
        trvo_frame f;
        switch (reply_take(&wait, got, link_now_ns(), &f)) {
        case REPLY_FOUND:
            return deliver(&f, reply);
        case REPLY_BROKEN:
            drop_link(c);
            return TRVO_EFRAME;
        case REPLY_TIMED_OUT:
            return timed_out(c, command, total);
        case REPLY_WAITING:
            break;
        }
        size_t room = 0;
        unsigned char *space = reply_space(&wait, &room);
        const enum link_io io = link_read_some(c->fd, space, room, &got, reply_limit(&wait));
        if (io == LINK_IO_TIMEOUT)
            return timed_out(c, command, total);
        if (io != LINK_IO_OK)
            return link_lost(c);
    }
}

/* Sends the request and waits for its answer on a channel whose arguments
 * have been checked. */
static int call_on(struct channel *c, int32_t command, rpc_buffer *request, rpc_buffer **reply, int timeout_ms)
{
    const int32_t n = rpc_buffer_len(request);
    const size_t size = trvo_frame_size((size_t)n);
    const int64_t byte_ns = link_byte_time_ns(&c->setting);
    const int64_t deadline = link_now_ns() + (int64_t)timeout_ms * 1000000 + (int64_t)size * byte_ns;

    /* Whatever waits unread belongs to no call of ours; a link found closed
     * here (reader unplugged, simulator restarted) is opened afresh. */
    if (c->fd >= 0 && link_discard_input(c->fd, c->setting.kind) != 0)
        drop_link(c);
    if (c->fd < 0) {
        c->fd = link_open(&c->setting, deadline, &c->saved_tty);
        if (c->fd < 0) {
            note_open_failure(&c->last, &c->setting, errno);
            return TRVO_ENOLINK;
        }
    }

    unsigned char *frame = malloc(size);
    if (!frame)
        return TRVO_ENOMEM;
    const uint16_t seq = ++c->seq;
    trvo_frame_encode(frame, size, TRVO_FRAME_REQUEST, seq, command, rpc_buffer_data(request), (size_t)n);
    const enum link_io io = link_write_all(c->fd, c->setting.kind, frame, size, deadline);
    free(frame);
    if (io != LINK_IO_OK) {
        /* Part of the frame may be out: the other side is out of step. */
        drop_link(c);
        return io == LINK_IO_TIMEOUT ? TRVO_ETIMEDOUT : TRVO_ELOST;
    }
    return await_reply(c, seq, command, reply, deadline, byte_ns);
}

static void note_call_failure(struct failure *f, int result, int32_t command, int timeout_ms)
{
    switch (result) {
    case TRVO_ETIMEDOUT:
        note(f, TRVO_CAUSE_TIMEOUT, "no whole answer to command %d within %d ms", (int)command, timeout_ms);
        break;
    case TRVO_EFRAME:
        note(f, TRVO_CAUSE_BAD_REPLY, "the answer to command %d failed its check", (int)command);
        break;
    case TRVO_ELOST:
        note(f, TRVO_CAUSE_LOST, "the connection broke during command %d", (int)command);
        break;
    case TRVO_EREFUSED:
        note(f, TRVO_CAUSE_REJECTED, "the reader refused command %d", (int)command);
        break;
    default:
        note(f, TRVO_CAUSE_SYSTEM, "out of memory");
        break;
    }
}

int trpc_call(intptr_t handle, int32_t command, rpc_buffer *request, rpc_buffer **reply, int timeout_ms, int flag)
{
    struct channel *c = channel_of(handle);
    if (!c)
        return TRVO_EINVAL;
    const int32_t n = request ? rpc_buffer_len(request) : -1;
    if (n < 0 || n > TRVO_MAX_PAYLOAD || !reply || timeout_ms <= 0 || flag != TRVO_CALL_AWAIT_REPLY) {
        note(&c->last, TRVO_CAUSE_ARGUMENT, "a bad argument to command %d", (int)command);
        return TRVO_EINVAL;
    }
    if (command == TRVO_COMMAND_WRITE_CONFIG && timeout_ms < TRVO_WRITE_TIMEOUT_FLOOR_MS)
        timeout_ms = TRVO_WRITE_TIMEOUT_FLOOR_MS;

    c->last.cause = TRVO_CAUSE_NONE;
    c->last.message[0] = '\0';
    const int result = call_on(c, command, request, reply, timeout_ms);
    if (result < 0 && c->last.cause == TRVO_CAUSE_NONE)
        note_call_failure(&c->last, result, command, timeout_ms);
    return result;
}

int trvo_failure(intptr_t handle, char *message, size_t size)
{
    const struct channel *c = channel_of(handle);
    const struct failure *f = handle == 0 ? &open_failure : c ? &c->last : NULL;
    if (message && size > 0)
        snprintf(message, size, "%s", f ? f->message : "");
    return f ? (int)f->cause : TRVO_CAUSE_NONE;
}
