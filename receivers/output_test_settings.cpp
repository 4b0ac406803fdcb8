#include "receivers/output_test_settings.h"

#include <QUrl>

#include <cctype>

namespace output_test {

QByteArray Affix::bytes() const
{
    if (!hex)
        return text.toUtf8();
    const QByteArray digits = text.toLatin1();
    if (digits.size() % 2 != 0)
        return QByteArray();
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return QByteArray();
    return QByteArray::fromHex(digits);
}

QByteArray Settings::terminator() const
{
    QByteArray bytes;
    if (carriageReturn)
        bytes += '\r';
    if (lineFeed)
        bytes += '\n';
    return bytes;
}

bool Settings::isHeartbeat(const QByteArray &message) const
{
    if (heartbeat.isEmpty())
        return false;
    const QByteArray end = terminator();
    return message == heartbeat || (!end.isEmpty() && message == heartbeat + end);
}

quint16 httpPortOf(const QString &address)
{
    const QString trimmed = address.trimmed();
    const QUrl url(trimmed.contains(QLatin1String("://")) ? trimmed : QLatin1String("http://") + trimmed);
    if (!url.isValid() || url.host().isEmpty())
        return 0;
    const int port = url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    return port > 0 && port <= 65535 ? quint16(port) : 0;
}

} // namespace output_test
