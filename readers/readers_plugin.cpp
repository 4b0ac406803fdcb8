#include "readers/readers_plugin.h"

#include <QCoreApplication>

#include "cli/output.h"
#include "core/device_log.h"
#include "program/script_log.h"
#include "readers/fleet_modes.h"
#include "readers/history_mode.h"
#include "readers/write_mode.h"

namespace {

// --history takes no FILE; --since a date (from its local midnight) or an ISO time.
std::optional<QString> historyProblem(const QCommandLineParser &parser)
{
    if (!parser.positionalArguments().isEmpty())
        return QCoreApplication::translate("CommandLine", "--history 不读取 FILE");
    if (parser.isSet(QStringLiteral("since")) && !historySince(parser.value(QStringLiteral("since"))))
        return QCoreApplication::translate(
            "CommandLine", "--since 需要 YYYY-MM-DD 格式的日期，或 YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM] 格式的时间");
    return std::nullopt;
}

// The record of saves, each line checked as it goes out.
int history(const QCommandLineParser &parser)
{
    bool allPrinted = true;
    const std::optional<QString> unread = printHistory(
        historySince(parser.value(QStringLiteral("since"))).value_or(QDateTime()),
        parser.isSet(QStringLiteral("csv")), [](const QString &text) { return print(stdout, text); },
        &allPrinted);
    if (!allPrinted)
        return printed(QString(), 0);
    return unread ? failed(*unread) : 0;
}

// The part holds copies of its own of the libraries' log routing: they
// follow the rules the command line set before handing over.
void routeLibraryLogs()
{
    routeScriptLog();
    routeDeviceLog();
}

} // namespace

std::optional<QString> ReadersPlugin::usageProblem(const ReaderArguments &arguments) const
{
    switch (arguments.mode) {
    case ReaderMode::Write:
        return writeProblem(*arguments.parser);
    case ReaderMode::History:
        return historyProblem(*arguments.parser);
    case ReaderMode::Fleet:
        break;
    }
    return fleet::FleetRun().choose(*arguments.parser, arguments.file, arguments.saveAs, arguments.sheet);
}

int ReadersPlugin::run(const ReaderArguments &arguments) const
{
    routeLibraryLogs();
    if (arguments.mode == ReaderMode::History)
        return history(*arguments.parser);
    fleet::FleetRun fleet;
    fleet.choose(*arguments.parser, arguments.file, arguments.saveAs, arguments.sheet);
    return fleet.run();
}

int ReadersPlugin::write(const ReaderArguments &arguments, const config::FormValue &form) const
{
    routeLibraryLogs();
    return writeToReaders(arguments, form);
}
