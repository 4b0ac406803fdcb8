#ifndef TARVO_READERS_WRITE_MODE_H
#define TARVO_READERS_WRITE_MODE_H

// --write to readers: the configuration saved to many readers side by side,
// each over a channel of its own.

#include <QCommandLineParser>
#include <QString>

#include <optional>

#include "cli/readers_part.h"
#include "config/form_value.h"

// The refusal of a --jobs outside what a batch can hold.
QString jobsOutOfRange();

// Why --write's readers cannot be written as given: a number of jobs the
// batch cannot hold, or one reader named twice; nothing when they can.
std::optional<QString> writeProblem(const QCommandLineParser &parser);

// Saves form, signed, to the readers --device and --sheet name, a line (or a
// JSON object) for each on standard output as it finishes, and the count of
// each outcome on standard error; the exit code.
int writeToReaders(const ReaderArguments &arguments, const config::FormValue &form);

#endif
