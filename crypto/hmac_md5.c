#include "crypto/hmac_md5.h"

#include <string.h>

#include "crypto/md5.h"

int hmac_md5(const unsigned char *text, size_t text_len, const unsigned char *key, size_t key_len,
             unsigned char *digest)
{
    unsigned char key_block[MD5_BLOCK_SIZE] = {0};
    if (key) {
        if (key_len > MD5_BLOCK_SIZE)
            md5_digest(key, key_len, key_block);
        else
            memcpy(key_block, key, key_len);
    }
    if (!text)
        text_len = 0;

    unsigned char inner_pad[MD5_BLOCK_SIZE];
    unsigned char outer_pad[MD5_BLOCK_SIZE];
    for (int i = 0; i < MD5_BLOCK_SIZE; ++i) {
        inner_pad[i] = key_block[i] ^ 0x36;
        outer_pad[i] = key_block[i] ^ 0x5c;
    }

    md5_context inner;
    md5_init(&inner);
    md5_update(&inner, inner_pad, sizeof inner_pad);
    md5_update(&inner, text, text_len);
    md5_final(&inner);

    md5_context outer;
    md5_init(&outer);
    md5_update(&outer, outer_pad, sizeof outer_pad);
    md5_update(&outer, inner.digest, MD5_DIGEST_SIZE);
    md5_final(&outer);

    if (digest)
        memcpy(digest, outer.digest, MD5_DIGEST_SIZE);
    return HMAC_MD5_DIGEST_SIZE;
}
