#ifndef TARVO_CORE_DEVICE_LOG_H
#define TARVO_CORE_DEVICE_LOG_H

#include <QLoggingCategory>

// The debug log's category of the device library, which never prints itself.
Q_DECLARE_LOGGING_CATEGORY(deviceLog)

// Hands the device library's diagnostic lines to the category, or drops
// them unformatted while its debug lines are off; called by the parts that
// talk to readers once the logging rules are set.
void routeDeviceLog();

#endif
