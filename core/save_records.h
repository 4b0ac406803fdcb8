#ifndef TARVO_CORE_SAVE_RECORDS_H
#define TARVO_CORE_SAVE_RECORDS_H

// Every save to a reader, from the window or the command line, leaves one
// record; a record that cannot be kept never changes the save.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "config/form_value.h"
#include "config/read_back.h"
#include "core/verified_save.h"
#include "records/record_store.h"

struct RecordedSave
{
    // The line for the box's informative text when the record could not be
    // kept ("配置记录未能保存：<reason>"), or a corrupt store was moved aside.
    std::optional<QString> note;
    std::optional<qint64> id; // the record's row, when it was kept
};

// What writing sentText changes on a reader that holds readerText, key by
// key, both values as config::shownValue shows them: the one list the
// review, the success box and every record give. Empty when the script
// could not read a text.
std::vector<records::Change> changesOnReader(const QByteArray &sentText, const QByteArray &readerText);
// The keys as a record keeps them; none when the reader's text was not read.
std::vector<records::Change> recordedChanges(const std::optional<std::vector<config::KeyDifference>> &keys);

// Appends the save's record to the default store. link is the reader as
// the device library reached it (never a placeholder for its default). A
// check's record is kept the same way, its report saying whether the reader
// held the form's configuration.
RecordedSave recordSave(const QString &link, const QString &firmware, const SaveReport &report,
                        const std::vector<records::Change> &changes, const config::FormValue &value,
                        const QString &place = QString(), records::Record::Kind kind = records::Record::Save);

// The record's place as the user named it after the save; the reason when
// the store did not take it.
std::optional<QString> renameRecordPlace(qint64 id, const QString &place);

#endif
