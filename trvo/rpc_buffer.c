#include "trvo/rpc_buffer.h"

#include <stddef.h>
#include <stdlib.h>
#include <string.h>

struct rpc_buffer
{
    uint32_t header;
    int32_t len;
    unsigned char data[];
};

_Static_assert(offsetof(struct rpc_buffer, data) == RPC_BUFFER_HEADER_SIZE,
               "the payload starts 8 bytes into the block");

rpc_buffer *rpc_buffer_new(const void *source, int32_t n)
{
    if (n < 0)
        return NULL;
    rpc_buffer *buffer = malloc(RPC_BUFFER_HEADER_SIZE + (size_t)n);
    if (!buffer)
        return NULL;
    buffer->header = 0;
    buffer->len = n;
    if (source && n > 0)
        memcpy(buffer->data, source, (size_t)n);
    return buffer;
}

char *rpc_buffer_data(rpc_buffer *buffer)
{
    return buffer ? (char *)buffer->data : NULL;
}

int32_t rpc_buffer_len(const rpc_buffer *buffer)
{
    return buffer ? buffer->len : 0;
}

void rpc_buffer_free(rpc_buffer *buffer)
{
    free(buffer);
}

rpc_buffer *rpc_buffer_of_data(char *data)
{
    return data ? (rpc_buffer *)(data - RPC_BUFFER_HEADER_SIZE) : NULL;
}
