#ifndef TARVO_FILES_SAFE_FILE_H
#define TARVO_FILES_SAFE_FILE_H

// Reading and writing the files a user names: configuration files, exported
// codes and password files. Below every folder that writes or reads one, so
// that each of them checks a file the same way.

#include <QByteArray>
#include <QString>
#include <optional>

namespace files {

// Who may read a written file: as the user's umask says, or its owner only
// (for a file that holds a password).
enum class Readers { Anyone, OwnerOnly };

// Replaces the file at path (or at the file a link there points to) with
// bytes: written whole beside it, flushed to the disk, then renamed over it,
// so that it holds either its old bytes or all the new ones. Refuses what is
// not a regular file (a device, a pipe, a folder). The system's reason when
// it did not replace the file.
std::optional<QString> replaceFile(const QString &path, const QByteArray &bytes,
                                   Readers readers = Readers::Anyone);

// At most maxBytes + 1 bytes of the regular file at path, so that a larger
// file is told apart without reading it whole. Never waits on a pipe or a
// device: those are refused. The reason when nothing was read.
std::optional<QString> readRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes);

} // namespace files

#endif
