#include "program/script_log.h"

#include "script/script_bridge.h"

Q_LOGGING_CATEGORY(scriptLog, "tarvo.script")

// A bridge without a sink does not even format its lines: it writes one for
// every number it answers, which a batch of readers would pay for on every
// read.
void routeScriptLog()
{
    if (scriptLog().isDebugEnabled())
        script_set_log_sink([](const char *line) { qCDebug(scriptLog, "%s", line); });
    else
        script_set_log_sink(nullptr);
}
