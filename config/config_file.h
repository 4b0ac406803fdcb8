#ifndef TARVO_CONFIG_CONFIG_FILE_H
#define TARVO_CONFIG_CONFIG_FILE_H

// Configuration files (*.tcfg): the form's entries in their envelope, as the
// builders make them, without signature and without the configuration
// password, in UTF-8 on one line that ends in a newline. They hold the Wi-Fi
// password and an address's credentials, which a reader needs. A file is read back through the
// configuration script, so a reader's own text opens as well.

#include <QByteArray>
#include <QString>
#include <optional>

#include "config/refusal.h"

class Ui_Widget;

namespace config {

// The largest file that opens.
constexpr qint64 kMaxConfigFileBytes = 64 * 1024;

// The form's file, or the refusal of the build (and no bytes).
struct FileContents
{
    QByteArray bytes;
    std::optional<Refusal> refusal;
};
FileContents fileContents(const Ui_Widget &form);

// Sets the form from the file as a connect sets it from a reader: through
// a fresh configuration script and the import. A file that cannot be read,
// is larger than kMaxConfigFileBytes, is no UTF-8 text or holds no key the
// import knows leaves the form as it was; the reason, naming the file,
// comes back then.
std::optional<QString> openConfigFile(Ui_Widget &form, const QString &path);

// Replaces the file at path whole (files::replaceFile), readable by its
// owner only when the bytes hold a password. The reason, naming the file
// and the system's cause, when it could not.
std::optional<QString> writeConfigFile(const QString &path, const QByteArray &bytes);

} // namespace config

#endif
