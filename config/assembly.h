#ifndef TARVO_CONFIG_ASSEMBLY_H
#define TARVO_CONFIG_ASSEMBLY_H

// The whole form as the signed configuration text that a reader takes.

#include <QString>
#include <optional>

#include "config/refusal.h"

class Ui_Widget;

namespace config {

// The signed text, or the refusal that stopped the build (and no text).
struct Assembly
{
    QString text;
    std::optional<Refusal> refusal;
};

// Builds the form into the signed configuration text: the mode entries of
// scan mode, each checked channel's groups, the channel, the other modes'
// entries, the configuration channel and the work mode; then the password
// change, the envelope and the signature.
Assembly assemble(const Ui_Widget &form);

// The HMAC-MD5 digest of the text's UTF-8 keyed by the password's Latin-1
// bytes, written to digest (16 bytes and a NUL); a password of the wrong
// length is refused and leaves digest untouched.
std::optional<Refusal> signDigest(const QString &text, const QString &password, char *digest);

} // namespace config

#endif
