#ifndef TARVO_CRYPTO_BASE64_H
#define TARVO_CRYPTO_BASE64_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Base64 (RFC 4648 alphabet, "=" padding, no line breaks) of len bytes, as a
   new NUL-terminated string that the caller frees with free(); null when
   memory runs out. */
char *base64_encode(const unsigned char *data, size_t len);

#ifdef __cplusplus
}
#endif

#endif
