#ifndef TARVO_CONFIG_IMPORT_H
#define TARVO_CONFIG_IMPORT_H

// Reading a reader's configuration text into the form's value.

#include <QString>
#include <QStringList>
#include <optional>

#include "config/form_steps.h"

struct lua_State;

namespace config {

// What an import does to the form: the steps in the order the form takes
// them (the window makes them on its widgets, so that radio buttons win and
// page buttons show in that order), the value they lead to, and each
// key=value of the text that the form cannot show as it is (a value no
// button stands for, a number out of range, a text too long to read back).
struct Imported
{
    FormSteps steps;
    FormValue value;
    QStringList notShown;
};

// Hands the text to the configuration script and turns the script's
// answers, key by key, into steps from the current value; a key the script
// gives no answer for leaves its inputs as they are. The reason when the
// script did not take the text; with KnownKeys::Required, a text in which
// the script finds none of the keys the import reads is refused too.
enum class KnownKeys { Optional, Required };
struct ImportResult
{
    std::optional<QString> refusal;
    Imported imported;
};
ImportResult importReaderText(const FormValue &current, lua_State *script, const char *readerText,
                              KnownKeys keys = KnownKeys::Optional);

// The keys the import reads, in its order.
QStringList importedKeys();

// The script's whole string for the key, however long; nothing when the
// text it read has no such key.
std::optional<QByteArray> scriptString(lua_State *script, const char *key);

} // namespace config

#endif
