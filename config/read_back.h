#ifndef TARVO_CONFIG_READ_BACK_H
#define TARVO_CONFIG_READ_BACK_H

// Whether a reader's configuration, read back after a save, carries every
// value that was sent, key by key as the configuration script reads both.

#include <QByteArray>
#include <QString>
#include <optional>

namespace config {

struct KeyDifference
{
    QString key;
    const char *words; // the setting as the form names it
    QString sent;
    QString readBack; // empty when the reader's text lacks the key
    bool missing = false;
};

struct ReadBackCheck
{
    std::optional<QString> failure; // the script could not read a text
    std::optional<KeyDifference> difference;
};

// The first key of the sent text, in the import's order, that the read-back
// lacks or holds with another value; the new password, which no reader
// gives back, is left out, and a Wi-Fi password is shown masked.
// The setting a key of the configuration text sets, in the form's words
// (source language, context "Widget"); empty for a key the form does not know.
const char *settingWords(const QString &key);

ReadBackCheck compareReadBack(const QByteArray &sentText, const QByteArray &readBackText);

} // namespace config

#endif
