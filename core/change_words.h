#ifndef TARVO_CORE_CHANGE_WORDS_H
#define TARVO_CORE_CHANGE_WORDS_H

// A record's changes in the viewer's language: a record keeps them as keys
// and values, and each viewer (the record window, its CSV and PDF, the
// command line) words them when it shows them.

#include <QString>
#include <QStringList>

#include "records/record_store.h"

// "<setting>: <before> → <after>", the setting in the form's words, the key
// itself for one the form does not know.
QString changeLine(const records::Change &change);

// The record's changes one a line; an older record's own text where it
// kept no key changes.
QStringList changeLines(const records::Record &record);

#endif
