#ifndef TARVO_TRVO_FRAME_H
#define TARVO_TRVO_FRAME_H

/* Frames of the link between the device library and a reader.
 *
 *   offset  size  content
 *   0       2     start marker 0xA5 0x5A
 *   2       1     kind: 1 request, 2 reply, 3 refusal (the reader will not
 *                 carry out the command)
 *   3       1     0, reserved
 *   4       2     sequence number, little-endian; a reply repeats its request's
 *   6       4     command, little-endian, two's complement
 *   10      4     payload length n, little-endian, at most TRVO_FRAME_MAX_PAYLOAD
 *   14      4     CRC-32 of bytes 0 to 13
 *   18      n     payload
 *   18 + n  4     CRC-32 of the payload, little-endian
 *
 * The CRC-32 is the common one (reflected polynomial 0xEDB88320, initial and
 * final XOR 0xFFFFFFFF). The header's own check lets a receiver tell a real
 * frame from line noise that happens to hold the marker, and learn a frame's
 * length before its payload has arrived.
 */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    TRVO_FRAME_HEADER_SIZE = 18,
    TRVO_FRAME_LENGTH_OFFSET = 10,
    TRVO_FRAME_HEADER_CHECK_OFFSET = 14,
    TRVO_FRAME_TRAILER_SIZE = 4,
    TRVO_FRAME_MAX_PAYLOAD = 65536,
    TRVO_FRAME_MARKER_0 = 0xA5,
    TRVO_FRAME_MARKER_1 = 0x5A
};

enum trvo_frame_kind { TRVO_FRAME_REQUEST = 1, TRVO_FRAME_REPLY = 2, TRVO_FRAME_REFUSAL = 3 };

typedef struct trvo_frame
{
    enum trvo_frame_kind kind;
    uint16_t seq;
    int32_t command;
    uint32_t length;
    const unsigned char *payload; /* points into the decoded bytes */
} trvo_frame;

enum trvo_frame_status {
    TRVO_FRAME_OK = 0,
    TRVO_FRAME_INCOMPLETE = 1,   /* no whole frame yet: read more */
    TRVO_FRAME_OVERSIZE = -1,    /* a sound header announces too long a payload */
    TRVO_FRAME_BAD_CHECKSUM = -2 /* a sound header, a payload that fails its check */
};

uint32_t trvo_crc32(const void *bytes, size_t count);

/* Bytes of a whole frame with a payload of n bytes. */
size_t trvo_frame_size(size_t n);

/* Writes a frame into out, which holds capacity bytes. Returns the frame's
 * size, or 0 when the payload is over the bound or out is too small. */
size_t trvo_frame_encode(unsigned char *out, size_t capacity, enum trvo_frame_kind kind, uint16_t seq,
                         int32_t command, const void *payload, size_t n);

/* Looks for the first frame in the count bytes at bytes. Anything before a
 * sound header (noise, a marker in a broken header) is skipped.
 * *consumed receives the number of bytes the caller may drop:
 *  OK: the skipped bytes and the frame, which *frame describes;
 *  INCOMPLETE: the skipped bytes only; when a sound header has arrived,
 *    frame->length already holds its payload length;
 *  OVERSIZE, BAD_CHECKSUM: the skipped bytes and the offending header. */
enum trvo_frame_status trvo_frame_decode(const unsigned char *bytes, size_t count, trvo_frame *frame,
                                         size_t *consumed);

#ifdef __cplusplus
}
#endif

#endif
