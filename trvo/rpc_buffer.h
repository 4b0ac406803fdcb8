#ifndef TARVO_TRVO_RPC_BUFFER_H
#define TARVO_TRVO_RPC_BUFFER_H

/* The byte buffer that the tool and the device library hand each other.
 *
 * One heap block of 8 + n bytes, allocated with malloc and released with
 * free of the one process-wide heap that both sides use:
 *
 *   offset 0  4 bytes  header word of the RPC layer (the tool ignores it)
 *   offset 4  4 bytes  n, the payload length, signed, host byte order
 *   offset 8  n bytes  payload
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef TRVO_API
#if defined(__GNUC__)
#define TRVO_API __attribute__((visibility("default")))
#else
#define TRVO_API
#endif
#endif

typedef struct rpc_buffer rpc_buffer;

enum { RPC_BUFFER_HEADER_SIZE = 8 };

/* A new block whose payload is a copy of the n bytes at source, or left as
 * allocated when source is null. Null when n is negative or the allocation
 * fails. */
TRVO_API rpc_buffer *rpc_buffer_new(const void *source, int32_t n);

/* The payload's address; null for a null buffer. */
TRVO_API char *rpc_buffer_data(rpc_buffer *buffer);

/* The length field; 0 for a null buffer. */
TRVO_API int32_t rpc_buffer_len(const rpc_buffer *buffer);

/* Releases the block with free; a null buffer is ignored. */
TRVO_API void rpc_buffer_free(rpc_buffer *buffer);

/* The block whose payload starts at data (the inverse of rpc_buffer_data),
 * for holders that keep only the payload's address; null for null. */
TRVO_API rpc_buffer *rpc_buffer_of_data(char *data);

#ifdef __cplusplus
}
#endif

#endif
