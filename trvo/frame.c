#include "trvo/frame.h"

#include <string.h>

uint32_t trvo_crc32(const void *bytes, size_t count)
{
    const unsigned char *p = bytes;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) {
        crc ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

static void put_le32(unsigned char *p, uint32_t v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

static uint32_t get_le32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

size_t trvo_frame_size(size_t n)
{
    return TRVO_FRAME_HEADER_SIZE + n + TRVO_FRAME_TRAILER_SIZE;
}

size_t trvo_frame_encode(unsigned char *out, size_t capacity, enum trvo_frame_kind kind, uint16_t seq,
                         int32_t command, const void *payload, size_t n)
{
    if (n > TRVO_FRAME_MAX_PAYLOAD || capacity < trvo_frame_size(n))
        return 0;
    out[0] = TRVO_FRAME_MARKER_0;
    out[1] = TRVO_FRAME_MARKER_1;
    out[2] = (unsigned char)kind;
    out[3] = 0;
    out[4] = (unsigned char)seq;
    out[5] = (unsigned char)(seq >> 8);
    put_le32(out + 6, (uint32_t)command);
    put_le32(out + TRVO_FRAME_LENGTH_OFFSET, (uint32_t)n);
    put_le32(out + TRVO_FRAME_HEADER_CHECK_OFFSET, trvo_crc32(out, TRVO_FRAME_HEADER_CHECK_OFFSET));
    if (n > 0)
        memcpy(out + TRVO_FRAME_HEADER_SIZE, payload, n);
    put_le32(out + TRVO_FRAME_HEADER_SIZE + n, trvo_crc32(out + TRVO_FRAME_HEADER_SIZE, n));
    return trvo_frame_size(n);
}

/* A header whose check holds and whose fixed fields are sane. */
static int sound_header(const unsigned char *h)
{
    return h[0] == TRVO_FRAME_MARKER_0 && h[1] == TRVO_FRAME_MARKER_1 && h[2] >= TRVO_FRAME_REQUEST
           && h[2] <= TRVO_FRAME_REFUSAL && h[3] == 0
           && get_le32(h + TRVO_FRAME_HEADER_CHECK_OFFSET) == trvo_crc32(h, TRVO_FRAME_HEADER_CHECK_OFFSET);
}

enum trvo_frame_status trvo_frame_decode(const unsigned char *bytes, size_t count, trvo_frame *frame,
                                         size_t *consumed)
{
    size_t start = 0;
    for (;; ++start) {
        /* Find the next marker; a lone first marker byte at the end may
         * still begin a frame. */
        while (start < count && bytes[start] != TRVO_FRAME_MARKER_0)
            ++start;
        if (count - start < TRVO_FRAME_HEADER_SIZE) {
            *consumed = start;
            if (start + 1 < count && bytes[start + 1] != TRVO_FRAME_MARKER_1)
                continue;
            return TRVO_FRAME_INCOMPLETE;
        }
        if (sound_header(bytes + start))
            break;
    }

    const unsigned char *h = bytes + start;
    const uint32_t length = get_le32(h + TRVO_FRAME_LENGTH_OFFSET);
    if (length > TRVO_FRAME_MAX_PAYLOAD) {
        *consumed = start + TRVO_FRAME_HEADER_SIZE;
        return TRVO_FRAME_OVERSIZE;
    }
    if (count - start < trvo_frame_size(length)) {
        *consumed = start;
        frame->length = length;
        return TRVO_FRAME_INCOMPLETE;
    }
    const unsigned char *payload = h + TRVO_FRAME_HEADER_SIZE;
    if (get_le32(payload + length) != trvo_crc32(payload, length)) {
        *consumed = start + TRVO_FRAME_HEADER_SIZE;
        return TRVO_FRAME_BAD_CHECKSUM;
    }
    frame->kind = (enum trvo_frame_kind)h[2];
    frame->seq = (uint16_t)(h[4] | h[5] << 8);
    frame->command = (int32_t)get_le32(h + 6);
    frame->length = length;
    frame->payload = payload;
    *consumed = start + trvo_frame_size(length);
    return TRVO_FRAME_OK;
}
