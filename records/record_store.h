#ifndef TARVO_RECORDS_RECORD_STORE_H
#define TARVO_RECORDS_RECORD_STORE_H

// The record of configured readers: one row a save, in an SQLite database.
// A store that cannot be written says why and is never in a save's way; a
// database found corrupt is moved aside and a new one started.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
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

struct Record
{
    enum Result { Confirmed, Failed, Unknown };

    QDateTime time;
    QString link;     // the reader as the user named it; empty: the library's default
    QString firmware; // empty when not known
    Result result = Unknown;
    QString cause;    // why it failed or is unknown
    QString changes;  // older records: the settings changed, as sentences, one a line
    std::vector<Change> keyChanges; // the settings changed, key by key
    QByteArray configuration; // as a configuration file holds it: no password
    QString place;
    QString series;   // the series boxes the form had checked, by object name, comma-separated
    QString sha256;   // of configuration, as hex; set by the store
};

// "confirmed", "failed: <cause>" or "unknown".
QString resultWords(const Record &record);

// One CSV line (RFC 4180): a field quoted when it holds a separator, a quote
// or a line break, its quotes doubled; ended by CRLF.
QString csvLine(const QStringList &fields);

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
    // The name a corrupt database was given when it was moved aside, once;
    // empty when none was.
    QString takeMovedAside();
    // The names of the databases moved aside by any store at this path
    // since the last call, which forgets them: for the record window to
    // say once.
    QStringList takeMovedAsideNotes();

    const QString &path() const { return path_; }

private:
    QString path_;
    int busyTimeoutMs_;
    QString movedAside_;
};

} // namespace records

#endif
