#ifndef TARVO_CORE_CHANGE_WORDS_H
#define TARVO_CORE_CHANGE_WORDS_H

// A record's changes in the viewer's language: a record keeps them as keys
// and values, and each viewer (the record window, its CSV and PDF, the
// command line) words them when it shows them.

#include <QString>
#include <QStringList>

#include "records/record_store.h"

// The setting a key sets, in the form's words (the key itself for one the
// form does not know); where another key goes by the same words, with its
// group, or with the key where no group is given or the group is named alike.
QString settingName(const QString &key, const char *group = nullptr);

// "<setting>: <before> → <after>", the setting named by settingName.
QString changeLine(const records::Change &change);

// The record's changes one a line; an older record's own text where it
// kept no key changes.
QStringList changeLines(const records::Record &record);

#endif
