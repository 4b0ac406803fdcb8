#ifndef TARVO_RECORDS_RECORD_STORE_H
#define TARVO_RECORDS_RECORD_STORE_H

// The record of configured readers: one row a save, in an SQLite database.
// A store that cannot be written says why and is never in a save's way; a
// database found corrupt, or a table this program did not make, is moved
// aside and a new one started. Each thread keeps one connection to a store
// for as long as it runs, closed as the thread (or the program) ends.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace records {

// One setting a save changed on the reader, by its key in the configuration
// text, with both values as the configuration text carries them (secrets
// already masked). Kept as data, so that each viewer words it in its own
// language.
struct Change
{
    QString key;
    QString before; // empty when the reader did not have the key
    QString after;
};

// One sentence of why a save or a check failed or is unknown, kept as data:
// its code (README, "Machine-readable causes") and what the sentence names
// (a setting's key and its values, the system's reason), so that each
// viewer words it in its own language.
struct CausePart
{
    QString code;
    QStringList args;
};

struct Record
{
    enum Result { Confirmed, Failed, Unknown };
    // A save writes the reader; a check only compares it with a file, its
    // result whether the reader held the file (confirmed) or not (failed),
    // unknown when the reader could not be read.
    enum Kind { Save, Check };

    qint64 id = 0; // the store's row; set by the store
    QDateTime time;
    QString link;     // the reader as the user named it; empty: the library's default
    QString firmware; // empty when not known
    Result result = Unknown;
    QString cause;                     // why it failed or is unknown, in the saving program's language
    std::vector<CausePart> causeParts; // the same as data; empty in older records
    QString changes;                   // older records: the settings changed, as sentences, one a line
    std::vector<Change> keyChanges;    // the settings changed, key by key
    QByteArray configuration;          // as a configuration file holds it: no password
    QString place;
    QString series;   // the series boxes the form had checked, by object name, comma-separated
    QString channel;  // the output channel the form had chosen, by object name; empty in older records
    QString sha256;   // of configuration, as hex; set by the store
    Kind kind = Save; // older records are saves
};

// "save" or "check".
QString kindWord(Record::Kind kind);

// What the store keeps of a link, a firmware text or a place: a reader or
// a user may give any length.
constexpr int kMostFieldChars = 64;

// The rows a viewer lists: a time range, a text found in what the viewer
// shows of a row, an order; or the rows of given ids. The viewer tells how
// it words what the store keeps as codes, for the text to be found in it.
struct Selection
{
    enum Order { ByTime, ByPlace, ByLink, ByFirmware, ByResult, ByKind };

    QDateTime from;         // invalid: from the first record
    QDateTime until;        // not included; invalid: to the last
    QString text;           // empty: any
    QString defaultLink;    // how an empty link is shown
    QString resultTexts[3]; // by Record::Result; %1 the cause
    QString kindTexts[2];   // by Record::Kind
    Order order = ByTime;
    bool descending = false;
    int resultRanks[3] = {0, 1, 2}; // the results' order, by Record::Result
    std::vector<qint64> ids;        // only these rows, when any are given
    // The site's state: each reader's latest save or check in the time
    // range, one row a link, with the latest place and firmware its records
    // give where that record left them out.
    bool latestPerReader = false;
    // How the viewer words a cause kept as data; an older record's own text
    // is found as it was kept.
    std::function<QString(const std::vector<CausePart> &)> causeWords;
};

// Whether a read takes the large columns too (configuration and changes),
// which a list never needs.
enum class Columns { Listed, Whole };

// "confirmed", "failed" or "unknown".
QString resultName(Record::Result result);

// One CSV line (RFC 4180): a field quoted when it holds a separator, a quote
// or a line break, its quotes doubled; ended by CRLF.
QString csvLine(const QStringList &fields);
// A field for a CSV file that a spreadsheet program opens: one that starts
// like a formula is kept text by a leading apostrophe.
QString spreadsheetText(const QString &field);

// Where the window and the command line keep their records.
QString defaultPath();

class Store
{
public:
    explicit Store(QString path, int busyTimeoutMs = 5000);

    // Adds the record in one transaction, its row into *id when given: the
    // reason when it could not.
    std::optional<QString> append(Record record, qint64 *id = nullptr);
    // The place of the record of that row, as the user named it afterwards.
    std::optional<QString> setPlace(qint64 id, const QString &place);
    // The records from since on (all when since is invalid), oldest first,
    // into *out; the reason when they could not be read.
    std::optional<QString> read(const QDateTime &since, std::vector<Record> *out);
    // Hands the selected records, from the offset'th on and limit of them at
    // most (all when negative), one at a time to take, until it returns
    // false: the reason when they could not be read. A missing store holds
    // none; a store this user cannot write is read without writing.
    std::optional<QString> visit(const Selection &selection, Columns columns, qint64 offset, qint64 limit,
                                 const std::function<bool(Record &&)> &take);
    std::optional<QString> count(const Selection &selection, qint64 *rows);
    // The whole record of that row into *out; the reason when there is none.
    std::optional<QString> fetch(qint64 id, Record *out);
    // The name a corrupt database was given when it was moved aside, once;
    // empty when none was.
    QString takeMovedAside();
    // The names of the databases moved aside by any store at this path
    // since the last call, which forgets them: for the record window to
    // say once.
    QStringList takeMovedAsideNotes();


private:
    std::optional<QString> moveAside(const QString &why);

    QString path_;
    int busyTimeoutMs_;
    QString movedAside_;
};

} // namespace records

#endif
