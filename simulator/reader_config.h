#ifndef TARVO_SIMULATOR_READER_CONFIG_H
#define TARVO_SIMULATOR_READER_CONFIG_H

#include <QByteArray>
#include <QVector>

// How a reader reads a configuration: the entries of a configuration text,
// the envelope and signature of a signed one, and the update of the reader's
// own configuration and password. Pure functions over bytes, so that the
// simulator and a fuzz target can share them.
namespace reader_config {

// A reader's configuration password has 16 characters.
const int passwordLength = 16;

struct Entry
{
    QByteArray lead; // blanks before the key, kept as they stand
    QByteArray key;
    QByteArray value; // as written, quotes included
};

// Splits "key=value,key='value',..." into its entries. A quoted value may
// hold commas and quotes: it ends at the first quote followed by the end of
// the text, or by a comma and the next entry's key and "=". One trailing
// comma is allowed. Returns false when the text is not a run of entries.
bool parseEntries(const QByteArray &text, QVector<Entry> *entries);

QByteArray joinEntries(const QVector<Entry> &entries);

enum class Verdict {
    Applied,
    NotEnveloped, // no "___TRVO_CONFIG_V1.1.0___{" ... "}--" + 24 characters
    BadSignature, // the HMAC-MD5 under the reader's password differs
    BadEntries,   // the body is not a run of entries
    BadPassword   // com_passwd is not a quoted text of 16 characters
};

const char *describe(Verdict verdict);

struct ReaderSettings
{
    QByteArray config;   // the reader's own configuration text
    QByteArray password; // the key of the signature, 16 bytes
};

// Reads a signed configuration text as a reader does: checks the envelope
// and the signature under the current password, then sets every entry in
// order (the last value of a key wins, new keys are appended) and takes a
// new password from com_passwd. On any refusal *settings is left unchanged.
Verdict apply(const QByteArray &signedText, ReaderSettings *settings);

} // namespace reader_config

#endif
