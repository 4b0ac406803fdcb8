#ifndef TARVO_DEVICE_DEVICE_LINK_H
#define TARVO_DEVICE_DEVICE_LINK_H

// The direct link to a reader: reading its configuration text and firmware
// version, and writing a signed configuration text to it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

#include "device/link_failure.h"

namespace device {

// How long a save's read-back may take in all (milliseconds): long enough
// for a reader that is still writing its flash when asked.
const int kReadBackBudgetMs = 3000;

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

// One reader's channel and the calls on it. The channel opens on the first
// open() and stays open until close() or the session's end; the device
// library re-opens a broken link behind the same handle by itself. Replies
// come back as values: nothing of the library's buffers outlives a call.
// One session is used by one thread at a time.
class Session
{
public:
    Session() = default;
    ~Session() { close(); }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Opens the channel to link (a description in the device library's
    // syntax) or, when link is empty, to the library's own setting; an open
    // channel is kept. False when the reader cannot be reached.
    bool open(const QString &link = QString());
    bool isOpen() const { return channel != 0; }
    void close();

    // Why the last call failed, or the last open when no channel is open.
    LinkFailure failure() const;

    // The reader's configuration text, up to its NUL; nothing when the call
    // fails or the reply holds no terminated text.
    std::optional<QByteArray> readConfig();
    // The same, asked again and again until it comes or budgetMs have passed
    // (a reader still busy, a link still coming back).
    std::optional<QByteArray> readConfigWithin(int budgetMs);
    // The reader's firmware version as text; nothing when the call fails.
    std::optional<QString> readVersion();
    // Writes the text's bytes as the reader's configuration.
    StoreAnswer storeConfig(const QByteArray &text);

private:
    intptr_t channel = 0;
    // Set when a call the library saw as answered gave a reply the tool
    // cannot use; cleared by the next call.
    std::optional<LinkFailure> unusableReply;
};

// The text of a version reply: up to its NUL and never past its length
// field, so a reader that leaves out the NUL cannot make us read on.
QString versionText(const char *data, int32_t length);

} // namespace device

#endif
