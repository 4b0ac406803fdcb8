#ifndef TARVO_DOCUMENTS_RECORD_EXPORT_H
#define TARVO_DOCUMENTS_RECORD_EXPORT_H

// The records a user picked, for others to read: a CSV table that
// spreadsheet programs open with its Chinese intact, and a PDF handover
// report with one row a reader.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

#include "records/record_store.h"

// The result in the window's language, with the cause of a failure.
QString resultText(const records::Record &record);
// The time as the user's clock shows it.
QString shownTime(const QDateTime &time);
// The reader series the form had chosen, in the form's words.
QString seriesWords(const records::Record &record);
// The link as typed, or the library's default named so.
QString shownLink(const records::Record &record);

// UTF-8 with a byte-order mark, a header line, CRLF line ends. No
// configuration: a file's form still holds the Wi-Fi password; its SHA-256
// tells one apart.
QByteArray recordsCsv(const std::vector<records::Record> &chosen);

// A4 landscape: place, link, firmware, time, result, the reader series
// and the output channel.
QByteArray recordsPdf(const std::vector<records::Record> &chosen);

#endif
