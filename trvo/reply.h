#ifndef TARVO_TRVO_REPLY_H
#define TARVO_TRVO_REPLY_H

/* The wait for one reply: takes the bytes a link delivers, passes over noise
 * and the frames of other requests, and decides when the wait ends. It reads
 * no clock and no descriptor itself, so that it can be driven with any
 * pattern of bytes and arrival times. Times are in nanoseconds on one
 * monotonic clock.
 *
 * The wait ends at the call's deadline, with one allowance on a serial line:
 * a frame under way at the deadline may finish, for at most its own wire
 * time past the deadline, as long as it keeps arriving at a tenth of the
 * line rate or better, with no silence of REPLY_GAP_NS in between. */

#include <stddef.h>
#include <stdint.h>

#include "trvo/frame.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { REPLY_CAPACITY = TRVO_FRAME_HEADER_SIZE + TRVO_FRAME_MAX_PAYLOAD + TRVO_FRAME_TRAILER_SIZE };
#define REPLY_GAP_NS ((int64_t)100 * 1000000)
/* A frame must arrive at no less than the line rate divided by this. */
#define REPLY_SLOWEST_RATE_DIVISOR 10

enum reply_status {
    REPLY_WAITING, /* read more bytes, until reply_limit() at the latest */
    REPLY_FOUND,   /* the answer: *frame describes it */
    REPLY_BROKEN,  /* a frame failed its check or announced too much */
    REPLY_TIMED_OUT
};

struct reply_wait
{
    unsigned char *rx; /* REPLY_CAPACITY bytes */
    size_t start;      /* bytes before start are decided */
    size_t fill;
    uint16_t seq;
    int32_t command;
    int64_t deadline;
    int64_t byte_ns; /* wire time of a byte; 0 on a link without a line rate */
    int in_frame;    /* a sound header waits at start for the rest of its frame */
    size_t frame_size;
    int64_t frame_seen_ns;
    int64_t last_byte_ns;
};

void reply_begin(struct reply_wait *w, unsigned char *rx, uint16_t seq, int32_t command, int64_t deadline,
                 int64_t byte_ns);

/* Where the next bytes go: *room bytes at the returned place (at least 1). */
unsigned char *reply_space(struct reply_wait *w, size_t *room);

/* Takes count bytes just written at reply_space(), arrived by now (count may
 * be 0), and decides. On REPLY_FOUND the frame's payload points into rx. */
enum reply_status reply_take(struct reply_wait *w, size_t count, int64_t now, trvo_frame *frame);

/* When the wait ends unless more bytes arrive: never before the deadline,
 * never later than the deadline plus the wire time of the largest frame. */
int64_t reply_limit(const struct reply_wait *w);

#ifdef __cplusplus
}
#endif

#endif
