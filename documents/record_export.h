#ifndef TARVO_DOCUMENTS_RECORD_EXPORT_H
#define TARVO_DOCUMENTS_RECORD_EXPORT_H

// The records a user picked, for others to read: a CSV table that
// spreadsheet programs open with its Chinese intact, and a PDF handover
// report with one row a reader. Both read the store as they go, so that
// their cost grows with the rows and no more, and both run on any thread.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

#include "records/record_store.h"

// The result in the window's language, with the cause of a failure.
QString resultText(const records::Record &record);
// Whether the record is of a save or of a check, in the window's language.
QString kindText(const records::Record &record);
// The time as the user's clock shows it.
QString shownTime(const QDateTime &time);
// The user's day's start, as a time the store compares.
QDateTime dayStart(const QDate &day);
// The reader series the form had chosen, in the form's words.
QString seriesWords(const records::Record &record);
// The link as typed, or the library's default named so.
QString shownLink(const records::Record &record);
// A selection that finds typed text in the viewer's words of each column.
records::Selection viewerSelection();

// The columns of both exports, in the viewer's language: time, place, link,
// firmware, result, reader series, output channel, save or check.
QStringList reportColumns();

// An export under way, seen from another thread: the rows done so far, and
// a request to stop.
struct ExportRun
{
    std::atomic<qint64> done{0};
    std::atomic<bool> stop{false};
};

// What an export made: the file's bytes, or why there is none (empty when
// it was stopped).
struct Exported
{
    QByteArray bytes;
    std::optional<QString> failure;
};

// UTF-8 with a byte-order mark, a header line, CRLF line ends; the report's
// columns, the changes and the configuration's SHA-256. No configuration: a
// file's form still holds the Wi-Fi password; its SHA-256 tells one apart.
Exported recordsCsv(records::Store &store, const records::Selection &chosen, ExportRun *run);

// A4 landscape, laid out page by page: the report's columns, one row a
// reader. Checked to hold the pages it laid out.
Exported recordsPdf(records::Store &store, const records::Selection &chosen, ExportRun *run);

#endif
