#include "cli/output.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>

bool print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

int refused(const QString &reason)
{
    print(stderr, reason + QLatin1Char('\n'));
    return 1;
}

int failed(const QString &reason)
{
    print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + reason + QLatin1Char('\n'));
    return 2;
}

int printed(const QString &text, int exitCode)
{
    errno = 0;
    if (!std::ferror(stdout) && print(stdout, text))
        return exitCode;
    const int error = errno ? errno : EIO;
    return failed(QCoreApplication::translate("CommandLine", "无法写入标准输出：%1")
                      .arg(QString::fromLocal8Bit(std::strerror(error))));
}
