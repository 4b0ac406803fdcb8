#include "cli/fleet_modes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QHostAddress>
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTcpSocket>

#include <map>
#include <mutex>

#include "cli/output.h"
#include "cli/site_sheet.h"
#include "config/assembly.h"
#include "config/code_summary.h"
#include "config/config_file.h"
#include "core/save_records.h"
#include "core/wording.h"
#include "device/device_link.h"
#include "device/reader_links.h"
#include "device/serial_ports.h"
#include "text/plain_text.h"

namespace fleet {

namespace {

const QCommandLineOption kCheck(QStringLiteral("check"));
const QCommandLineOption kRead(QStringLiteral("read"));
const QCommandLineOption kFind(QStringLiteral("find"), QString(), QStringLiteral("RANGE"));
const QCommandLineOption kForce(QStringLiteral("force"));
const QCommandLineOption kSet(QStringLiteral("set"), QString(), QStringLiteral("KEY=VALUE"));
const QCommandLineOption kSheet(QStringLiteral("sheet"), QString(), QStringLiteral("SITE.csv"));

const char kNamedTwice[] = QT_TRANSLATE_NOOP("fleet", "“%1”与“%2”是同一个读卡器：每个读卡器只能指定一次。");
const char kBadRange[] =
    QT_TRANSLATE_NOOP("fleet",
                      "“%1”不是可查找的范围：应为 主机-末段:端口、A.B.C.0/24[:端口] 或 主机:端口-端口。");
const char kRangeTooLarge[] = QT_TRANSLATE_NOOP("fleet", "“%1”含 %2 个地址：每次最多查找 %3 个。");
const char kNotOneReader[] = QT_TRANSLATE_NOOP("fleet", "表中每行只能给出一个读头");
const char kRowRefused[] = QT_TRANSLATE_NOOP("fleet", "第 %1 行（%2）：%3");
const char kSecretSet[] =
    QT_TRANSLATE_NOOP("fleet",
                      "--set %1：密码和地址中的凭据不能写在参数中，其他用户可以读到；请写在配置文件或读头表中");

// The reader's port when a range names none, the simulator's and the readers' own.
constexpr int kDefaultPort = 47811;
constexpr int kMostFoundAddresses = 4096;
constexpr int kMostTriesAtOnce = 64;
constexpr int kTryMs = 1000;

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
    QHostAddress address(host);
    if (address.isNull()) {
        const QList<QHostAddress> found = QHostInfo::fromName(host).addresses();
        if (found.isEmpty())
            return link;
        const auto ipv4 = std::find_if(found.begin(), found.end(), [](const QHostAddress &one) {
            return one.protocol() == QAbstractSocket::IPv4Protocol;
        });
        address = ipv4 != found.end() ? *ipv4 : found.first();
    }
    bool mapped = false;
    const quint32 ipv4 = address.toIPv4Address(&mapped);
    if (mapped)
        address = QHostAddress(ipv4);
    return tcp + address.toString() + link.mid(colon);
}

// One reader as read: its configuration, its firmware, and how it stands
// against the file (for --check).
struct Look
{
    QString link;
    std::optional<QByteArray> text;
    const char *code = nullptr; // why there is no text
    QString cause;
    std::optional<QString> firmware;
    std::vector<config::KeyDifference> changes;
    double seconds = 0;
    Cause why = {}; // what code and cause are worded from
};

Look lookAt(const QString &link, const QByteArray &fileText)
{
    QElapsedTimer clock;
    clock.start();
    Look look{link, std::nullopt, nullptr, QString(), std::nullopt, {}, 0};
    device::Session reader;
    if (reader.open(link))
        look.text = reader.readConfig();
    if (!look.text) {
        look.why = linkFailureCause(reader.failure());
    } else {
        look.firmware = reader.readVersion();
        if (!fileText.isEmpty()) {
            config::ReaderChanges changes = config::changesOnReader(fileText, *look.text);
            if (changes.failure)
                look.why = {{QStringLiteral("script"), {*changes.failure}}};
            look.changes = std::move(changes.keys);
        }
    }
    look.code = causeCode(look.why);
    look.cause = causeWords(look.why);
    look.seconds = double(clock.nsecsElapsed()) / 1e9;
    return look;
}

// Looks at every link, at most jobs at once, and hands each look over on
// this thread's turn, one at a time, as it finishes; a link with a text
// compares the reader with it.
void lookAtEach(const QStringList &links, int jobs, const QHash<QString, QByteArray> &texts,
                const std::function<void(const Look &)> &done)
{
    std::mutex reporting;
    forEachLink(links, jobs, [&](const QString &link) {
        const Look look = lookAt(link, texts.value(link));
        const std::lock_guard<std::mutex> one(reporting);
        done(look);
    });
}

QJsonObject lookJson(const Look &look, const QString &result, const QString &place)
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

// The longer descriptions, each on one line for the translation check.
// clang-format off
const char kReadDescription[] = QT_TRANSLATE_NOOP("CommandLine", "把 --device 给出的每个读头的配置备份到 --save-as 给出的文件夹；只有一个读头时也可以是一个文件。");
const char kFindDescription[] = QT_TRANSLATE_NOOP("CommandLine", "在范围 RANGE 中查找网络上的读头，RANGE 可为 HOST-LAST:PORT、A.B.C.0/24[:PORT] 或 HOST:PORT-PORT；给出 serial 时列出串口。");
const char kSetDescription[] = QT_TRANSLATE_NOOP("CommandLine", "与 --write、--check、--text、--code 或 --save-as 同用：本次运行中把配置项 KEY（配置文本中的键，如 devnum、ip、port、brightness）设为 VALUE，可重复给出。未知的键或不合规则的值在写入前被拒绝（退出码 1）；没有“=”是用法错误（退出码 2）。密码类的值不能写在参数中。");
const char kSheetDescription[] = QT_TRANSLATE_NOOP("CommandLine", "读头表（UTF-8 CSV，表头为 link、place 及要设置的键）：与 --write 或 --check 同用时，每行一个读头，用自己的位置和值覆盖 FILE（及 --set）的值，任何一行被拒绝则什么都不写（退出码 1）；与 --read 同用时写出这样的表，每个读到的读头一行，只列出各读头取值不同的键（密码类除外）。");
// clang-format on

QCommandLineOption described(QCommandLineOption option, const char *description)
{
    option.setDescription(QCoreApplication::translate("CommandLine", description));
    return option;
}

} // namespace

QList<QCommandLineOption> options()
{
    return {described(kCheck,
                      QT_TRANSLATE_NOOP("CommandLine",
                                        "把 --device 给出的每个读头与 FILE 的配置比较；不写入，也不需要密码。")),
            described(kRead, kReadDescription),
            described(kFind, kFindDescription),
            described(kForce, QT_TRANSLATE_NOOP("CommandLine", "与 --write 同用：已持有该配置的读头也写入。")),
            described(kSet, kSetDescription),
            described(kSheet, kSheetDescription)};
}

bool asked(const QCommandLineParser &parser)
{
    return parser.isSet(kCheck) || parser.isSet(kRead) || parser.isSet(kFind);
}

Readers readersGiven(const QStringList &values)
{
    Readers readers;
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

std::optional<config::KeyValues> valuesGiven(const QStringList &arguments)
{
    config::KeyValues values;
    for (const QString &argument : arguments) {
        const int equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        values.push_back({argument.left(equals), argument.mid(equals + 1)});
    }
    return values;
}

std::optional<QString> setGiven(config::FormValue *form, const config::KeyValues &values)
{
    for (const config::KeyValue &set : values)
        if (config::shownValue(set.key, set.value) != set.value)
            return said(kSecretSet).arg(set.key);
    const config::SetResult result = config::withValuesSet(*form, values);
    if (result.refusal)
        return QStringLiteral("--set ") + *result.refusal;
    *form = result.value;
    return std::nullopt;
}

QString targetRefusal(const Target &target, const QString &why)
{
    // A row's link and values come from a file nobody vouches for.
    if (target.line == 0)
        return target.link + QStringLiteral(": ") + why;
    return said(kRowRefused).arg(target.line).arg(oneLine(target.link).left(80), oneLine(why));
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
        Target target{row.link, row.place.isEmpty() ? place : oneLine(row.place), form, row.line};
        const Readers one = readersGiven({row.link});
        if (one.problem || one.links.size() != 1)
            return {{}, targetRefusal(target, one.problem.value_or(said(kNotOneReader))), 2};
        const config::SetResult set = config::withValuesSet(form, row.values);
        if (set.refusal)
            return {{}, targetRefusal(target, *set.refusal), 1};
        target.link = one.links.front();
        target.form = set.value;
        targets.list.push_back(target);
        links << row.link;
    }
    const Readers all = readersGiven(links + devices);
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
    const int modes = int(parser.isSet(kCheck)) + int(parser.isSet(kRead)) + int(parser.isSet(kFind));
    if (modes > 1)
        return QStringLiteral("--check, --read and --find exclude each other");
    const QStringList others{QStringLiteral("write"), QStringLiteral("text"), QStringLiteral("code"),
                             QStringLiteral("history"), QStringLiteral("force")};
    for (const QString &other : others)
        if (parser.isSet(other))
            return QStringLiteral("--%1 goes with none of --check, --read and --find").arg(other);
    mode = parser.isSet(kCheck) ? Check : parser.isSet(kRead) ? Read : Find;
    range = parser.value(kFind);
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
        return QStringLiteral("--jobs takes a number from 1 to %1").arg(ReaderBatch::kMostJobs);
    if (const std::optional<QString> unfit = chooseReaders(parser))
        return unfit;
    if ((mode == Check) != !file.isEmpty() || parser.positionalArguments().size() > 1)
        return mode == Check ? QStringLiteral("--check needs exactly one FILE")
                             : QStringLiteral("only --check reads a FILE");
    if (mode != Read && parser.isSet(QStringLiteral("save-as")))
        return QStringLiteral("--save-as goes with --read here");
    if (mode == Read && !parser.isSet(QStringLiteral("save-as")) && sheet.isEmpty())
        return QStringLiteral("--read needs --save-as DIR (or FILE for one reader), or --sheet SITE.csv");
    return std::nullopt;
}

// The readers the mode takes, and the values --set gives them.
std::optional<QString> FleetRun::chooseReaders(const QCommandLineParser &parser)
{
    devices = parser.values(QStringLiteral("device"));
    const std::optional<config::KeyValues> values = valuesGiven(parser.values(kSet));
    if (!values)
        return QStringLiteral("--set takes KEY=VALUE");
    set = *values;
    if (mode == Find && (!devices.isEmpty() || !sheet.isEmpty() || !set.empty()))
        return QStringLiteral("--find takes no --device, --sheet or --set");
    if (mode == Read && !set.empty())
        return QStringLiteral("--set goes with --write and --check");
    if (mode != Find && devices.isEmpty() && (mode == Read || sheet.isEmpty()))
        return QStringLiteral("name the readers by --device (or, with --check, by --sheet)");
    return std::nullopt;
}

int FleetRun::run() const
{
    if (mode == Find)
        return find();
    if (mode == Check)
        return check();
    const Readers readers = readersGiven(devices);
    if (readers.problem) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + *readers.problem
                          + QStringLiteral("\n"));
        return 2;
    }
    return read(readers.links);
}

namespace {

// The check's record: confirmed when the reader holds the target's
// configuration, failed with what differs, unknown when it was not read.
void recordCheck(const Look &look, const Target &target)
{
    const SaveReport report = look.code ? reported(SaveReport::Unknown, look.why)
                              : look.changes.empty()
                                  ? SaveReport{SaveReport::Saved, QString()}
                                  : reported(SaveReport::Failed, {{QStringLiteral("differs"), {}}});
    if (const std::optional<QString> unrecorded =
            recordSave(look.link, look.firmware.value_or(QString()), report, recordedChanges(look.changes),
                       target.form, target.place, records::Record::Check)
                .note)
        print(stderr, oneLine(*unrecorded) + QLatin1Char('\n'));
}

QString checkLine(const Look &look, const QString &result, const QString &place, bool json)
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
    lookAtEach(links, jobs, texts, [&](const Look &look) {
        const QString result = look.code              ? QStringLiteral("failed")
                               : look.changes.empty() ? QStringLiteral("same")
                                                      : QStringLiteral("differs");
        same += int(result == QLatin1String("same"));
        recordCheck(look, *byLink.value(look.link));
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
std::optional<QString> backUp(const Look &look, const QString &path)
{
    const config::ImportResult imported = config::openConfigBytes(config::startValue(), *look.text, look.link);
    if (imported.refusal)
        return imported.refusal;
    const config::FileContents contents = config::fileContents(imported.imported.value);
    if (contents.refusal)
        return refusalText(*contents.refusal);
    return config::writeConfigFile(path, contents.bytes);
}

QString readLine(const Look &look, const QString &result, const QString &path, const QString &place, bool json)
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
        return stopped(names.size() < links.size() ? QStringLiteral("two readers would share a file name")
                                                   : saveAs + QStringLiteral(" is no folder"),
                       2);
    int saved = 0;
    bool allPrinted = true;
    QHash<QString, site_sheet::ReadReader> sheetRows;
    lookAtEach(links, jobs, {}, [&](const Look &look) {
        Look written = look;
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

// Addresses a.b.c.d, a.b.c.d-e or a.b.c.d/n, then :port or :port-port; or
// a host name with :port or :port-port.
const QRegularExpression kAddressRange(
    QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)(?:-(\\d+)|/(\\d+))?(?::(\\d+)(?:-(\\d+))?)?$"));
const QRegularExpression kHostPorts(QStringLiteral("^([A-Za-z0-9][A-Za-z0-9.-]*):(\\d+)(?:-(\\d+))?$"));

struct Range
{
    QStringList links;
    std::optional<QString> problem;
};

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

Range rangeLinks(const QString &range)
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
        return {{}, said(kBadRange).arg(oneLine(range).left(80))};
    const quint64 count = (hosts->second - hosts->first + 1) * (ports->second - ports->first + 1);
    if (count > quint64(kMostFoundAddresses))
        return {{}, said(kRangeTooLarge).arg(oneLine(range).left(80)).arg(count).arg(kMostFoundAddresses)};
    Range found;
    for (quint64 host = hosts->first; host <= hosts->second; ++host)
        for (quint64 port = ports->first; port <= ports->second; ++port)
            found.links << QStringLiteral("tcp:%1:%2")
                               .arg(byAddress ? QHostAddress(quint32(host)).toString() : named.captured(1))
                               .arg(port);
    return found;
}

// A reader found: its firmware and output channel; a peer that takes the
// connection but answers no reader's call is failed.
struct Found
{
    Look look;
    QString channel;
};

std::optional<Found> tryLink(const QString &link)
{
    const QString host = link.section(QLatin1Char(':'), 1, -2);
    QTcpSocket probe;
    probe.connectToHost(host, quint16(link.section(QLatin1Char(':'), -1).toUInt()));
    if (!probe.waitForConnected(kTryMs))
        return std::nullopt;
    probe.abort();
    Found found{lookAt(link, QByteArray()), QString()};
    if (found.look.text) {
        const config::ImportResult imported =
            config::openConfigBytes(config::startValue(), *found.look.text, link);
        if (!imported.refusal)
            found.channel = codeSummary(imported.imported.value, QString(), formWords).value(1);
    }
    return found;
}

QString foundLine(const Found &found, bool json)
{
    const Look &look = found.look;
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
    const Range candidates = rangeLinks(range);
    if (candidates.problem) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + *candidates.problem + '\n');
        return 2;
    }
    std::map<int, Found> found; // by the address's place in the range
    std::mutex finding;
    QHash<QString, int> order;
    for (int i = 0; i < candidates.links.size(); ++i)
        order.insert(candidates.links.at(i), i);
    forEachLink(candidates.links, std::min(jobs, kMostTriesAtOnce), [&](const QString &link) {
        if (std::optional<Found> reader = tryLink(link)) {
            const std::lock_guard<std::mutex> one(finding);
            found.emplace(order.value(link), std::move(*reader));
        }
    });
    for (const auto &reader : found)
        allPrinted = print(stdout, foundLine(reader.second, json) + QLatin1Char('\n')) && allPrinted;
    return !allPrinted ? 2 : found.empty() ? 1 : 0;
}

} // namespace fleet
