#include "files/safe_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Links a path may pass through before it is taken for a loop.
constexpr int kMostLinks = 40;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString notRegular()
{
    return QCoreApplication::translate("SafeFile", "不是普通文件");
}

// The file a path names after its links: a link is replaced through, never
// by a file of its own. Empty, with the reason, for a loop.
QString throughLinks(const QString &path, QString *reason)
{
    QString target = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; QFileInfo(target).isSymLink(); ++hops) {
        if (hops == kMostLinks) {
            *reason = systemReason(ELOOP);
            return QString();
        }
        target = QFileInfo(target).symLinkTarget();
    }
    return target;
}

bool writeWhole(int fd, const QByteArray &bytes)
{
    for (qint64 written = 0; written < bytes.size();) {
        const ssize_t taken = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (taken < 0 && errno == EINTR)
            continue;
        if (taken <= 0) {
            if (taken == 0)
                errno = EIO;
            return false;
        }
        written += taken;
    }
    return true;
}

// The mode of the new file: an old file's own, else what the umask leaves,
// and only the owner's when it holds a password.
mode_t modeFor(const struct stat *old, files::Readers readers)
{
    if (readers == files::Readers::OwnerOnly)
        return S_IRUSR | S_IWUSR;
    if (old)
        return old->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes, flushes and closes the temporary file; errno says why not.
bool fillTemporary(int fd, const QByteArray &bytes, mode_t mode)
{
    const bool filled = ::fchmod(fd, mode) == 0 && writeWhole(fd, bytes) && ::fsync(fd) == 0;
    const int error = errno;
    const bool closed = ::close(fd) == 0;
    if (!filled)
        errno = error;
    return filled && closed;
}

} // namespace

namespace files {

std::optional<QString> replaceFile(const QString &path, const QByteArray &bytes, Readers readers)
{
    QString reason;
    const QString target = throughLinks(path, &reason);
    if (target.isEmpty())
        return reason;
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old;
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return notRegular();
    if (!exists && errno != ENOENT)
        return systemReason(errno);

    const QFileInfo info(target);
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()
                                             + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    if (!fillTemporary(fd, bytes, modeFor(exists ? &old : nullptr, readers))
        || ::rename(temporary.constData(), targetName.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return systemReason(error);
    }
    return std::nullopt;
}

std::optional<QString> readRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    bytes->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return notRegular();
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    *bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return std::nullopt;
}

} // namespace files
