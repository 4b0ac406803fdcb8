#ifndef TARVO_CLI_READERS_PART_H
#define TARVO_CLI_READERS_PART_H

// What the program loads only for the modes that talk to readers or read
// the record of saves: --write to readers, --check, --read, --find and
// --history. The command line's other modes never map the record store,
// the serial ports or the device library. The command line keeps the
// options, so that --help lists them all, and hands the part what it read.

#include <QCommandLineParser>
#include <QString>
#include <QtPlugin>

#include <optional>

#include "config/form_value.h"

enum class ReaderMode { Write, Fleet, History };

// The arguments as the command line read them; the paths are taken in the
// folder the user started in.
struct ReaderArguments
{
    ReaderMode mode = ReaderMode::Write;
    const QCommandLineParser *parser = nullptr;
    QString file;   // FILE; empty when none is given
    QString saveAs; // --save-as
    QString sheet;  // --sheet
};

class ReadersPart
{
public:
    virtual ~ReadersPart() = default;

    // What is wrong with the mode's arguments that only the part can tell
    // (two names of one reader, a number of jobs it cannot hold); nothing
    // when they fit.
    virtual std::optional<QString> usageProblem(const ReaderArguments &arguments) const = 0;
    // Runs --check, --read, --find or --history; the exit code.
    virtual int run(const ReaderArguments &arguments) const = 0;
    // Saves form, signed with the passwords given, to the readers --write
    // names; the exit code.
    virtual int write(const ReaderArguments &arguments, const config::FormValue &form) const = 0;
};

#define TARVO_READERS_PART_IID "org.tarvo.config.ReadersPart/1"
Q_DECLARE_INTERFACE(ReadersPart, TARVO_READERS_PART_IID)

#endif
