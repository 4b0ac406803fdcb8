#include <QByteArray>

#include "config/assembly.h"
#include "config/password_entry.h"
#include "crypto/hmac_md5.h"

namespace config {

// The message is the text's UTF-8, the same bytes the config code carries,
// so a reader can verify texts with any character in them.
std::optional<Refusal> signDigest(const QString &text, const QString &password, char *digest)
{
    const QByteArray message = text.toUtf8();
    if (const char *problem = password_entry::signingPasswordProblem(password)) {
        Refusal refusal = refused(problem);
        refusal.field = &FormValue::manpw;
        return refusal;
    }
    const QByteArray key = password.toLatin1();

    hmac_md5(reinterpret_cast<const unsigned char *>(message.constData()), static_cast<size_t>(message.size()),
             reinterpret_cast<const unsigned char *>(key.constData()), static_cast<size_t>(key.size()),
             reinterpret_cast<unsigned char *>(digest));
    digest[HMAC_MD5_DIGEST_SIZE] = '\0';
    return std::nullopt;
}

} // namespace config
