#ifndef TARVO_CONFIG_SET_VALUES_H
#define TARVO_CONFIG_SET_VALUES_H

// Values given for single keys of the configuration text, in place of the
// ones a file holds: the command line's --set and the rows of a site sheet.

#include <QString>
#include <optional>
#include <vector>

#include "config/form_value.h"

namespace config {

// A key of the configuration text, as the import reads it, and its value.
struct KeyValue
{
    QString key;
    QString value;
};
using KeyValues = std::vector<KeyValue>;

// Whether the import reads the key: the keys a value can be set for.
bool isSettableKey(const QString &key);

// The form with each key's value in its place, read as the configuration
// script reads `key='value'` on top of the form, then held to the rules the
// form holds the field to before a build. The reason, in the program's
// language and naming the key, when a key is unknown or a value cannot be
// taken as it is; the value is then the form unchanged.
struct SetResult
{
    FormValue value;
    std::optional<QString> refusal;
};
SetResult withValuesSet(const FormValue &form, const KeyValues &values);

} // namespace config

#endif
