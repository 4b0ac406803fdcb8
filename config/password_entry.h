#ifndef TARVO_CONFIG_PASSWORD_ENTRY_H
#define TARVO_CONFIG_PASSWORD_ENTRY_H

// The configuration password: its length, the entry that hands a new one to
// the reader, and the form of the text that may be written to a log.

#include <QString>

namespace password_entry {

// Characters of a configuration password, old or new.
constexpr int kLength = 16;

// ",com_passwd='<password>'", the entry that stands right before the
// envelope's closing brace when the password is being changed.
QString entry(const QString &password);

// The configuration text with the values of its password entry and of its
// Wi-Fi password replaced by asterisks; a text without them comes back
// unchanged. Every log of a configuration text goes through here, so no
// password reaches a log in clear.
QString configTextForLog(const QString &text);

// Whether the text hands the reader a new password in that entry.
bool carriesPassword(const QString &text);

} // namespace password_entry

#endif
