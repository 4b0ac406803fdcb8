#include "core/library_log.h"

#include "script/script_bridge.h"
#include "trvo/trvo.h"

Q_LOGGING_CATEGORY(scriptLog, "tarvo.script")
Q_LOGGING_CATEGORY(deviceLog, "tarvo.device")

// A library without a sink does not even format its lines: the script's
// bridge writes one for every number it answers, which a batch of readers
// would pay for on every read.
void routeLibraryLogs()
{
    if (scriptLog().isDebugEnabled())
        script_set_log_sink([](const char *line) { qCDebug(scriptLog, "%s", line); });
    else
        script_set_log_sink(nullptr);
    if (deviceLog().isDebugEnabled())
        trvo_set_log_sink([](const char *line) { qCDebug(deviceLog, "%s", line); });
    else
        trvo_set_log_sink(nullptr);
}
