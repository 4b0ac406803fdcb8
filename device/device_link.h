#ifndef TARVO_DEVICE_DEVICE_LINK_H
#define TARVO_DEVICE_DEVICE_LINK_H

// The direct link to a reader: reading its configuration text and firmware
// version, and writing a signed configuration text to it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

#include "trvo/rpc_buffer.h"

// The program's one channel to the reader: 0 until a connect opens it, then
// kept (never closed, never opened again) until the program ends. The device
// library re-opens a broken link behind the same handle by itself.
extern intptr_t device_channel;

namespace device {

struct BufferRelease
{
    void operator()(rpc_buffer *buffer) const { rpc_buffer_free(buffer); }
};
using Buffer = std::unique_ptr<rpc_buffer, BufferRelease>;

// Opens the channel on the first connect; false when the reader cannot be
// reached.
bool openChannel();

// The reader's configuration text, a reply that ends within its payload (the
// import reads it as a C string); nothing when the call or the reply fails.
std::optional<Buffer> readConfig();

// The reader's version reply, whatever its payload; nothing when the call fails.
std::optional<Buffer> readVersion();

// The text of a version reply: up to its NUL and never past its length
// field, so a reader that leaves out the NUL cannot make us read on.
QString versionText(const char *data, int32_t length);

// Writes the text's bytes as the reader's configuration; true when the
// reader confirms that it stored them.
bool storeConfig(const QByteArray &text);

} // namespace device

#endif
