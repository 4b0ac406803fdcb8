#ifndef TARVO_CRYPTO_HMAC_MD5_H
#define TARVO_CRYPTO_HMAC_MD5_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { HMAC_MD5_DIGEST_SIZE = 16 };

/* HMAC-MD5 (RFC 2104) of text keyed by key, written to digest. A null text
   counts as empty, a null key leaves the key block zero, a null digest
   writes nothing. Returns HMAC_MD5_DIGEST_SIZE. */
int hmac_md5(const unsigned char *text, size_t text_len, const unsigned char *key, size_t key_len,
             unsigned char *digest);

#ifdef __cplusplus
}
#endif

#endif
