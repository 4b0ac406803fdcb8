#ifndef TARVO_READERS_HISTORY_MODE_H
#define TARVO_READERS_HISTORY_MODE_H

// --history: the record of saves on standard output, read from the store
// as it is printed, so that a long record costs no more memory than a short.

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>

// --since's argument: exactly a date (from midnight on the user's clock), or
// a date and time, in its zone when it names one and on the user's clock
// when not; nothing for anything else.
std::optional<QDateTime> historySince(const QString &argument);

// The records from since on (all when since is invalid), oldest first, one
// line each through print: tab-separated, or CSV with a header line. Stops
// at the first line print does not take (*allPrinted false); the reason
// when the store could not be read.
std::optional<QString> printHistory(const QDateTime &since, bool csv,
                                    const std::function<bool(const QString &)> &print, bool *allPrinted);

#endif
