#ifndef TARVO_CORE_LIBRARY_LOG_H
#define TARVO_CORE_LIBRARY_LOG_H

#include <QLoggingCategory>

// The debug log's categories of the script bridge and the device library,
// which never print themselves.
Q_DECLARE_LOGGING_CATEGORY(scriptLog)
Q_DECLARE_LOGGING_CATEGORY(deviceLog)

// Hands the libraries' diagnostic lines to their categories, or drops them
// unformatted while a category's debug lines are off; called again whenever
// the logging rules change.
void routeLibraryLogs();

#endif
