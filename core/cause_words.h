#ifndef TARVO_CORE_CAUSE_WORDS_H
#define TARVO_CORE_CAUSE_WORDS_H

// Why a save or a check failed or is unknown, kept as data: parts, each a
// code and what its sentence names. One table words them, for the box and
// the command line as the save ends and for every viewer of the record
// afterwards, each in the language shown then.

#include <QString>
#include <vector>

#include "device/link_failure.h"
#include "records/record_store.h"

using Cause = std::vector<records::CausePart>;

// A failed link: its cause's code (no_answer for a cause without one) and
// the device library's line naming the port or host.
Cause linkFailureCause(const device::LinkFailure &failure);

// A failed link as a detail: what happened and what to do, then the device
// library's own line naming the port or host. Empty when nothing failed.
QString linkFailureText(const device::LinkFailure &failure);

// The cause in the program's language, a part a line.
QString causeWords(const Cause &cause);

// The stable word for scripts (README, "Machine-readable causes"): the last
// part's code; nullptr for no cause.
const char *causeCode(const Cause &cause);

// A record's cause in the program's language: its parts worded, or the
// text an older record kept.
QString recordCause(const records::Record &record);

// "confirmed", "failed: <cause>" or "unknown", the cause in the program's
// language.
QString resultWords(const records::Record &record);

#endif
