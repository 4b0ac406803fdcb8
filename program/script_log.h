#ifndef TARVO_PROGRAM_SCRIPT_LOG_H
#define TARVO_PROGRAM_SCRIPT_LOG_H

#include <QLoggingCategory>

// The debug log's category of the script bridge, which never prints itself.
Q_DECLARE_LOGGING_CATEGORY(scriptLog)

// Hands the bridge's diagnostic lines to the category, or drops them
// unformatted while its debug lines are off; called again whenever the
// logging rules change. A part that links the bridge in holds a copy of its
// own and routes that copy itself.
void routeScriptLog();

#endif
