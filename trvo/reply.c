#include "trvo/reply.h"

#include <string.h>

void reply_begin(struct reply_wait *w, unsigned char *rx, uint16_t seq, int32_t command, int64_t deadline,
                 int64_t byte_ns)
{
    memset(w, 0, sizeof *w);
    w->rx = rx;
    w->seq = seq;
    w->command = command;
    w->deadline = deadline;
    w->byte_ns = byte_ns;
}

unsigned char *reply_space(struct reply_wait *w, size_t *room)
{
    if (w->start > 0) {
        memmove(w->rx, w->rx + w->start, w->fill - w->start);
        w->fill -= w->start;
        w->start = 0;
    }
    *room = REPLY_CAPACITY - w->fill;
    return w->rx + w->fill;
}

static int64_t earlier(int64_t a, int64_t b)
{
    return a < b ? a : b;
}

int64_t reply_limit(const struct reply_wait *w)
{
    if (!w->in_frame || w->byte_ns == 0)
        return w->deadline;
    const int64_t arrived = (int64_t)(w->fill - w->start);
    int64_t limit = w->deadline + (int64_t)w->frame_size * w->byte_ns;
    limit = earlier(limit, w->frame_seen_ns + arrived * w->byte_ns * REPLY_SLOWEST_RATE_DIVISOR);
    limit = earlier(limit, w->last_byte_ns + REPLY_GAP_NS);
    return limit > w->deadline ? limit : w->deadline;
}

/* Decodes the undecided bytes one frame at a time: each pass either finds
 * the answer, fails the wait, passes over a frame or noise, or stops for
 * more bytes. */
static enum reply_status decide(struct reply_wait *w, int64_t now, trvo_frame *frame)
{
    for (;;) {
        frame->length = 0;
        size_t used = 0;
        const enum trvo_frame_status status =
            trvo_frame_decode(w->rx + w->start, w->fill - w->start, frame, &used);
        w->start += used;
        if (status == TRVO_FRAME_OVERSIZE || status == TRVO_FRAME_BAD_CHECKSUM)
            return REPLY_BROKEN;
        if (status == TRVO_FRAME_OK) {
            w->in_frame = 0;
            if (frame->kind != TRVO_FRAME_REQUEST && frame->seq == w->seq && frame->command == w->command)
                return REPLY_FOUND;
            continue;
        }
        /* Undecided bytes a whole header long begin with a sound header. */
        if (w->fill - w->start >= TRVO_FRAME_HEADER_SIZE && !w->in_frame) {
            w->in_frame = 1;
            w->frame_size = trvo_frame_size(frame->length);
            w->frame_seen_ns = now;
        } else if (w->fill - w->start < TRVO_FRAME_HEADER_SIZE) {
            w->in_frame = 0;
        }
        return REPLY_WAITING;
    }
}

enum reply_status reply_take(struct reply_wait *w, size_t count, int64_t now, trvo_frame *frame)
{
    w->fill += count;
    if (count > 0)
        w->last_byte_ns = now;
    const enum reply_status status = decide(w, now, frame);
    if (status == REPLY_WAITING && now >= reply_limit(w))
        return REPLY_TIMED_OUT;
    return status;
}
