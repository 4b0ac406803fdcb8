#include "core/library_log.h"

#include "script/script_bridge.h"
#include "trvo/trvo.h"

Q_LOGGING_CATEGORY(scriptLog, "tarvo.script")
Q_LOGGING_CATEGORY(deviceLog, "tarvo.device")

void routeLibraryLogs()
{
    script_set_log_sink([](const char *line) { qCDebug(scriptLog, "%s", line); });
    trvo_set_log_sink([](const char *line) { qCDebug(deviceLog, "%s", line); });
}
