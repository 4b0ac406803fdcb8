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

#include "device/link_failure.h"

// The program's one channel to the reader: 0 until a connect opens it, then
// kept until the user chooses another reader or the program ends. The device
// library re-opens a broken link behind the same handle by itself.
extern intptr_t device_channel;

namespace device {

struct BufferRelease
{
    void operator()(rpc_buffer *buffer) const { rpc_buffer_free(buffer); }
};
using Buffer = std::unique_ptr<rpc_buffer, BufferRelease>;

// Opens the channel on the first connect, to link (a description in the
// device library's syntax) or, when link is empty, to the library's own
// setting; false when the reader cannot be reached.
bool openChannel(const QString &link = QString());
bool channelOpen();
// Closes the channel; the next connect opens it again.
void closeChannel();

// Why the last call failed, or the last open when no channel is open.
LinkFailure failure();

// How long a save's read-back may take in all (milliseconds): long enough
// for a reader that is still writing its flash when asked.
const int kReadBackBudgetMs = 3000;

// The reader's configuration text, read again and again until it comes or
// budgetMs have passed (a reader still busy, a link still coming back).
std::optional<Buffer> readConfigWithin(int budgetMs);

// The reader's configuration text, a reply that ends within its payload (the
// import reads it as a C string); nothing when the call or the reply fails.
std::optional<Buffer> readConfig();

// The reader's version reply, whatever its payload; nothing when the call fails.
std::optional<Buffer> readVersion();

// The text of a version reply: up to its NUL and never past its length
// field, so a reader that leaves out the NUL cannot make us read on.
QString versionText(const char *data, int32_t length);

enum class Stored {
    Yes,        // the reader answered that it stored the text
    Refused,    // the reader answered that it did not
    Unanswered, // the request went out, no readable answer came: it may have
    NotSent     // the request never reached the reader
};

struct StoreAnswer
{
    Stored stored;
    LinkFailure failure; // when the call failed
};

// Writes the text's bytes as the reader's configuration.
StoreAnswer storeConfig(const QByteArray &text);

} // namespace device

#endif
