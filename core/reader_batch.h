#ifndef TARVO_CORE_READER_BATCH_H
#define TARVO_CORE_READER_BATCH_H

// Saves one signed configuration to many readers at once, each on a thread
// and a channel of its own, so that a silent or absent reader holds up only
// its own link.

#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

#include "config/read_back.h"
#include "core/verified_save.h"
#include "records/record_store.h"

struct ReaderResult
{
    QString link;
    SaveReport report;
    std::optional<QString> firmware; // when the reader told it after the save
    double seconds = 0;              // from the open to the last answer
    // What the save changes on the reader, once its configuration was read
    // (the keys masked as config::shownValue masks them).
    std::optional<std::vector<config::KeyDifference>> changes;
    bool unchanged = false; // the reader held the configuration and was not written
};

// What a batch does with each reader's own text, read before its save: tell
// what the save changes there, or also leave out a reader that holds every
// value already (no flash written, no restart).
enum class BeforeSave { Compare, SkipUnchanged };

// Calls work for every link, at most jobs at once, each on a thread of its
// own; no further link starts once *stopping is set. What work returns for
// a link (its report) runs on the calling thread, one at a time, as each
// link ends, and every one of them before this returns. What a report keeps (a record of the save) then goes
// through the caller's one connection to the store.
void forEachLinkReported(const QStringList &links, int jobs,
                         const std::function<std::function<void()>(const QString &link)> &work,
                         const std::atomic<bool> *stopping = nullptr);

class ReaderBatch
{
public:
    // The most links written at once: the device library's channels.
    static constexpr int kMostJobs = 64;

    ReaderBatch(const QStringList &links, const QString &signedText, int jobs,
                BeforeSave before = BeforeSave::Compare);
    // Each link with a signed text of its own, by its link.
    ReaderBatch(const QStringList &links, QHash<QString, QString> signedTexts, int jobs,
                BeforeSave before = BeforeSave::Compare);

    // Writes every link, at most jobs at once, and returns when all that were
    // started have finished. done is called as each finishes, one at a time,
    // on the thread that called run; started, when given, as each begins, on
    // the thread that writes the link.
    void run(const std::function<void(const ReaderResult &)> &done,
             const std::function<void(const QString &link)> &started = {});

    // Starts no further link; the saves under way finish and are reported.
    // Safe from any thread while run() goes on.
    void stop() { stopping = true; }

private:
    QStringList links;
    QHash<QString, QString> signedTexts;
    int jobs;
    BeforeSave before;
    std::atomic<bool> stopping{false};
};

// One reader: its channel opened for the save and closed after it. The
// reader's configuration is read first, so that the result says what the
// save changes there; a reader that gives none is not written.
ReaderResult saveToReader(const QString &link, const QString &signedText,
                          BeforeSave before = BeforeSave::Compare);

#endif
