#ifndef TARVO_CORE_VERIFIED_SAVE_H
#define TARVO_CORE_VERIFIED_SAVE_H

// A save that is reported stored only when the reader's configuration, read
// back afterwards, carries every value that was sent.

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/cause_words.h"
#include "device/device_link.h"

struct SaveReport
{
    enum Outcome { Saved, Failed, Unknown } outcome;
    QString detail;          // the box's informative text; empty for a plain success
    bool readerGone = false; // the reader stopped answering: the link is down
    // Why it is not a plain success, as a stable word for scripts (README,
    // "Machine-readable causes"); nullptr for a plain success.
    const char *code = nullptr;
    // The reader's configuration as read back after the save, when it gave one.
    std::optional<QByteArray> readBack = std::nullopt;
    // Why, as data: what detail and code are worded from, and what a record keeps.
    Cause cause = {};
};

// A report of that outcome, its detail and code worded from the cause.
SaveReport reported(SaveReport::Outcome outcome, Cause cause, bool readerGone = false);

// Whether the text hands the reader a new configuration password.
bool changesPassword(const QString &signedText);

// Writes the signed configuration text to the reader over the open channel
// and reads the reader back. A call that goes unanswered (timed out, line
// dropped, reply unreadable) is settled by the read-back alone.
SaveReport saveVerified(device::Session &reader, const QString &signedText);

#endif
