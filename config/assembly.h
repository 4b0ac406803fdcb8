#ifndef TARVO_CONFIG_ASSEMBLY_H
#define TARVO_CONFIG_ASSEMBLY_H

// The whole form as the signed configuration text that a reader takes.

#include <QString>
#include <optional>

#include "config/refusal.h"

#include "config/form_value.h"

namespace config {

// The text built, or the refusal that stopped the build (and no text).
struct Assembly
{
    QString text;
    std::optional<Refusal> refusal;
};

// Whether an enveloped text hands the reader the new password the form asks
// for, or leaves the password alone whatever the form says.
enum class PasswordChange { AsForm, Left };

// The form's entries in the envelope, before any signature: everything
// assemble() signs when change is AsForm, the same without the password
// entry when it is Left. Refused as assemble() refuses, bar the signature.
Assembly envelop(const config::FormValue &form, PasswordChange change);

// Builds the form into the signed configuration text: the mode entries of
// scan mode, each checked channel's groups, the channel, the other modes'
// entries, the configuration channel and the work mode; then the password
// change, the envelope and the signature.
Assembly assemble(const config::FormValue &form);

// The text the signature covers, as the form stands now: the envelope with
// the entries and any requested password change, built without refusals and
// without a word in the debug log, so that it can be built on every change.
QString unsignedText(const config::FormValue &form);

// The text with "--" and its signature's Base64 after it, keyed by the
// configuration password; a refusal when the password cannot sign.
Assembly sign(const QString &unsignedText, const QString &password);

// The HMAC-MD5 digest of the text's UTF-8 keyed by the password's Latin-1
// bytes, written to digest (16 bytes and a NUL); a password of the wrong
// length is refused and leaves digest untouched.
std::optional<Refusal> signDigest(const QString &text, const QString &password, char *digest);

} // namespace config

#endif
