#ifndef TARVO_CRYPTO_MD5_H
#define TARVO_CRYPTO_MD5_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { MD5_DIGEST_SIZE = 16, MD5_BLOCK_SIZE = 64 };

/* Running state of one MD5 computation (RFC 1321). */
typedef struct md5_context
{
    uint32_t state[4];                     /* A, B, C, D */
    uint32_t count[2];                     /* message length in bits: low word, high word */
    unsigned char buffer[MD5_BLOCK_SIZE];  /* bytes of the block not yet transformed */
    unsigned char digest[MD5_DIGEST_SIZE]; /* the result, filled by md5_final */
} md5_context;

void md5_init(md5_context *ctx);
void md5_update(md5_context *ctx, const unsigned char *bytes, size_t count);
/* Pads the message, appends its length and stores the digest in ctx->digest. */
void md5_final(md5_context *ctx);
/* Mixes one 64-byte block into the four state words. */
void md5_transform(uint32_t state[4], const unsigned char block[MD5_BLOCK_SIZE]);
/* MD5 of count bytes into out; returns MD5_DIGEST_SIZE. */
int md5_digest(const unsigned char *bytes, size_t count, unsigned char out[MD5_DIGEST_SIZE]);

#ifdef __cplusplus
}
#endif

#endif
