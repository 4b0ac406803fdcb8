#include "crypto/md5.h"

#include <string.h>

/* Per-step shift amounts of the four rounds. */
static const unsigned kShifts[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

/* The sine table: floor(abs(sin(i + 1)) * 2^32). */
static const uint32_t kSines[64] = {0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a,
                                    0xa8304613, 0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be,
                                    0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340,
                                    0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
                                    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8,
                                    0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c,
                                    0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
                                    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
                                    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92,
                                    0xffeff47d, 0x85845dd1, 0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1,
                                    0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

static uint32_t rotate_left(uint32_t x, unsigned n)
{
    return (x << n) | (x >> (32 - n));
}

static uint32_t load_le32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void store_le32(unsigned char *p, uint32_t v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

void md5_init(md5_context *ctx)
{
    ctx->state[0] = 0x67452301;
    ctx->state[1] = 0xefcdab89;
    ctx->state[2] = 0x98badcfe;
    ctx->state[3] = 0x10325476;
    ctx->count[0] = 0;
    ctx->count[1] = 0;
    memset(ctx->buffer, 0, sizeof ctx->buffer);
    memset(ctx->digest, 0, sizeof ctx->digest);
}

void md5_transform(uint32_t state[4], const unsigned char block[MD5_BLOCK_SIZE])
{
    uint32_t words[16];
    for (int i = 0; i < 16; ++i)
        words[i] = load_le32(block + 4 * i);

    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (unsigned i = 0; i < 64; ++i) {
        const unsigned round = i / 16;
        uint32_t f;
        unsigned g;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            g = i;
            break;
        case 1:
            f = (d & b) | (~d & c);
            g = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            g = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            g = (7 * i) % 16;
            break;
        }
        const uint32_t rotated = rotate_left(a + f + kSines[i] + words[g], kShifts[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void md5_update(md5_context *ctx, const unsigned char *bytes, size_t count)
{
    size_t used = (ctx->count[0] >> 3) & (MD5_BLOCK_SIZE - 1);

    /* The bit count is 64 bits wide and wraps as RFC 1321 has it. */
    const uint64_t bits = ((uint64_t)ctx->count[1] << 32 | ctx->count[0]) + ((uint64_t)count << 3);
    ctx->count[0] = (uint32_t)bits;
    ctx->count[1] = (uint32_t)(bits >> 32);

    const size_t room = MD5_BLOCK_SIZE - used;
    size_t done = 0;
    if (count >= room) {
        memcpy(ctx->buffer + used, bytes, room);
        md5_transform(ctx->state, ctx->buffer);
        for (done = room; done + MD5_BLOCK_SIZE <= count; done += MD5_BLOCK_SIZE)
            md5_transform(ctx->state, bytes + done);
        used = 0;
    }
    if (count > done)
        memcpy(ctx->buffer + used, bytes + done, count - done);
}

void md5_final(md5_context *ctx)
{
    static const unsigned char kPadding[MD5_BLOCK_SIZE] = {0x80};

    unsigned char length[8];
    store_le32(length, ctx->count[0]);
    store_le32(length + 4, ctx->count[1]);

    /* Pad to 56 bytes modulo 64, leaving room for the length. */
    const size_t used = (ctx->count[0] >> 3) & (MD5_BLOCK_SIZE - 1);
    const size_t pad = used < 56 ? 56 - used : 120 - used;
    md5_update(ctx, kPadding, pad);
    md5_update(ctx, length, sizeof length);

    for (int i = 0; i < 4; ++i)
        store_le32(ctx->digest + 4 * i, ctx->state[i]);
}

int md5_digest(const unsigned char *bytes, size_t count, unsigned char out[MD5_DIGEST_SIZE])
{
    md5_context ctx;
    md5_init(&ctx);
    md5_update(&ctx, bytes, count);
    md5_final(&ctx);
    memcpy(out, ctx.digest, MD5_DIGEST_SIZE);
    return MD5_DIGEST_SIZE;
}
