#include "crypto/base64.h"

#include <stdint.h>
#include <stdlib.h>

static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

char *base64_encode(const unsigned char *data, size_t len)
{
    const size_t groups = len / 3 + (len % 3 != 0);
    if (groups > (SIZE_MAX - 1) / 4)
        return NULL;
    char *out = malloc(groups * 4 + 1);
    if (!out)
        return NULL;

    char *p = out;
    for (size_t i = 0; i < len; i += 3) {
        const size_t left = len - i;
        const unsigned long triple = (unsigned long)data[i] << 16
                                     | (left > 1 ? (unsigned long)data[i + 1] << 8 : 0)
                                     | (left > 2 ? (unsigned long)data[i + 2] : 0);
        *p++ = kAlphabet[(triple >> 18) & 63];
        *p++ = kAlphabet[(triple >> 12) & 63];
        *p++ = left > 1 ? kAlphabet[(triple >> 6) & 63] : '=';
        *p++ = left > 2 ? kAlphabet[triple & 63] : '=';
    }
    *p = '\0';
    return out;
}
