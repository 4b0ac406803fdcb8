#include "device/reader_links.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace device {

namespace {

const char kNothingTyped[] =
    QT_TRANSLATE_NOOP("device", "请填写读卡器：主机:端口，例如 192.168.1.10:47811 或 192.168.1.10-60:47811。");
const char kBadPort[] = QT_TRANSLATE_NOOP("device", "“%1”缺少端口或端口无效：端口应为 1 到 65535 之间的数。");
const char kBadHost[] =
    QT_TRANSLATE_NOOP("device",
                      "“%1”不是读卡器地址：应为 主机:端口、192.168.1.10-60:端口、tcp:主机:端口 或 serial:路径。");
const char kBadAddress[] =
    QT_TRANSLATE_NOOP("device", "“%1”的 IPv4 地址无效：应为四段 0 到 255 之间的十进制数。");
const char kReversedRange[] = QT_TRANSLATE_NOOP("device", "“%1”的范围颠倒了：起始地址应不大于结束地址。");
const char kTooMany[] = QT_TRANSLATE_NOOP("device", "到“%1”为止已超过 %2 个读卡器：请分几次添加。");

// The longest entry shown in a refusal: a pasted page stays a line.
constexpr int kMostEntryCharsShown = 80;

// Octets a.b.c.d or a.b.c.d-e, each in decimal.
const QRegularExpression kDottedQuad(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)(?:-(\\d+))?$"));
// What the system's resolver would read as an IPv4 address of its own
// making (fewer parts, octal or hexadecimal ones: "10.1" is 10.0.0.1), and
// a range gone wrong; no host name ends in a label of digits.
const QRegularExpression kNumericHost(
    QStringLiteral("^(0[xX][0-9A-Fa-f]*|\\d+)(\\.(0[xX][0-9A-Fa-f]*|\\d+))*\\.?$|(^|\\.)[\\d-]+\\.?$"));
const QRegularExpression kHostName(
    QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*\\.?$"));
const QRegularExpression kBracketedIpv6(QStringLiteral("^\\[[0-9A-Fa-f:.]+\\]$"));
// Entries apart: blanks, commas and semicolons, the full-width ones too.
const QRegularExpression kBetweenEntries(QStringLiteral("[\\s,;\\x{FF0C}\\x{FF1B}]+"));
constexpr int kMostHostChars = 253;

struct Entry
{
    QStringList links;
    const char *problem = nullptr;
};

int octet(const QString &digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok && value <= 255 ? value : -1;
}

// A dotted quad as the host's links, each octet written plainly in decimal
// so that no resolver reads a leading zero as octal.
Entry dottedQuadLinks(const QRegularExpressionMatch &quad, const QString &port)
{
    int parts[5];
    for (int i = 0; i < 4; ++i)
        parts[i] = octet(quad.captured(i + 1));
    parts[4] = quad.captured(5).isEmpty() ? parts[3] : octet(quad.captured(5));
    for (int part : parts)
        if (part < 0)
            return {{}, kBadAddress};
    if (parts[4] < parts[3])
        return {{}, kReversedRange};
    Entry entry;
    for (int last = parts[3]; last <= parts[4]; ++last)
        entry.links
            << QStringLiteral("tcp:%1.%2.%3.%4:%5").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(last).arg(port);
    return entry;
}

Entry networkLinks(const QString &hostAndPort)
{
    const int colon = hostAndPort.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return {{}, kBadPort};
    const QString host = hostAndPort.left(colon);
    bool ok = false;
    const int port = hostAndPort.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535 || !hostAndPort.mid(colon + 1).at(0).isDigit())
        return {{}, kBadPort};
    const QString portText = QString::number(port);
    const QRegularExpressionMatch quad = kDottedQuad.match(host);
    if (quad.hasMatch())
        return dottedQuadLinks(quad, portText);
    if (kNumericHost.match(host).hasMatch())
        return {{}, kBadAddress};
    if (host.size() > kMostHostChars
        || !(kHostName.match(host).hasMatch() || kBracketedIpv6.match(host).hasMatch()))
        return {{}, kBadHost};
    return {{QStringLiteral("tcp:%1:%2").arg(host, portText)}, nullptr};
}

Entry entryLinks(const QString &entry)
{
    const QString serial = QStringLiteral("serial:");
    if (entry.startsWith(serial))
        return entry.size() > serial.size() ? Entry{{entry}, nullptr} : Entry{{}, kBadHost};
    const QString tcp = QStringLiteral("tcp:");
    return networkLinks(entry.startsWith(tcp) ? entry.mid(tcp.size()) : entry);
}

} // namespace

TypedReaders parseTypedReaders(const QString &text)
{
    const QStringList entries = text.split(kBetweenEntries, Qt::SkipEmptyParts);
    if (entries.isEmpty())
        return {{}, kNothingTyped, QString()};
    TypedReaders parsed;
    for (const QString &entry : entries) {
        const Entry read = entryLinks(entry);
        if (read.problem)
            return {{}, read.problem, entry};
        parsed.links << read.links;
        if (parsed.links.size() > kMostTypedReaders)
            return {{}, kTooMany, entry};
    }
    return parsed;
}

QString typedReadersProblemText(const TypedReaders &parsed)
{
    if (!parsed.problem)
        return QString();
    QString entry = parsed.entry;
    if (entry.size() > kMostEntryCharsShown)
        entry = entry.left(kMostEntryCharsShown) + QStringLiteral("…");
    // Only the refusal of too many readers names their number.
    const QString text = QCoreApplication::translate("device", parsed.problem);
    return text.contains(QLatin1String("%2")) ? text.arg(entry, QString::number(kMostTypedReaders))
                                              : text.arg(entry);
}

// A serial port by its real path (a by-id name and the port itself are one
// reader), anything else by its text.
QString readerOfLink(const QString &link)
{
    const QString serial = QStringLiteral("serial:");
    if (!link.startsWith(serial))
        return link.trimmed().toLower();
    // The baud rate and format follow the path after a colon.
    const QString path = link.mid(serial.size()).section(QLatin1Char(':'), 0, 0);
    const QString real = QFileInfo(path).canonicalFilePath();
    return serial + (real.isEmpty() ? path : real);
}

std::optional<QString> sharedLink(const QStringList &links)
{
    QSet<QString> readers;
    for (const QString &link : links) {
        const QString reader = readerOfLink(link);
        if (readers.contains(reader))
            return link;
        readers.insert(reader);
    }
    return std::nullopt;
}

} // namespace device
