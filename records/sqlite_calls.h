#ifndef TARVO_RECORDS_SQLITE_CALLS_H
#define TARVO_RECORDS_SQLITE_CALLS_H

// The few calls of SQLite's own interface the store makes beside Qt SQL
// (the filter's function), taken from the library that Qt's SQLite driver
// loads with the first connection. The program is not linked to SQLite: the
// library binds every symbol as it is loaded, which cost each start of the
// command line and the window more than all else they do before their work,
// though most never open the store.

#include <sqlite3.h>

struct SqliteCalls
{
    decltype(&sqlite3_create_function_v2) createFunction;
    decltype(&sqlite3_value_text) valueText;
    decltype(&sqlite3_value_bytes) valueBytes;
    decltype(&sqlite3_value_type) valueType;
    decltype(&sqlite3_result_text) resultText;
};

// The calls, once a connection is open; nullptr when SQLite's library
// lacks one of them.
const SqliteCalls *sqliteCalls();

#endif
