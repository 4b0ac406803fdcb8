#ifndef TARVO_CORE_SITE_SHEET_H
#define TARVO_CORE_SITE_SHEET_H

// A site sheet: a CSV file (UTF-8, RFC 4180) with a header row naming its
// columns, link, place and one column a key of the configuration text, and
// one row a reader with the values that reader takes in place of the
// file's. The command line and the batch dialog write readers from it and
// check them against it; the command line writes one back from the readers
// it reads.

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "config/set_values.h"

namespace site_sheet {

// The largest sheet read, and the most readers in it.
constexpr qint64 kMostBytes = 1024 * 1024;
constexpr int kMostRows = 4096;

// One reader: the line its row starts on, its link and place as written,
// and the values of its cells (an empty cell keeps the file's value).
struct Row
{
    int line = 0;
    QString link;
    QString place;
    config::KeyValues values;
};

// The rows, or why there are none, in the program's language: a file that
// cannot be read, is no sheet or names no reader (unreadable), or a column
// that names no key a value can be set for.
struct Sheet
{
    std::vector<Row> rows;
    std::optional<QString> problem;
    bool unreadable = false;
};
Sheet readSheet(const QString &path);

// A refusal of the row, naming its line and its link: "第 4 行（tcp:…）：<why>".
QString rowRefusal(int line, const QString &link, const QString &why);

// The row's reader as one link, and the form with the row's values on top;
// why not, as rowRefusal words it: a link that names no single reader
// (unreadable) or a value refused, naming its key.
struct RowTarget
{
    QString link;
    config::FormValue form;
    std::optional<QString> problem;
    bool unreadable = false;
};
RowTarget rowTarget(const Row &row, const config::FormValue &form);

// A reader as read back: its link, its place and its configuration's
// values by key.
struct ReadReader
{
    QString link;
    QString place;
    QMap<QString, QString> values;
};

// Writes the sheet of the readers, in their order, through the safe
// replacement of the file: link, place, and a column for every key whose
// value is not the same in all of them (secrets left out). The reason when
// it was not written.
std::optional<QString> writeSheet(const QString &path, const std::vector<ReadReader> &readers);

} // namespace site_sheet

#endif
