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

#include "config/import.h"

namespace config {

// The largest file that opens.
constexpr qint64 kMaxConfigFileBytes = 64 * 1024;

// The form's file, or the refusal of the build (and no bytes).
struct FileContents
{
    QByteArray bytes;
    std::optional<Refusal> refusal;
};
FileContents fileContents(const FormValue &form);

// Reads the file as a connect reads a reader: through a fresh configuration
// script and the import, from the current value. A file that cannot be
// read, is larger than kMaxConfigFileBytes, is no UTF-8 text, holds no key
// the import knows, or holds a value the form cannot show as it is, is
// refused with the reason, naming the file; the form stays as it was.
ImportResult openConfigFile(const FormValue &current, const QString &path);
// The same for bytes kept elsewhere (a record of a save): name stands for
// the file in a refusal.
ImportResult openConfigBytes(const FormValue &current, const QByteArray &bytes, const QString &name);

// Replaces the file at path whole (files::replaceFile), readable by its
// owner only when the bytes hold a password. The reason, naming the file
// and the system's cause, when it could not.
std::optional<QString> writeConfigFile(const QString &path, const QByteArray &bytes);

} // namespace config

#endif
