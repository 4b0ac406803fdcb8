#ifndef TARVO_CORE_SAVE_RECORDS_H
#define TARVO_CORE_SAVE_RECORDS_H

// Every save to a reader, from the window or the command line, leaves one
// record; a record that cannot be kept never changes the save.

#include <QString>
#include <QtGlobal>
#include <optional>

#include "core/verified_save.h"
#include "config/form_value.h"

struct RecordedSave
{
    // The line for the box's informative text when the record could not be
    // kept ("配置记录未能保存：<reason>"), or a corrupt store was moved aside.
    std::optional<QString> note;
    std::optional<qint64> id; // the record's row, when it was kept
};

// Appends the save's record to the default store.
RecordedSave recordSave(const QString &link, const QString &firmware, const SaveReport &report,
                        const QString &changes, const config::FormValue &value, const QString &place = QString());

// The record's place as the user named it after the save; the reason when
// the store did not take it.
std::optional<QString> renameRecordPlace(qint64 id, const QString &place);

#endif
