#include "trvo/trvo.h"

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "trvo/frame.h"
#include "trvo/link.h"

_Static_assert((int)TRVO_MAX_PAYLOAD == (int)TRVO_FRAME_MAX_PAYLOAD, "one payload bound for calls and frames");

struct channel {
    struct link_setting setting;
    int fd;       /* -1 while the link is down */
    uint16_t seq; /* of the last request sent */
    unsigned char *rx;
    size_t rx_fill;
};

/* The receive buffer holds one frame of the largest size; noise before it is
 * dropped as it is found. */
#define RX_CAPACITY (TRVO_FRAME_HEADER_SIZE + TRVO_FRAME_MAX_PAYLOAD + TRVO_FRAME_TRAILER_SIZE)

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
        close(c->fd);
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
    c->rx = malloc(RX_CAPACITY);
    if (!c->rx || link_parse_setting(text, &c->setting) != 0) {
        free_channel(c);
        return 0;
    }
    c->fd = link_open(&c->setting, link_now_ns() + (int64_t)TRVO_OPEN_TIMEOUT_MS * 1000000);
    if (c->fd < 0) {
        free_channel(c);
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
 * can be trusted to be in step. */
static int await_reply(struct channel *c, uint16_t seq, int32_t command, rpc_buffer **reply,
                       int64_t deadline, int64_t byte_ns)
{
    int wire_time_added = 0;
    c->rx_fill = 0;
    for (;;) {
        trvo_frame f;
        f.length = 0;
        size_t used = 0;
        const enum trvo_frame_status status = trvo_frame_decode(c->rx, c->rx_fill, &f, &used);
        if (status == TRVO_FRAME_OVERSIZE || status == TRVO_FRAME_BAD_CHECKSUM) {
            drop_link(c);
            return TRVO_EFRAME;
        }
        if (status == TRVO_FRAME_OK && f.kind != TRVO_FRAME_REQUEST && f.seq == seq
            && f.command == command)
            return deliver(&f, reply);
        memmove(c->rx, c->rx + used, c->rx_fill - used);
        c->rx_fill -= used;
        if (status == TRVO_FRAME_OK)
            continue;

        if (f.length > 0 && byte_ns > 0 && !wire_time_added) {
            deadline += (int64_t)trvo_frame_size(f.length) * byte_ns;
            wire_time_added = 1;
        }
        size_t got = 0;
        const enum link_io io =
            link_read_some(c->fd, c->rx + c->rx_fill, RX_CAPACITY - c->rx_fill, &got, deadline);
        if (io != LINK_IO_OK)
            return read_failure(c, io);
        c->rx_fill += got;
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
        c->fd = link_open(&c->setting, deadline);
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
