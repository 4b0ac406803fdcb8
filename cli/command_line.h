#ifndef TARVO_CLI_COMMAND_LINE_H
#define TARVO_CLI_COMMAND_LINE_H

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

#include "cli/readers_part.h"
#include "config/form_value.h"
#include "config/set_values.h"
#include "program/code_file.h"

// What the program is asked to do by its arguments: show the window (with a
// configuration file loaded, when one is named), or, without any window,
// print a file's signed configuration text, write its config code, write
// it again in our file format, or save it to many readers at once; or
// print the record of saves.
//
// The passwords come from the environment or from files, never from the
// arguments, which other users can read. Its texts, --help's included, are
// in the language installed when it is constructed.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum Mode { Window, Text, Code, SaveAs, Write, History, Fleet, Help, Version, UsageError };

    explicit CommandLine(const QStringList &arguments);

    Mode mode() const { return chosen; }
    // Whether the program has to start on a display: the window does; the
    // other modes run on the offscreen platform. So does a usage error,
    // unless it may come from Qt's own options (which the application takes
    // out of the arguments) while there is a display to start on.
    bool needsDisplay() const;
    // The file to load into the window; empty for none. A relative name is
    // taken in the folder the user started in (TARVO_CALLER_DIR, which the
    // installed launcher sets), else in the working directory.
    const QString &file() const { return input; }
    const QString &language() const { return lang; }

    // Runs a mode that needs no window in the running application and
    // gives the exit code: 0 done, 1 the configuration is refused (or a
    // reader did not confirm it), 2 a usage error or a file that cannot be
    // read or written. --code draws through writeCode, and the modes that
    // talk to readers or read the record of saves run in readers (both
    // need be given only to the modes that use them).
    int runWithoutWindow(CodeFileWriter writeCode = {}, const ReadersPart *readers = nullptr);
    // Whether the mode runs in the readers part: --write, --check, --read,
    // --find and --history.
    bool needsReadersPart() const;

private:
    void choose(const QStringList &arguments);
    void chooseFileMode(const QStringList &files);
    int writeSigned(config::FormValue &form);
    std::optional<QString> signForm(config::FormValue &form, int *exitCode);
    bool writeOptionsFit(Mode mode);
    ReaderArguments readerArguments() const;
    int runReaderMode() const;

    QCommandLineParser parser;
    Mode chosen = Window;
    bool windowlessNamed = false;
    QString input;
    QString output;
    QString lang;
    bool verbose = false;
    QString problem;
    config::KeyValues set;
    CodeFileWriter drawCode;
    const ReadersPart *readers = nullptr;
};

#endif
