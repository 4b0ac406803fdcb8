#ifndef TARVO_APP_SAVE_RECORDS_H
#define TARVO_APP_SAVE_RECORDS_H

// Every save to a reader, from the window or the command line, leaves one
// record; a record that cannot be kept never changes the save.

#include <QString>
#include <optional>

#include "app/verified_save.h"
#include "config/form_value.h"

// Appends the save's record to the default store: the line for the box's
// informative text when it could not ("配置记录未能保存：<reason>"), else
// nothing. A corrupt store moved aside on the way is said once too.
std::optional<QString> recordSave(const QString &link, const QString &firmware, const SaveReport &report,
                                  const QString &changes, const config::FormValue &value);

#endif
