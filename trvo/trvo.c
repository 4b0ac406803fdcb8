#include "trvo/trvo.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "trvo/frame.h"
#include "trvo/link.h"
#include "trvo/reply.h"

_Static_assert((int)TRVO_MAX_PAYLOAD == (int)TRVO_FRAME_MAX_PAYLOAD, "one payload bound for calls and frames");

struct channel {
    struct link_setting setting;
    int fd;       /* -1 while the link is down */
    struct termios saved_tty; /* a serial port's settings before we opened it */
    uint16_t seq; /* of the last request sent */
    unsigned char *rx; /* REPLY_CAPACITY bytes: one frame of the largest size */
};


enum { MAX_CHANNELS = 16 };

/* Handle h designates channels[h - 1], so that 0 stays "no channel" and an
 * unknown handle is refused instead of dereferenced. */
static struct channel *channels[MAX_CHANNELS];

static struct channel *channel_of(intptr_t handle)
{
    return handle >= 1 && handle <= MAX_CHANNELS ? channels[handle - 1] : NULL;
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

intptr_t trvo_channel_open(int channel, int flags)
{
    if (channel != TRVO_CHANNEL_CONFIG || flags != 0)
        return 0;
    int slot = 0;
    while (slot < MAX_CHANNELS && channels[slot])
        ++slot;
    if (slot == MAX_CHANNELS)
        return 0;

    const char *text = getenv("TRVO_DEVICE");
    if (!text || !*text)
        text = LINK_DEFAULT_SETTING;
    struct channel *c = calloc(1, sizeof *c);
    if (!c)
        return 0;
    c->fd = -1;
    c->rx = malloc(REPLY_CAPACITY);
    if (!c->rx || link_parse_setting(text, &c->setting) != 0) {
        free_channel(c);
        return 0;
    }
    c->fd = link_open(&c->setting, link_now_ns() + (int64_t)TRVO_OPEN_TIMEOUT_MS * 1000000, &c->saved_tty);
    if (c->fd < 0) {
        const int error = errno;
        free_channel(c);
        errno = error;
        return 0;
    }
    channels[slot] = c;
    return slot + 1;
}

void trvo_channel_close(intptr_t handle)
{
    struct channel *c = channel_of(handle);
    if (!c)
        return;
    free_channel(c);
    channels[handle - 1] = NULL;
}

/* A program that ends without closing its channels still gets its serial
 * ports back as they were. */
__attribute__((destructor)) static void close_every_channel(void)
{
    for (intptr_t handle = 1; handle <= MAX_CHANNELS; ++handle)
        trvo_channel_close(handle);
}

/* A silent reader keeps its link: a late answer is passed over by the next
 * call. A broken one is dropped and opened again by the next call. */
static int read_failure(struct channel *c, enum link_io io)
{
    if (io == LINK_IO_TIMEOUT)
        return TRVO_ETIMEDOUT;
    drop_link(c);
    return TRVO_ELOST;
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
static int await_reply(struct channel *c, uint16_t seq, int32_t command, rpc_buffer **reply,
                       int64_t deadline, int64_t byte_ns)
{
    struct reply_wait wait;
    reply_begin(&wait, c->rx, seq, command, deadline, byte_ns);
    size_t got = 0;
    for (;;) {
        trvo_frame f;
        switch (reply_take(&wait, got, link_now_ns(), &f)) {
        case REPLY_FOUND:
            return deliver(&f, reply);
        case REPLY_BROKEN:
            drop_link(c);
            return TRVO_EFRAME;
        case REPLY_TIMED_OUT:
            return TRVO_ETIMEDOUT;
        case REPLY_WAITING:
            break;
        }
        size_t room = 0;
        unsigned char *space = reply_space(&wait, &room);
        const enum link_io io = link_read_some(c->fd, space, room, &got, reply_limit(&wait));
        if (io != LINK_IO_OK)
            return read_failure(c, io);
    }
}

int trpc_call(intptr_t handle, int32_t command, rpc_buffer *request, rpc_buffer **reply,
              int timeout_ms, int flag)
{
    struct channel *c = channel_of(handle);
    if (!c || !request || !reply || timeout_ms <= 0 || flag != TRVO_CALL_AWAIT_REPLY)
        return TRVO_EINVAL;
    const int32_t n = rpc_buffer_len(request);
    if (n < 0 || n > TRVO_MAX_PAYLOAD)
        return TRVO_EINVAL;

    const size_t size = trvo_frame_size((size_t)n);
    const int64_t byte_ns = link_byte_time_ns(&c->setting);
    const int64_t deadline = link_now_ns() + (int64_t)timeout_ms * 1000000 + (int64_t)size * byte_ns;

    /* Whatever waits unread belongs to no call of ours; a link found closed
     * here (reader unplugged, simulator restarted) is opened afresh. */
    if (c->fd >= 0 && link_discard_input(c->fd, c->setting.kind) != 0)
        drop_link(c);
    if (c->fd < 0) {
        c->fd = link_open(&c->setting, deadline, &c->saved_tty);
        if (c->fd < 0)
            return TRVO_ENOLINK;
    }

    unsigned char *frame = malloc(size);
    if (!frame)
        return TRVO_ENOMEM;
    const uint16_t seq = ++c->seq;
    trvo_frame_encode(frame, size, TRVO_FRAME_REQUEST, seq, command, rpc_buffer_data(request),
                      (size_t)n);
    const enum link_io io = link_write_all(c->fd, c->setting.kind, frame, size, deadline);
    free(frame);
    if (io != LINK_IO_OK) {
        /* Part of the frame may be out: the other side is out of step. */
        drop_link(c);
        return io == LINK_IO_TIMEOUT ? TRVO_ETIMEDOUT : TRVO_ELOST;
    }
    return await_reply(c, seq, command, reply, deadline, byte_ns);
}
