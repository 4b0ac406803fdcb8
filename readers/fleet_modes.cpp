#include "readers/fleet_modes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <arpa/inet.h>
#include <map>
#include <netdb.h>
#include <netinet/in.h>

#include "cli/output.h"
#include "cli/set_option.h"
#include "config/assembly.h"
#include "config/code_summary.h"
#include "config/config_file.h"
#include "core/reader_find.h"
#include "core/reader_look.h"
#include "core/save_records.h"
#include "core/site_sheet.h"
#include "device/reader_links.h"
#include "device/serial_ports.h"
#include "program/wording.h"
#include "readers/write_mode.h"
#include "text/plain_text.h"

namespace fleet {

namespace {

const char kNamedTwice[] = QT_TRANSLATE_NOOP("fleet", "“%1”与“%2”是同一个读卡器：每个读卡器只能指定一次。");

QString said(const char *source)
{
    return QCoreApplication::translate("fleet", source);
}

// A reader's or the system's words on one line, bounded, nothing in them
// that steers the terminal.
QString oneLine(const QString &text)
{
    return plainShown(text).simplified();
}

QString compactJson(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonValue orNull(const char *code)
{
    return code ? QJsonValue(QLatin1String(code)) : QJsonValue();
}

// The host's address as text: a numeric form as the resolver reads it
// (127.1 included), a name as it answers, an IPv4 address preferred and one
// mapped into IPv6 given as IPv4; empty when it does not resolve.
QString hostAddress(const QString &host)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (host.isEmpty() || getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found) != 0)
        return QString();
    const addrinfo *chosen = found;
    for (const addrinfo *one = found; one; one = one->ai_next)
        if (one->ai_family == AF_INET) {
            chosen = one;
            break;
        }
    char text[INET6_ADDRSTRLEN] = {};
    if (chosen->ai_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in *>(chosen->ai_addr)->sin_addr, text, sizeof text);
    } else if (chosen->ai_family == AF_INET6) {
        const in6_addr &six = reinterpret_cast<const sockaddr_in6 *>(chosen->ai_addr)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&six))
            inet_ntop(AF_INET, six.s6_addr + 12, text, sizeof text);
        else
            inet_ntop(AF_INET6, &six, text, sizeof text);
    }
    freeaddrinfo(found);
    return QString::fromLatin1(text);
}

// A network link with its host as an address: one reader under any of its
// names (localhost, [::ffff:127.0.0.1]) comes out as one link. A name that
// does not resolve stays as it is; the save then says why.
QString resolvedLink(const QString &link)
{
    const QString tcp = QStringLiteral("tcp:");
    const int colon = link.lastIndexOf(QLatin1Char(':'));
    if (!link.startsWith(tcp) || colon <= tcp.size())
        return link;
    QString host = link.mid(tcp.size(), colon - tcp.size());
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    const QString address = hostAddress(host);
    return address.isEmpty() ? link : tcp + address + link.mid(colon);
}

QJsonObject lookJson(const ReaderLook &look, const QString &result, const QString &place)
{
    QJsonObject object{
        {QStringLiteral("link"), look.link},
        {QStringLiteral("result"), result},
        {QStringLiteral("code"), orNull(look.code)},
        {QStringLiteral("cause"), look.code ? QJsonValue(oneLine(look.cause)) : QJsonValue()},
        {QStringLiteral("firmware"), look.firmware ? QJsonValue(oneLine(*look.firmware)) : QJsonValue()},
        {QStringLiteral("seconds"), qRound(look.seconds * 1000) / 1000.0},
    };
    if (!place.isEmpty())
        object.insert(QStringLiteral("place"), place);
    return object;
}

} // namespace

Links readersGiven(const QStringList &values)
{
    Links readers;
    QHash<QString, QString> named; // each reader, by the link that named it first
    for (const QString &value : values) {
        const device::TypedReaders typed = device::parseTypedReaders(value);
        if (typed.problem)
            return {{}, device::typedReadersProblemText(typed)};
        for (const QString &link : typed.links) {
            const QString reader = device::readerOfLink(resolvedLink(link));
            if (named.contains(reader))
                return {{}, said(kNamedTwice).arg(link, named.value(reader))};
            named.insert(reader, link);
            readers.links << link;
        }
    }
    return readers;
}

QString targetRefusal(const Target &target, const QString &why)
{
    if (target.line == 0)
        return target.link + QStringLiteral(": ") + why;
    return site_sheet::rowRefusal(target.line, target.link, why);
}

Targets targetsOf(const config::FormValue &form, const QStringList &devices, const QString &place,
                  const QString &sheetPath)
{
    const site_sheet::Sheet sheet = sheetPath.isEmpty() ? site_sheet::Sheet() : site_sheet::readSheet(sheetPath);
    if (sheet.problem)
        return {{}, sheet.problem, sheet.unreadable ? 2 : 1};
    Targets targets;
    QStringList links;
    for (const site_sheet::Row &row : sheet.rows) {
        const site_sheet::RowTarget one = site_sheet::rowTarget(row, form);
        if (one.problem)
            return {{}, one.problem, one.unreadable ? 2 : 1};
        targets.list.push_back({one.link, row.place.isEmpty() ? place : oneLine(row.place), one.form, row.line});
        links << row.link;
    }
    const Links all = readersGiven(links + devices);
    if (all.problem)
        return {{}, all.problem, 2};
    for (int i = int(targets.list.size()); i < all.links.size(); ++i)
        targets.list.push_back({all.links.at(i), place, form, 0});
    return targets;
}

QJsonArray changesJson(const std::vector<config::KeyDifference> &changes)
{
    QJsonArray list;
    for (const config::KeyDifference &change : changes)
        list.append(
            QJsonObject{{QStringLiteral("key"), change.key},
                        {QStringLiteral("setting"), oneLine(formWords(change.words))},
                        {QStringLiteral("reader"), change.missing ? QJsonValue() : oneLine(change.readBack)},
                        {QStringLiteral("file"), oneLine(change.sent)}});
    return list;
}

QString changesText(const std::vector<config::KeyDifference> &changes)
{
    QStringList each;
    for (const config::KeyDifference &change : changes)
        each << QStringLiteral("%1 %2 \u2192 %3")
                    .arg(change.key, change.missing ? QStringLiteral("-") : oneLine(change.readBack),
                         oneLine(change.sent));
    return each.join(QStringLiteral(", "));
}

void addWriteFields(QJsonObject *object, const ReaderResult &result)
{
    if (result.unchanged)
        object->insert(QStringLiteral("result"), QStringLiteral("unchanged"));
    object->insert(QStringLiteral("code"), orNull(result.report.code));
    object->insert(QStringLiteral("changes"),
                   result.changes ? QJsonValue(changesJson(*result.changes)) : QJsonValue());
}

} // namespace fleet

namespace fleet {

std::optional<QString> FleetRun::choose(const QCommandLineParser &parser, const QString &file,
                                        const QString &saveAs, const QString &sheet)
{
    const QString check = QStringLiteral("check");
    const QString read = QStringLiteral("read");
    const int modes =
        int(parser.isSet(check)) + int(parser.isSet(read)) + int(parser.isSet(QStringLiteral("find")));
    if (modes > 1)
        return said(QT_TRANSLATE_NOOP("fleet", "--check、--read 和 --find 不能同时使用"));
    const QStringList others{QStringLiteral("write"), QStringLiteral("text"), QStringLiteral("code"),
                             QStringLiteral("history"), QStringLiteral("force")};
    for (const QString &other : others)
        if (parser.isSet(other))
            return said(QT_TRANSLATE_NOOP("fleet", "--%1 不能与 --check、--read 或 --find 同用")).arg(other);
    mode = parser.isSet(check) ? Check : parser.isSet(read) ? Read : Find;
    range = parser.value(QStringLiteral("find"));
    place = parser.value(QStringLiteral("place"));
    json = parser.isSet(QStringLiteral("json"));
    this->file = file;
    this->saveAs = saveAs;
    this->sheet = sheet;
    bool number = false;
    jobs = parser.value(QStringLiteral("jobs")).toInt(&number);
    if (!parser.isSet(QStringLiteral("jobs")))
        jobs = mode == Find ? kMostTriesAtOnce : 16;
    else if (!number || jobs < 1 || jobs > ReaderBatch::kMostJobs)
        return jobsOutOfRange();
    if (const std::optional<QString> unfit = chooseReaders(parser))
        return unfit;
    if ((mode == Check) != !file.isEmpty() || parser.positionalArguments().size() > 1)
        return mode == Check ? said(QT_TRANSLATE_NOOP("fleet", "--check 需要正好一个 FILE"))
                             : said(QT_TRANSLATE_NOOP("fleet", "只有 --check 读取 FILE"));
    if (mode != Read && parser.isSet(QStringLiteral("save-as")))
        return said(QT_TRANSLATE_NOOP("fleet", "这里 --save-as 只能与 --read 同用"));
    if (mode == Read && !parser.isSet(QStringLiteral("save-as")) && sheet.isEmpty())
        return said(QT_TRANSLATE_NOOP("fleet",
                                      "--read 需要 --save-as DIR（只有一个读头时可为 FILE）或 --sheet SITE.csv"));
    return std::nullopt;
}

// The readers the mode takes, and the values --set gives them.
std::optional<QString> FleetRun::chooseReaders(const QCommandLineParser &parser)
{
    devices = parser.values(QStringLiteral("device"));
    const std::optional<config::KeyValues> values = valuesGiven(parser.values(QStringLiteral("set")));
    if (!values)
        return QCoreApplication::translate("CommandLine", "--set 需要 KEY=VALUE");
    set = *values;
    if (mode == Find && (!devices.isEmpty() || !sheet.isEmpty() || !set.empty()))
        return said(QT_TRANSLATE_NOOP("fleet", "--find 不接受 --device、--sheet 或 --set"));
    if (mode == Read && !set.empty())
        return said(QT_TRANSLATE_NOOP("fleet", "--set 只能与 --write 或 --check 同用"));
    if (mode != Find && devices.isEmpty() && (mode == Read || sheet.isEmpty()))
        return said(QT_TRANSLATE_NOOP("fleet", "请用 --device 指定读头（--check 也可用 --sheet）"));
    return std::nullopt;
}

int FleetRun::run() const
{
    if (mode == Find)
        return find();
    if (mode == Check)
        return check();
    const Links readers = readersGiven(devices);
    if (readers.problem) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + *readers.problem
                          + QStringLiteral("\n"));
        return 2;
    }
    return read(readers.links);
}

namespace {

void recordTargetCheck(const ReaderLook &look, const Target &target)
{
    if (const std::optional<QString> unrecorded = recordCheck(look, target.form, target.place))
        print(stderr, oneLine(*unrecorded) + QLatin1Char('\n'));
}

QString checkLine(const ReaderLook &look, const QString &result, const QString &place, bool json)
{
    if (json) {
        QJsonObject object = lookJson(look, result, place);
        object.insert(QStringLiteral("changes"), changesJson(look.changes));
        return compactJson(object);
    }
    QString line = look.link + QLatin1Char(' ') + result;
    if (look.code)
        line += QStringLiteral(": ") + oneLine(look.cause);
    else if (!look.changes.empty())
        line += QStringLiteral(": %1 settings (%2)").arg(look.changes.size()).arg(changesText(look.changes));
    return line;
}

// Why the command stops before it looks at a reader, and its exit code.
int stopped(const QString &why, int exitCode)
{
    const QString name = exitCode == 2 ? QCoreApplication::applicationName() + QStringLiteral(": ") : QString();
    print(stderr, name + why + QLatin1Char('\n'));
    return exitCode;
}

} // namespace

// A line a reader: same, differs with what differs, or failed with why;
// and a record of each.
int FleetRun::check() const
{
    const config::ImportResult opened = config::openConfigFile(config::startValue(), file);
    if (opened.refusal)
        return stopped(*opened.refusal, 2);
    config::FormValue form = opened.imported.value;
    if (const std::optional<QString> refused = setGiven(&form, set))
        return stopped(*refused, 1);
    const Targets targets = targetsOf(form, devices, oneLine(place), sheet);
    if (targets.problem)
        return stopped(*targets.problem, targets.exitCode);
    QHash<QString, QByteArray> texts;
    QHash<QString, const Target *> byLink;
    QStringList links;
    for (const Target &target : targets.list) {
        const config::Assembly built = config::envelop(target.form, config::PasswordChange::Left);
        if (built.refusal)
            return stopped(targetRefusal(target, refusalText(*built.refusal)), 1);
        texts.insert(target.link, built.text.toUtf8());
        byLink.insert(target.link, &target);
        links << target.link;
    }
    int same = 0;
    bool allPrinted = true;
    lookAtEach(links, jobs, texts, [&](const ReaderLook &look) {
        const QString result = look.code              ? QStringLiteral("failed")
                               : look.changes.empty() ? QStringLiteral("same")
                                                      : QStringLiteral("differs");
        same += int(result == QLatin1String("same"));
        recordTargetCheck(look, *byLink.value(look.link));
        const QString line = checkLine(look, result, byLink.value(look.link)->place, json);
        allPrinted = print(stdout, line + QLatin1Char('\n')) && allPrinted;
    });
    return !allPrinted ? 2 : same == links.size() ? 0 : 1;
}

namespace {

// A link as a file name: every character but letters, digits, '.', '-'
// and '_' as '_', so that a serial port's path names no folder.
QString safeFileName(const QString &link)
{
    QString name = link;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return name + QStringLiteral(".tcfg");
}

// The reader's text in our file format, written whole or not at all; why not.
std::optional<QString> backUp(const ReaderLook &look, const QString &path)
{
    const config::ImportResult imported = config::openConfigBytes(config::startValue(), *look.text, look.link);
    if (imported.refusal)
        return imported.refusal;
    const config::FileContents contents = config::fileContents(imported.imported.value);
    if (contents.refusal)
        return refusalText(*contents.refusal);
    return config::writeConfigFile(path, contents.bytes);
}

QString readLine(const ReaderLook &look, const QString &result, const QString &path, const QString &place,
                 bool json)
{
    if (json) {
        QJsonObject object = lookJson(look, result, place);
        object.insert(QStringLiteral("file"), look.code ? QJsonValue() : QJsonValue(path));
        return compactJson(object);
    }
    return look.link + QLatin1Char(' ') + result + QStringLiteral(": ")
           + (look.code ? oneLine(look.cause)
                        : path + QStringLiteral(" (%1)").arg(oneLine(look.firmware.value_or(QString()))));
}

} // namespace

// Each reader's configuration into a file of its own, or a row of the
// sheet, or both.
int FleetRun::read(const QStringList &links) const
{
    const bool backUps = !saveAs.isEmpty();
    const bool oneFile = links.size() == 1 && !QFileInfo(saveAs).isDir();
    QStringList names;
    for (const QString &link : links)
        names << safeFileName(link);
    if (backUps && !oneFile && (!QFileInfo(saveAs).isDir() || names.removeDuplicates() > 0))
        return stopped(names.size() < links.size()
                           ? said(QT_TRANSLATE_NOOP("fleet", "两个读头会写入同名的文件"))
                           : said(QT_TRANSLATE_NOOP("fleet", "%1 不是文件夹")).arg(saveAs),
                       2);
    int saved = 0;
    bool allPrinted = true;
    QHash<QString, site_sheet::ReadReader> sheetRows;
    lookAtEach(links, jobs, {}, [&](const ReaderLook &look) {
        ReaderLook written = look;
        const QString path = !backUps ? sheet : oneFile ? saveAs : QDir(saveAs).filePath(safeFileName(look.link));
        const std::optional<QString> failure = written.text && backUps ? backUp(written, path) : std::nullopt;
        if (failure) {
            written.code = "file";
            written.cause = *failure;
        }
        if (look.text)
            sheetRows.insert(look.link, {look.link, oneLine(place),
                                         config::importedValues(*look.text).value_or(QMap<QString, QString>())});
        saved += int(!written.code);
        const QString result = written.code ? QStringLiteral("failed") : QStringLiteral("saved");
        allPrinted =
            print(stdout, readLine(written, result, path, place, json) + QLatin1Char('\n')) && allPrinted;
    });
    std::vector<site_sheet::ReadReader> rows;
    for (const QString &link : links)
        if (sheetRows.contains(link))
            rows.push_back(sheetRows.value(link));
    if (!sheet.isEmpty())
        if (const std::optional<QString> unwritten = site_sheet::writeSheet(sheet, rows))
            return stopped(*unwritten, 2);
    return !allPrinted ? 2 : saved == links.size() ? 0 : 1;
}

} // namespace fleet

namespace fleet {

namespace {

QString foundLine(const FoundReader &found, bool json)
{
    const ReaderLook &look = found.look;
    if (json) {
        QJsonObject object =
            lookJson(look, look.code ? QStringLiteral("failed") : QStringLiteral("found"), QString());
        object.insert(QStringLiteral("channel"),
                      found.channel.isEmpty() ? QJsonValue() : QJsonValue(found.channel));
        return compactJson(object);
    }
    if (look.code)
        return look.link + QStringLiteral(" failed: ") + oneLine(look.cause);
    return QStringList{look.link, oneLine(look.firmware.value_or(QStringLiteral("-"))), found.channel}.join(
        QLatin1Char('\t'));
}

QString serialPortLine(const device::SerialPort &port, bool json)
{
    const QString link =
        QStringLiteral("serial:") + (port.stableName.isEmpty() ? port.location : port.stableName);
    const QStringList about{oneLine(port.description), oneLine(port.manufacturer), oneLine(port.serialNumber),
                            port.usbId};
    const QString aboutLine = about.join(QLatin1Char(' ')).simplified();
    if (!json)
        return aboutLine.isEmpty() ? link : link + QLatin1Char('\t') + aboutLine;
    return compactJson(QJsonObject{{QStringLiteral("link"), link},
                                   {QStringLiteral("result"), QStringLiteral("port")},
                                   {QStringLiteral("description"), about.at(0)},
                                   {QStringLiteral("maker"), about.at(1)},
                                   {QStringLiteral("serial"), about.at(2)},
                                   {QStringLiteral("usb"), about.at(3)}});
}

} // namespace

// The readers of the range in its order, after every address was tried.
int FleetRun::find() const
{
    bool allPrinted = true;
    if (range == QLatin1String("serial")) {
        for (const device::SerialPort &port : device::listSerialPorts())
            allPrinted = print(stdout, serialPortLine(port, json) + QLatin1Char('\n')) && allPrinted;
        return allPrinted ? 0 : 2;
    }
    const Links candidates = rangeLinks(range);
    if (candidates.problem) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + *candidates.problem + '\n');
        return 2;
    }
    std::map<int, FoundReader> found; // by the address's place in the range
    QHash<QString, int> order;
    for (int i = 0; i < candidates.links.size(); ++i)
        order.insert(candidates.links.at(i), i);
    findReaders(candidates.links, jobs, [&](const QString &link, const std::optional<FoundReader> &reader) {
        if (reader)
            found.emplace(order.value(link), *reader);
    });
    for (const auto &reader : found)
        allPrinted = print(stdout, foundLine(reader.second, json) + QLatin1Char('\n')) && allPrinted;
    return !allPrinted ? 2 : found.empty() ? 1 : 0;
}

} // namespace fleet
