#ifndef TARVO_CLI_SET_OPTION_H
#define TARVO_CLI_SET_OPTION_H

// --set KEY=VALUE: a key of the configuration text with another value than
// FILE's for one run, for the modes that read FILE and those that write or
// check readers alike.

#include <QString>
#include <QStringList>

#include <optional>

#include "config/form_value.h"
#include "config/set_values.h"

// --set's values, each KEY=VALUE; nothing when one has no '='.
std::optional<config::KeyValues> valuesGiven(const QStringList &arguments);

// The form with --set's values; why not (a refusal, exit 1), naming the key.
// A secret (the Wi-Fi password, an address's credentials) is refused there:
// the arguments are for all users to read.
std::optional<QString> setGiven(config::FormValue *form, const config::KeyValues &values);

#endif
