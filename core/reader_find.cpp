#include "core/reader_find.h"

#include <QCoreApplication>
#include <QRegularExpression>


#include "config/code_summary.h"
#include "config/config_file.h"
#include "core/reader_batch.h"
#include "device/link_failure.h"
#include "program/wording.h"
#include "text/plain_text.h"
#include "trvo/trvo.h"

namespace {

const char kBadRange[] =
    QT_TRANSLATE_NOOP("fleet",
                      "“%1”不是可查找的范围：应为 主机-末段:端口、A.B.C.0/24[:端口] 或 主机:端口-端口。");
const char kRangeTooLarge[] = QT_TRANSLATE_NOOP("fleet", "“%1”含 %2 个地址：每次最多查找 %3 个。");

// The reader's port when a range names none, the simulator's and the readers' own.
constexpr int kDefaultPort = 47811;

// Addresses a.b.c.d, a.b.c.d-e or a.b.c.d/n, then :port or :port-port; or
// a host name with :port or :port-port.
const QRegularExpression kAddressRange(
    QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)(?:-(\\d+)|/(\\d+))?(?::(\\d+)(?:-(\\d+))?)?$"));
const QRegularExpression kHostPorts(QStringLiteral("^([A-Za-z0-9][A-Za-z0-9.-]*):(\\d+)(?:-(\\d+))?$"));

// First and last of a span as given, or nothing when either is out of
// bounds or they are reversed.
std::optional<std::pair<quint64, quint64>> span(const QString &first, const QString &last, quint64 most)
{
    bool ok = true;
    bool lastOk = true;
    const quint64 from = first.toULongLong(&ok);
    const quint64 to = last.isEmpty() ? from : last.toULongLong(&lastOk);
    if (!ok || !lastOk || from > to || to > most)
        return std::nullopt;
    return std::make_pair(from, to);
}

// The hosts of an address range: each address of a block but its network
// and broadcast addresses.
std::optional<std::pair<quint64, quint64>> hostsOf(const QRegularExpressionMatch &match)
{
    quint64 base = 0;
    for (int i = 1; i <= 4; ++i) {
        const std::optional<std::pair<quint64, quint64>> part = span(match.captured(i), QString(), 255);
        if (!part)
            return std::nullopt;
        base = base << 8 | part->first;
    }
    if (!match.captured(5).isEmpty()) {
        const auto last = span(match.captured(4), match.captured(5), 255);
        return last ? std::optional(std::make_pair(base, base + last->second - last->first)) : std::nullopt;
    }
    if (match.captured(6).isEmpty())
        return std::make_pair(base, base);
    const auto prefix = span(match.captured(6), QString(), 32);
    if (!prefix || prefix->first < 8)
        return std::nullopt;
    const quint64 size = quint64(1) << (32 - prefix->first);
    const quint64 network = base & ~(size - 1) & 0xffffffffu;
    return size <= 2 ? std::make_pair(network, network + size - 1)
                     : std::make_pair(network + 1, network + size - 2);
}

QString dotted(quint64 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24 & 255)
        .arg(address >> 16 & 255)
        .arg(address >> 8 & 255)
        .arg(address & 255);
}

QString shownRange(const QString &range)
{
    return plainShown(range).simplified().left(80);
}

// Nothing listens there: no reader, and nothing worth a line.
bool nothingThere(const ReaderLook &look)
{
    if (look.opened || !look.code)
        return false;
    const int cause = device::causeNamed(QLatin1String(look.code));
    return cause == TRVO_CAUSE_UNREACHABLE || cause == TRVO_CAUSE_REFUSED || cause == TRVO_CAUSE_TIMEOUT;
}

// One connection a link: a reader is looked at as it is found.
std::optional<FoundReader> tryLink(const QString &link)
{
    FoundReader found{lookAtReader(link), QString()};
    if (nothingThere(found.look))
        return std::nullopt;
    if (found.look.text) {
        const config::ImportResult imported =
            config::openConfigBytes(config::startValue(), *found.look.text, link);
        if (!imported.refusal)
            found.channel = codeSummary(imported.imported.value, QString(), formWords).value(1);
    }
    return found;
}

} // namespace

Links rangeLinks(const QString &range)
{
    const QRegularExpressionMatch addresses = kAddressRange.match(range);
    const QRegularExpressionMatch named = kHostPorts.match(range);
    const bool byAddress = addresses.hasMatch();
    const std::optional<std::pair<quint64, quint64>> hosts =
        byAddress ? hostsOf(addresses) : std::optional(std::make_pair(quint64(0), quint64(0)));
    const QString firstPort = byAddress ? addresses.captured(7) : named.captured(2);
    const auto ports = span(firstPort.isEmpty() ? QString::number(kDefaultPort) : firstPort,
                            byAddress ? addresses.captured(8) : named.captured(3), 65535);
    if ((!byAddress && !named.hasMatch()) || !hosts || !ports || ports->first == 0)
        return {{}, QCoreApplication::translate("fleet", kBadRange).arg(shownRange(range))};
    const quint64 count = (hosts->second - hosts->first + 1) * (ports->second - ports->first + 1);
    if (count > quint64(kMostFoundAddresses))
        return {{},
                QCoreApplication::translate("fleet", kRangeTooLarge)
                    .arg(shownRange(range))
                    .arg(count)
                    .arg(kMostFoundAddresses)};
    Links found;
    for (quint64 host = hosts->first; host <= hosts->second; ++host)
        for (quint64 port = ports->first; port <= ports->second; ++port)
            found.links
                << QStringLiteral("tcp:%1:%2").arg(byAddress ? dotted(host) : named.captured(1)).arg(port);
    return found;
}

void findReaders(const QStringList &links, int jobs,
                 const std::function<void(const QString &link, const std::optional<FoundReader> &found)> &tried,
                 const std::atomic<bool> *stopping)
{
    forEachLinkReported(
        links, std::clamp(jobs, 1, kMostTriesAtOnce),
        [&](const QString &link) -> std::function<void()> {
            return [&tried, link, found = tryLink(link)] { tried(link, found); };
        },
        stopping);
}
