#ifndef TARVO_CORE_READER_LOOK_H
#define TARVO_CORE_READER_LOOK_H

// Looking at readers without writing to them: each reader's configuration
// and firmware as read, and how it stands against the text a save would
// send it. The command line's check and backup and the batch dialog's check
// both look this way, and a check leaves a record as a save does.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

#include "config/form_value.h"
#include "config/read_back.h"
#include "core/cause_words.h"

// One reader as read: its configuration, its firmware, and what a save of
// the text compared with it would change there.
struct ReaderLook
{
    QString link;
    std::optional<QByteArray> text;
    const char *code = nullptr; // why there is no text, as a stable word
    QString cause;              // the same in the program's language
    std::optional<QString> firmware;
    std::vector<config::KeyDifference> changes; // values masked as config::shownValue masks them
    double seconds = 0;
    Cause why = {};      // what code and cause are worded from, and the record keeps
    bool opened = false; // the link was opened: something answers there
};

// Reads the reader of the link on a channel of its own; with a sent text,
// compares the reader with it.
ReaderLook lookAtReader(const QString &link, const QByteArray &sentText = QByteArray());

// Looks at every link, at most jobs at once, each on a thread of its own, and
// hands each look over as it finishes, one at a time, on the calling
// thread; a link with a text compares the reader with it. Returns when all
// that were started have finished; no further link starts once *stopping is
// set.
void lookAtEach(const QStringList &links, int jobs, const QHash<QString, QByteArray> &sentTexts,
                const std::function<void(const ReaderLook &)> &done, const std::atomic<bool> *stopping = nullptr);

// The check's record: confirmed when the reader holds the configuration
// (the form as it was compared, with its place), failed with what differs,
// unknown when it was not read. The note when the record was not kept.
std::optional<QString> recordCheck(const ReaderLook &look, const config::FormValue &form, const QString &place);

#endif
