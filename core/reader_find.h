#ifndef TARVO_CORE_READER_FIND_H
#define TARVO_CORE_READER_FIND_H

// Finding readers on the network: a range of addresses and ports as the
// user gives it, and which of them a reader answers on. The command line's
// --find and the batch dialog's 查找 both find this way.

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>

#include "core/reader_look.h"

// The most addresses one range names, and the most tried at once.
constexpr int kMostFoundAddresses = 4096;
constexpr int kMostTriesAtOnce = 64;

// Links to readers, or why there are none, in the program's language.
struct Links
{
    QStringList links;
    std::optional<QString> problem;
};

// The links a range names, in its order: A.B.C.D, A.B.C.D-E or A.B.C.D/N
// (each host of the block), then :PORT or :PORT-PORT (the readers' own port
// when none is given); or HOST:PORT[-PORT]. The problem for a range that is
// malformed or names too many addresses.
Links rangeLinks(const QString &range);

// A reader found: how it looked, and its output channel in the form's
// words. A peer that takes the connection but answers no reader's call is
// found failed.
struct FoundReader
{
    ReaderLook look;
    QString channel;
};

// Tries every link, at most jobs at once (no more than kMostTriesAtOnce),
// and hands each over as it is tried, one at a time, on the calling thread:
// the reader there, or nothing where nothing took the connection.
// Returns when all that were started have finished; no further link starts
// once *stopping is set.
void findReaders(const QStringList &links, int jobs,
                 const std::function<void(const QString &link, const std::optional<FoundReader> &found)> &tried,
                 const std::atomic<bool> *stopping = nullptr);

#endif
