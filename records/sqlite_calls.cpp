#include "records/sqlite_calls.h"

#include <QLibrary>

#include <optional>

namespace {

template <typename Call>
bool resolve(QLibrary &library, const char *name, Call *call)
{
    *call = reinterpret_cast<Call>(library.resolve(name));
    return *call != nullptr;
}

// Opening the library by its soname gives the copy the driver loaded.
std::optional<SqliteCalls> loadCalls()
{
    QLibrary library(QStringLiteral("sqlite3"), 0);
    SqliteCalls calls{};
    const bool complete = resolve(library, "sqlite3_create_function_v2", &calls.createFunction)
                          && resolve(library, "sqlite3_value_text", &calls.valueText)
                          && resolve(library, "sqlite3_value_bytes", &calls.valueBytes)
                          && resolve(library, "sqlite3_value_type", &calls.valueType)
                          && resolve(library, "sqlite3_result_text", &calls.resultText);
    if (!complete)
        return std::nullopt;
    return calls;
}

} // namespace

const SqliteCalls *sqliteCalls()
{
    static const std::optional<SqliteCalls> calls = loadCalls();
    return calls ? &*calls : nullptr;
}
