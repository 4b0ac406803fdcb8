#include "core/device_log.h"

#include "trvo/trvo.h"

Q_LOGGING_CATEGORY(deviceLog, "tarvo.device")

void routeDeviceLog()
{
    if (deviceLog().isDebugEnabled())
        trvo_set_log_sink([](const char *line) { qCDebug(deviceLog, "%s", line); });
    else
        trvo_set_log_sink(nullptr);
}
