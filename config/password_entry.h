#ifndef TARVO_CONFIG_PASSWORD_ENTRY_H
#define TARVO_CONFIG_PASSWORD_ENTRY_H

// The configuration password: its length, the entry that hands a new one to
// the reader, and the form of the text that may be written to a log.

#include <QString>

namespace password_entry {

// Characters of a configuration password, old or new.
constexpr int kLength = 16;

// Why a configuration password cannot sign (it must be kLength characters,
// each of them Latin-1, the bytes the signature is keyed with), or null.
const char *signingPasswordProblem(const QString &password);

// Why a new password cannot be handed to a reader, or null. It is typed
// again later to sign every configuration; only printable ASCII is sure to
// come out as the same bytes then.
const char *newPasswordProblem(const QString &password);

// ",com_passwd='<password>'", the entry that stands right before the
// envelope's closing brace when the password is being changed.
QString entry(const QString &password);

// The configuration text with the values of its password entry and of its
// Wi-Fi password replaced by asterisks, and the HTTP address without its
// credentials (addressWithoutCredentials), however a key is spaced and its
// value quoted; a text without them comes back unchanged. Every log of a
// configuration text goes through here, so no password reaches a log in
// clear.
QString configTextForLog(const QString &text);

// Whether the text holds a password or an address's credentials.
bool holdsSecret(const QString &text);

// The address without a password before its host and with
// the values of query parameters that look like a password or a token as
// asterisks: what the tool shows or prints of a server's address.
QString addressWithoutCredentials(const QString &address);

// Whether the text hands the reader a new password in that entry.
bool carriesPassword(const QString &text);

} // namespace password_entry

#endif
