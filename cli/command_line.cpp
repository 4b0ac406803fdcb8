#include "cli/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <optional>

#include "cli/output.h"
#include "cli/set_option.h"
#include "config/assembly.h"
#include "config/config_file.h"
#include "config/password_entry.h"
#include "files/safe_file.h"
#include "program/script_log.h"
#include "program/wording.h"

namespace {

// The options by name; their descriptions are given in the language shown
// once it is chosen (CommandLine's constructor).
const QCommandLineOption kText(QStringLiteral("text"));
const QCommandLineOption kCode(QStringLiteral("code"), QString(), QStringLiteral("OUT"));
const QCommandLineOption kSaveAs(QStringLiteral("save-as"), QString(), QStringLiteral("OUT"));
const QCommandLineOption kWrite(QStringLiteral("write"));
const QCommandLineOption kDevice(QStringLiteral("device"), QString(), QStringLiteral("LINK"));
const QCommandLineOption kJobs(QStringLiteral("jobs"), QString(), QStringLiteral("N"), QStringLiteral("16"));
const QCommandLineOption kJson(QStringLiteral("json"));
const QCommandLineOption kPlace(QStringLiteral("place"), QString(), QStringLiteral("TEXT"));
const QCommandLineOption kPasswordFile(QStringLiteral("password-file"), QString(), QStringLiteral("PATH"));
const QCommandLineOption kNewPasswordFile(QStringLiteral("new-password-file"), QString(), QStringLiteral("PATH"));
const QCommandLineOption kHistory(QStringLiteral("history"));
const QCommandLineOption kSince(QStringLiteral("since"), QString(), QStringLiteral("DATE"));
const QCommandLineOption kCsv(QStringLiteral("csv"));
const QCommandLineOption kLang(QStringLiteral("lang"), QString(), QStringLiteral("zh|en"));
const QCommandLineOption kVerbose(QStringLiteral("verbose"));
const QCommandLineOption kCheck(QStringLiteral("check"));
const QCommandLineOption kRead(QStringLiteral("read"));
const QCommandLineOption kFind(QStringLiteral("find"), QString(), QStringLiteral("RANGE"));
const QCommandLineOption kForce(QStringLiteral("force"));
const QCommandLineOption kSet(QStringLiteral("set"), QString(), QStringLiteral("KEY=VALUE"));
const QCommandLineOption kSheet(QStringLiteral("sheet"), QString(), QStringLiteral("SITE.csv"));

QCommandLineOption described(QCommandLineOption option, const QString &description)
{
    option.setDescription(description);
    return option;
}

// The longer descriptions, each on one line for the translation check.
// clang-format off
const char kCheckDescription[] = QT_TRANSLATE_NOOP("CommandLine", "把 --device 给出的每个读头与 FILE 的配置比较；不写入，也不需要密码。");
const char kReadDescription[] = QT_TRANSLATE_NOOP("CommandLine", "把 --device 给出的每个读头的配置备份到 --save-as 给出的文件夹；只有一个读头时也可以是一个文件。");
const char kFindDescription[] = QT_TRANSLATE_NOOP("CommandLine", "在范围 RANGE 中查找网络上的读头，RANGE 可为 HOST-LAST:PORT、A.B.C.0/24[:PORT] 或 HOST:PORT-PORT；给出 serial 时列出串口。");
const char kSetDescription[] = QT_TRANSLATE_NOOP("CommandLine", "与 --write、--check、--text、--code 或 --save-as 同用：本次运行中把配置项 KEY（配置文本中的键，如 devnum、ip、port、brightness）设为 VALUE，可重复给出。未知的键或不合规则的值在写入前被拒绝（退出码 1）；没有“=”是用法错误（退出码 2）。密码类的值不能写在参数中。");
const char kSheetDescription[] = QT_TRANSLATE_NOOP("CommandLine", "读头表（UTF-8 CSV，表头为 link、place 及要设置的键）：与 --write 或 --check 同用时，每行一个读头，用自己的位置和值覆盖 FILE（及 --set）的值，任何一行被拒绝则什么都不写（退出码 1）；与 --read 同用时写出这样的表，每个读到的读头一行，只列出各读头取值不同的键（密码类除外）。");
// clang-format on

// The options of the modes the readers part runs, which --help lists with
// the others.
QList<QCommandLineOption> readerOptions()
{
    const auto said = [](const char *source) { return QCoreApplication::translate("CommandLine", source); };
    return {described(kCheck, said(kCheckDescription)),
            described(kRead, said(kReadDescription)),
            described(kFind, said(kFindDescription)),
            described(kForce,
                      said(QT_TRANSLATE_NOOP("CommandLine", "与 --write 同用：已持有该配置的读头也写入。"))),
            described(kSet, said(kSetDescription)),
            described(kSheet, said(kSheetDescription))};
}

// Whether the arguments ask for --check, --read or --find.
bool fleetAsked(const QCommandLineParser &parser)
{
    return parser.isSet(kCheck) || parser.isSet(kRead) || parser.isSet(kFind);
}

// The folder the user started the command in, which the installed launcher
// leaves for the program's own folder; relative file arguments name files there.
const char kCallerFolderVariable[] = "TARVO_CALLER_DIR";

const QStringList kCodeSuffixes = {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
// A password is one short line; a larger file is no password file.
constexpr qint64 kPasswordFileBytes = 4096;

QString inCallersFolder(const QString &path)
{
    const QString folder = qEnvironmentVariable(kCallerFolderVariable);
    if (path.isEmpty() || folder.isEmpty() || QFileInfo(path).isAbsolute())
        return path;
    return QDir(folder).filePath(path);
}

// The usage line names the command as the user knows it, not the path the
// launcher started it by.
QString helpText(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    const QString started = QCoreApplication::arguments().value(0);
    const int at = text.indexOf(started);
    if (!started.isEmpty() && at >= 0 && at < text.indexOf(QLatin1Char('\n')))
        text.replace(at, started.size(), QFileInfo(started).fileName());
    return text;
}

// Standard error holds the reason alone unless the debug log is asked for.
// The rules switch the lines off at their source, so that nothing is
// formatted (the masked configuration, the libraries' lines) only to be
// dropped.
void withoutDebugLog()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    routeScriptLog();
}

// A password from the file named by the option, else from the variable;
// nothing when neither names one. *failure says why a named file gave none.
std::optional<QString> password(const QCommandLineParser &parser, const QCommandLineOption &option,
                                const char *variable, QString *failure)
{
    if (!parser.isSet(option)) {
        if (!qEnvironmentVariableIsSet(variable))
            return std::nullopt;
        return qEnvironmentVariable(variable);
    }
    const QString path = inCallersFolder(parser.value(option));
    QByteArray bytes;
    if (const std::optional<QString> unread = files::readRegularFile(path, kPasswordFileBytes, &bytes)) {
        *failure = CommandLine::tr("无法读取 %1：%2").arg(path, *unread);
        return std::nullopt;
    }
    const QByteArray line = bytes.left(kPasswordFileBytes).split('\n').constFirst();
    return QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
}

// Why the passwords given cannot sign, checked as given: the form's line
// edits would cut a longer one to their length unseen.
const char *passwordProblem(const QString &signing, const std::optional<QString> &newPassword)
{
    if (const char *problem = password_entry::signingPasswordProblem(signing))
        return problem;
    return newPassword ? password_entry::newPasswordProblem(*newPassword) : nullptr;
}

int usageFailed(const QString &problem)
{
    return failed(problem + QLatin1Char('\n') + CommandLine::tr("用 --help 查看用法。"));
}

// Blank links would fall back to the environment's or the default reader.
bool hasBlankLink(const QStringList &links)
{
    return std::any_of(links.begin(), links.end(), [](const QString &link) { return link.trimmed().isEmpty(); });
}

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
{
    parser.setApplicationDescription(tr("配置 Tarvo 读头。不指定模式时打开窗口，并载入 FILE。\n"
                                        "详见 man tarvo-config。"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        described(kText, tr("打印 FILE 的签名配置文本。")),
        described(kCode, tr("把 FILE 的配置码写入 OUT（.png、.svg 或 .pdf）。")),
        described(kSaveAs, tr("把 FILE 的配置以配置文件写入 OUT。")),
        described(kWrite, tr("把 FILE 的配置保存到 --device 给出的每个读头。")),
        described(kDevice, tr("要写入的读头：tcp:HOST:PORT 或 serial:PATH[:BAUD[:FORMAT]]；多个读头重复给出。")),
        described(kJobs, tr("与 --write 同用：同时最多写入 N 个读头（默认 16）。")),
        described(kJson, tr("与 --write 同用：每个读头打印一个 JSON 对象，而不是一行。")),
        described(
            kPlace,
            tr("与 --write、--check 或 --read 同用：读头所在的位置（例如“3号楼 东门”），记入每个读头的记录和 JSON 行。")),
        described(kPasswordFile, tr("从 PATH 读取配置密码（否则取 TARVO_CONFIG_PASSWORD）。")),
        described(kNewPasswordFile, tr("把读头的密码改为 PATH 中的密码（否则取已设置的 TARVO_NEW_PASSWORD）。")),
        described(kHistory, tr("打印写入读头的保存记录，每次保存一行。")),
        described(kSince, tr("与 --history 同用：只列出 DATE（YYYY-MM-DD 或 ISO 时间）以来的保存。")),
        described(kCsv, tr("与 --history 同用：以 CSV 格式打印。")),
        described(kLang, tr("窗口和消息的语言：zh 或 en。")),
        described(kVerbose, tr("把调试日志写到标准错误。")),
    });
    parser.addOptions(readerOptions());
    parser.addPositionalArgument(QStringLiteral("FILE"), tr("配置文件（*.tcfg）或读头的配置文本。"),
                                 QStringLiteral("[FILE]"));
    choose(arguments);
}

void CommandLine::choose(const QStringList &arguments)
{
    chosen = UsageError;
    const bool parsed = parser.parse(arguments);
    for (const QString &name : {QStringLiteral("help"), QStringLiteral("help-all"), QStringLiteral("version")})
        windowlessNamed = windowlessNamed || parser.isSet(name);
    for (const QCommandLineOption *mode : {&kText, &kCode, &kSaveAs, &kWrite, &kDevice, &kHistory})
        windowlessNamed = windowlessNamed || parser.isSet(*mode);
    // The language is wanted for the refusal of the other arguments too.
    lang = parser.value(kLang);
    windowlessNamed = windowlessNamed || fleetAsked(parser) || parser.isSet(kSheet);
    if (!parsed) {
        problem = parser.errorText();
        return;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        chosen = Help;
        return;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        chosen = Version;
        return;
    }
    const QStringList files = parser.positionalArguments();
    input = inCallersFolder(files.value(0));
    verbose = parser.isSet(kVerbose);
    // The readers part reads the rest of their arguments.
    if (fleetAsked(parser)) {
        chosen = Fleet;
        return;
    }
    chooseFileMode(files);
}

// A mode that reads FILE (or the window), with the options it takes.
void CommandLine::chooseFileMode(const QStringList &files)
{
    const int modes = int(parser.isSet(kText)) + int(parser.isSet(kCode)) + int(parser.isSet(kSaveAs))
                      + int(parser.isSet(kWrite)) + int(parser.isSet(kHistory));
    if (modes > 1) {
        problem = tr("--text、--code、--save-as、--write 和 --history 不能同时使用");
        return;
    }
    if (parser.isSet(kHistory)) {
        chosen = History;
        return;
    }
    if (parser.isSet(kSince) || parser.isSet(kCsv)) {
        problem = tr("--since 和 --csv 只能与 --history 同用");
        return;
    }
    const Mode mode = parser.isSet(kText)     ? Text
                      : parser.isSet(kCode)   ? Code
                      : parser.isSet(kSaveAs) ? SaveAs
                      : parser.isSet(kWrite)  ? Write
                                              : Window;
    if (!writeOptionsFit(mode))
        return;
    output = inCallersFolder(mode == Code ? parser.value(kCode) : parser.value(kSaveAs));
    if (files.size() > 1 || (mode != Window && files.size() != 1)) {
        problem = mode == Window ? tr("最多只能给出一个 FILE") : tr("需要给出一个要读取的 FILE");
        return;
    }
    if (mode == Code && !kCodeSuffixes.contains(QFileInfo(output).suffix().toLower())) {
        problem = tr("--code 只写 .png、.svg 或 .pdf 文件");
        return;
    }
    chosen = mode;
}

// The options of --write given with --write alone, and sound there as far
// as the readers need not be known (the readers part tells the rest).
bool CommandLine::writeOptionsFit(Mode mode)
{
    const bool sheet = parser.isSet(kSheet);
    if ((mode == Write) != (parser.isSet(kDevice) || sheet)) {
        problem = mode == Write           ? tr("--write 需要至少一个 --device LINK 或 --sheet SITE.csv")
                  : parser.isSet(kDevice) ? tr("--device 只能与 --write 同用")
                                          : tr("--sheet 只能与 --write、--check 或 --read 同用");
        return false;
    }
    const std::optional<config::KeyValues> values = valuesGiven(parser.values(kSet));
    if (!values || (mode == Window && !values->empty())) {
        problem = tr("--set 需要 KEY=VALUE，并且只能与 --write、--text、--code 或 --save-as 同用");
        return false;
    }
    set = *values;
    if (hasBlankLink(parser.values(kDevice))) {
        problem = tr("--device 需要一个 LINK，例如 tcp:HOST:PORT 或 serial:PATH");
        return false;
    }
    if (mode != Write && (parser.isSet(kJobs) || parser.isSet(kJson) || parser.isSet(kPlace))) {
        problem = tr("--jobs、--json 和 --place 只能与 --write 同用");
        return false;
    }
    if (mode != Write && parser.isSet(kForce)) {
        problem = tr("--force 只能与 --write 同用");
        return false;
    }
    return true;
}

bool CommandLine::needsDisplay() const
{
    if (chosen == Window)
        return true;
    if (chosen != UsageError || windowlessNamed)
        return false;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

int CommandLine::runWithoutWindow(CodeFileWriter writeCode, const ReadersPart *readersPart)
{
    drawCode = std::move(writeCode);
    readers = readersPart;
    switch (chosen) {
    case Help:
        return printed(helpText(parser), 0);
    case Version:
        return printed(QCoreApplication::applicationName() + QLatin1Char(' ')
                           + QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                       0);
    case UsageError:
    case Window:
        return usageFailed(problem);
    case History:
    case Fleet:
        return runReaderMode();
    case Write:
        if (const std::optional<QString> wrong = readers->usageProblem(readerArguments()))
            return usageFailed(*wrong);
        break;
    case Text:
    case Code:
    case SaveAs:
        break;
    }
    if (!verbose)
        withoutDebugLog();
    const config::ImportResult opened = config::openConfigFile(config::startValue(), input);
    if (opened.refusal)
        return failed(*opened.refusal);
    config::FormValue form = opened.imported.value;
    if (const std::optional<QString> refusedSet = setGiven(&form, set))
        return refused(*refusedSet);
    if (chosen != SaveAs)
        return writeSigned(form);
    const config::FileContents contents = config::fileContents(form);
    if (contents.refusal)
        return refused(refusalText(*contents.refusal));
    if (const std::optional<QString> unwritten = config::writeConfigFile(output, contents.bytes))
        return failed(*unwritten);
    return 0;
}

// The form signed with the passwords given, printed, drawn as the code or
// saved to the readers.
int CommandLine::writeSigned(config::FormValue &form)
{
    int exitCode = 0;
    const std::optional<QString> text = signForm(form, &exitCode);
    if (!text)
        return exitCode;
    if (chosen == Text)
        return printed(*text + QLatin1Char('\n'), 0);
    if (chosen == Write)
        return readers->write(readerArguments(), form);
    const std::optional<CodeFileFailure> failure = drawCode(form, *text, output);
    if (!failure)
        return 0;
    return failure->refused ? refused(failure->reason)
                            : failed(tr("无法写入 %1：%2").arg(output, failure->reason));
}

// The form's configuration text signed as the window signs it; nothing,
// with the exit code in *exitCode, when a password or the form is refused.
std::optional<QString> CommandLine::signForm(config::FormValue &form, int *exitCode)
{
    QString failure;
    const std::optional<QString> signing = password(parser, kPasswordFile, "TARVO_CONFIG_PASSWORD", &failure);
    if (!signing) {
        *exitCode =
            failed(failure.isEmpty() ? tr("没有配置密码：请设置 TARVO_CONFIG_PASSWORD 或给出 --password-file")
                                     : failure);
        return std::nullopt;
    }
    const std::optional<QString> newPassword = password(parser, kNewPasswordFile, "TARVO_NEW_PASSWORD", &failure);
    if (!failure.isEmpty()) {
        *exitCode = failed(failure);
        return std::nullopt;
    }
    if (const char *problem = passwordProblem(*signing, newPassword)) {
        *exitCode = refused(translated("config", problem));
        return std::nullopt;
    }
    form.manpw = *signing;
    if (newPassword) {
        form.changepwcheck = true;
        form.newpw = *newPassword;
        form.confimpw = *newPassword;
    }
    const config::Assembly built = config::assemble(form);
    if (built.refusal) {
        *exitCode = refused(refusalText(*built.refusal));
        return std::nullopt;
    }
    return built.text;
}

bool CommandLine::needsReadersPart() const
{
    return chosen == Write || chosen == Fleet || chosen == History;
}

ReaderArguments CommandLine::readerArguments() const
{
    const ReaderMode mode = chosen == History ? ReaderMode::History
                            : chosen == Fleet ? ReaderMode::Fleet
                                              : ReaderMode::Write;
    return {mode, &parser, input, inCallersFolder(parser.value(kSaveAs)), inCallersFolder(parser.value(kSheet))};
}

// --check, --read, --find or --history, once the part has its arguments.
int CommandLine::runReaderMode() const
{
    const ReaderArguments arguments = readerArguments();
    if (const std::optional<QString> wrong = readers->usageProblem(arguments))
        return usageFailed(*wrong);
    if (chosen == Fleet && !verbose)
        withoutDebugLog();
    return readers->run(arguments);
}
