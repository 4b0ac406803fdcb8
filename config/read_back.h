#ifndef TARVO_CONFIG_READ_BACK_H
#define TARVO_CONFIG_READ_BACK_H

// Whether a reader's configuration, read back after a save, carries every
// value that was sent, key by key as the configuration script reads both.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>
#include <vector>

namespace config {

// A key whose value the reader does not hold as sent; both values as
// shownValue shows them.
struct KeyDifference
{
    QString key;
    const char *words; // the setting as the form names it
    QString sent;
    QString readBack; // the reader's value; empty when the reader's text lacks the key
    bool missing = false;
};

// What a save of sentText changes on a reader that holds readerText: every
// key the sent text carries that the reader lacks or holds with another
// value, as the configuration script reads both texts. A key the save does
// not send is never a change. The one answer the review, the records, the
// batch and the command line give.
struct ReaderChanges
{
    std::optional<QString> failure; // the script could not read a text
    std::vector<KeyDifference> keys;
};
ReaderChanges changesOnReader(const QByteArray &sentText, const QByteArray &readerText);

// A value as the tool shows, logs, exports or records it: a Wi-Fi password
// as asterisks, an HTTP address without its credentials; every other value
// as it is. The one masking of secrets.
QString shownValue(const QString &key, const QString &value);

// Every key the import reads that the text holds, with its value as the
// configuration script reads it (secrets unmasked); nothing when the script
// could not read the text.
std::optional<QMap<QString, QString>> importedValues(const QByteArray &text);

struct ReadBackCheck
{
    std::optional<QString> failure; // the script could not read a text
    std::optional<KeyDifference> difference;
};

// The first key of the sent text, in the import's order, that the read-back
// lacks or holds with another value; the new password, which no reader
// gives back, is left out.
// The setting a key of the configuration text sets, in the form's words
// (source language, context "Widget"); empty for a key the form does not know.
const char *settingWords(const QString &key);

ReadBackCheck compareReadBack(const QByteArray &sentText, const QByteArray &readBackText);

} // namespace config

#endif
