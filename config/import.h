#ifndef TARVO_CONFIG_IMPORT_H
#define TARVO_CONFIG_IMPORT_H

// Setting the form from a reader's configuration text.

#include <QString>
#include <optional>

class Ui_Widget;
struct lua_State;

namespace config {

// Hands the text to the configuration script and sets the form from the
// script's answers, key by key; a key the script gives no answer for leaves
// its widgets as they are. Only setters run, none of them a click, so no
// interlock runs meanwhile. Returns why the script did not take the text,
// or nothing when it did.
std::optional<QString> importReaderText(Ui_Widget &form, lua_State *script, const char *readerText);

} // namespace config

#endif
