#ifndef TARVO_APP_VERIFIED_SAVE_H
#define TARVO_APP_VERIFIED_SAVE_H

// A save that is reported stored only when the reader's configuration, read
// back afterwards, carries every value that was sent.

#include <QByteArray>
#include <QString>
#include <optional>

struct SaveReport
{
    enum Outcome { Saved, Failed, Unknown } outcome;
    QString detail; // the box's informative text; empty for a plain success
    bool readerGone = false; // the reader stopped answering: the link is down
};

// Writes the signed configuration text to the reader over the open channel
// and reads the reader back. A call that goes unanswered (timed out, line
// dropped, reply unreadable) is settled by the read-back alone.
SaveReport saveVerified(const QString &signedText);

// Whether the reader's text holds every value of the signed text, as the
// form would hold them: the name of the first form field that differs,
// nothing when none does, or the import's complaint in *failure.
std::optional<QString> differingField(const QString &signedText, const char *readerText, QString *failure);

#endif
