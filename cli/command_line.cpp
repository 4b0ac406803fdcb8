#include "cli/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include <unistd.h>

#include "cli/fleet_modes.h"
#include "cli/history_mode.h"
#include "cli/output.h"
#include "config/assembly.h"
#include "config/config_file.h"
#include "config/password_entry.h"
#include "core/library_log.h"
#include "core/reader_batch.h"
#include "core/save_records.h"
#include "core/verified_save.h"
#include "core/wording.h"
#include "device/device_link.h"
#include "device/reader_links.h"
#include "files/safe_file.h"
#include "records/record_store.h"

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

QCommandLineOption described(QCommandLineOption option, const QString &description)
{
    option.setDescription(description);
    return option;
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
    routeLibraryLogs();
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
    parser.addOptions(fleet::options());
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
    windowlessNamed = windowlessNamed || fleet::asked(parser) || parser.isSet(QStringLiteral("sheet"));
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
    if (fleet::asked(parser)) {
        const std::optional<QString> wrong =
            fleetRun.choose(parser, files.isEmpty() ? QString() : input, inCallersFolder(parser.value(kSaveAs)),
                            inCallersFolder(parser.value(QStringLiteral("sheet"))));
        problem = wrong.value_or(QString());
        chosen = wrong ? UsageError : Fleet;
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
        chooseHistory(files);
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

// The options of --write given with --write alone, and sound there.
bool CommandLine::writeOptionsFit(Mode mode)
{
    const bool sheet = parser.isSet(QStringLiteral("sheet"));
    if ((mode == Write) != (parser.isSet(kDevice) || sheet)) {
        problem = mode == Write           ? tr("--write 需要至少一个 --device LINK 或 --sheet SITE.csv")
                  : parser.isSet(kDevice) ? tr("--device 只能与 --write 同用")
                                          : tr("--sheet 只能与 --write、--check 或 --read 同用");
        return false;
    }
    const std::optional<config::KeyValues> values = fleet::valuesGiven(parser.values(QStringLiteral("set")));
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
    if (mode != Write && parser.isSet(QStringLiteral("force"))) {
        problem = tr("--force 只能与 --write 同用");
        return false;
    }
    return mode != Write || readersAreSound();
}

// Every link a reader of its own, and a number of jobs the run can hold.
bool CommandLine::readersAreSound()
{
    bool number = false;
    jobs = parser.value(kJobs).toInt(&number);
    if (!number || jobs < 1 || jobs > ReaderBatch::kMostJobs) {
        problem = tr("--jobs 需要 1 到 %1 之间的数").arg(ReaderBatch::kMostJobs);
        return false;
    }
    if (const std::optional<QString> twice = device::sharedLink(parser.values(kDevice))) {
        problem = tr("%1 所指的读头已由前面的 --device 给出").arg(*twice);
        return false;
    }
    return true;
}

// --history takes no FILE; --since a date (from its local midnight) or an ISO time.
void CommandLine::chooseHistory(const QStringList &files)
{
    if (!files.isEmpty()) {
        problem = tr("--history 不读取 FILE");
        return;
    }
    if (parser.isSet(kSince)) {
        const std::optional<QDateTime> from = historySince(parser.value(kSince));
        if (!from) {
            problem = tr("--since 需要 YYYY-MM-DD 格式的日期，或 YYYY-MM-DDTHH:MM[:SS][Z|+HH:MM] 格式的时间");
            return;
        }
        since = *from;
    }
    chosen = History;
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

int CommandLine::refused(const QString &reason) const
{
    print(stderr, reason + QLatin1Char('\n'));
    return 1;
}

int CommandLine::failed(const QString &reason) const
{
    print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + reason + QLatin1Char('\n'));
    return 2;
}

// The exit code, or 2 with the system's reason when standard output did not
// take the text (or an earlier one).
int CommandLine::printed(const QString &text, int exitCode) const
{
    errno = 0;
    if (!std::ferror(stdout) && print(stdout, text))
        return exitCode;
    const int error = errno ? errno : EIO;
    return failed(tr("无法写入标准输出：%1").arg(QString::fromLocal8Bit(std::strerror(error))));
}

int CommandLine::runWithoutWindow(CodeFileWriter writeCode)
{
    drawCode = std::move(writeCode);
    switch (chosen) {
    case Help:
        return printed(helpText(parser), 0);
    case Version:
        return printed(QCoreApplication::applicationName() + QLatin1Char(' ')
                           + QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                       0);
    case UsageError:
    case Window:
        return failed(problem + QLatin1Char('\n') + tr("用 --help 查看用法。"));
    case History:
        return printHistory();
    case Fleet:
        if (!verbose)
            withoutDebugLog();
        return fleetRun.run();
    case Text:
    case Code:
    case SaveAs:
    case Write:
        break;
    }
    if (!verbose)
        withoutDebugLog();
    const config::ImportResult opened = config::openConfigFile(config::startValue(), input);
    if (opened.refusal)
        return failed(*opened.refusal);
    config::FormValue form = opened.imported.value;
    if (const std::optional<QString> refusedSet = fleet::setGiven(&form, set))
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
        return writeToReaders(form);
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

namespace {

// A reason on one line: the detail's lines joined, and no control
// character from a reader's reply left to steer the terminal.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text.simplified();
}

const char *const kOutcomeWords[] = {"ok", "failed", "unknown"}; // by SaveReport::Outcome

// The reader's line: its link and outcome, and the reason unless it is saved.
QString resultLine(const ReaderResult &result)
{
    const QString outcome =
        result.unchanged ? QStringLiteral("unchanged") : QLatin1String(kOutcomeWords[result.report.outcome]);
    QString line = result.link + QLatin1Char(' ') + outcome;
    if (result.report.outcome != SaveReport::Saved)
        line += QStringLiteral(": ") + oneLine(result.report.detail);
    return line;
}

QString resultJson(const ReaderResult &result)
{
    const QString cause = oneLine(result.report.detail);
    QJsonObject object{
        {QStringLiteral("link"), result.link},
        {QStringLiteral("result"), QLatin1String(kOutcomeWords[result.report.outcome])},
        {QStringLiteral("cause"), cause.isEmpty() ? QJsonValue() : QJsonValue(cause)},
        {QStringLiteral("firmware"), result.firmware ? QJsonValue(oneLine(*result.firmware)) : QJsonValue()},
        {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0},
    };
    fleet::addWriteFields(&object, result);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A run ended by a signal exits as the shell expects of one killed by it.
constexpr int kSignalExitBase = 128;

// SIGINT and SIGTERM, while a batch runs, start no further reader: the
// handler only writes the signal's number into a pipe, and a thread of ours
// reads it there and stops the batch. A closed standard output is an error
// the prints report, not a signal that ends the run with readers half done.
class StopOnSignal
{
public:
    explicit StopOnSignal(ReaderBatch &batch)
    {
        if (::pipe(wake) != 0)
            return;
        writeEnd.store(wake[1]);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInterrupt);
        ::sigaction(SIGTERM, &action, &oldTerminate);
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &oldPipe);
        watcher = std::thread([this, &batch] {
            char number = 0;
            while (::read(wake[0], &number, 1) < 0 && errno == EINTR) {
            }
            if (number != 0) {
                caught = number;
                batch.stop();
            }
        });
    }
    ~StopOnSignal()
    {
        if (!watcher.joinable())
            return;
        ::sigaction(SIGINT, &oldInterrupt, nullptr);
        ::sigaction(SIGTERM, &oldTerminate, nullptr);
        ::sigaction(SIGPIPE, &oldPipe, nullptr);
        writeEnd.store(-1);
        const char done = 0;
        (void)!::write(wake[1], &done, 1);
        watcher.join();
        ::close(wake[0]);
        ::close(wake[1]);
    }
    StopOnSignal(const StopOnSignal &) = delete;
    StopOnSignal &operator=(const StopOnSignal &) = delete;

    // The signal that stopped the batch; 0 when none did.
    int signal() const { return caught; }

private:
    static void onSignal(int number)
    {
        const int saved = errno;
        const char byte = char(number);
        const int end = writeEnd.load();
        if (end >= 0)
            (void)!::write(end, &byte, 1);
        errno = saved;
    }

    static std::atomic<int> writeEnd;
    int wake[2] = {-1, -1};
    std::thread watcher;
    std::atomic<int> caught{0};
    struct sigaction oldInterrupt = {};
    struct sigaction oldTerminate = {};
    struct sigaction oldPipe = {};
};

std::atomic<int> StopOnSignal::writeEnd{-1};

} // namespace

// Each target's signed text, by its link; the exit code when the targets
// could not be made or one's configuration is refused.
std::optional<int> CommandLine::signTargets(const fleet::Targets &targets, QHash<QString, QString> *texts) const
{
    if (targets.problem)
        return targets.exitCode == 2 ? failed(*targets.problem) : refused(*targets.problem);
    for (const fleet::Target &target : targets.list) {
        const config::Assembly built = config::assemble(target.form);
        if (built.refusal)
            return refused(fleet::targetRefusal(target, refusalText(*built.refusal)));
        texts->insert(target.link, built.text);
    }
    return std::nullopt;
}

// Saves to the readers side by side, a line (or a JSON object) for each on
// standard output as it finishes, and the count of each outcome on standard
// error. Each reader's record goes in as it ends, so that a run cut short
// by a closed output or a signal keeps the record of every reader it
// configured. Done only when every reader confirmed the configuration.
// Every reader's configuration (its row of the sheet on top of the form)
// is built before the first is written.
int CommandLine::writeToReaders(const config::FormValue &form) const
{
    int counts[3] = {0, 0, 0}; // by SaveReport::Outcome
    bool allPrinted = true;
    const bool json = parser.isSet(kJson);
    const fleet::Targets targets = fleet::targetsOf(form, parser.values(kDevice), oneLine(parser.value(kPlace)),
                                                    inCallersFolder(parser.value(QStringLiteral("sheet"))));
    QHash<QString, QString> texts;
    if (const std::optional<int> stopped = signTargets(targets, &texts))
        return *stopped;
    QStringList links;
    QHash<QString, const fleet::Target *> byLink;
    for (const fleet::Target &target : targets.list) {
        links << target.link;
        byLink.insert(target.link, &target);
    }
    ReaderBatch batch(links, texts, jobs,
                      parser.isSet(QStringLiteral("force")) ? BeforeSave::Compare : BeforeSave::SkipUnchanged);
    const StopOnSignal interruption(batch);
    batch.run([&](const ReaderResult &result) {
        ++counts[result.report.outcome];
        const fleet::Target &target = *byLink.value(result.link);
        // A record that cannot be kept is no part of a save's line or the
        // exit code; a reader left as it was had no save to record.
        if (const std::optional<QString> unrecorded =
                result.unchanged ? std::nullopt
                                 : recordSave(result.link, result.firmware.value_or(QString()), result.report,
                                              recordedChanges(result.changes), target.form, target.place)
                                       .note)
            print(stderr, oneLine(*unrecorded) + QLatin1Char('\n'));
        if (!print(stdout, (json ? resultJson(result) : resultLine(result)) + QLatin1Char('\n')) && allPrinted) {
            allPrinted = false;
            batch.stop();
        }
    });
    print(stderr, tr("%1 个成功，%2 个失败，%3 个未确认")
                          .arg(counts[SaveReport::Saved])
                          .arg(counts[SaveReport::Failed])
                          .arg(counts[SaveReport::Unknown])
                      + QLatin1Char('\n'));
    if (!allPrinted)
        return printed(QString(), 0);
    if (interruption.signal() != 0)
        return kSignalExitBase + interruption.signal();
    return counts[SaveReport::Saved] == links.size() ? 0 : 1;
}

// The record of saves, each line checked as it goes out.
int CommandLine::printHistory() const
{
    bool allPrinted = true;
    const std::optional<QString> unread = ::printHistory(
        since, parser.isSet(kCsv), [](const QString &text) { return print(stdout, text); }, &allPrinted);
    if (!allPrinted)
        return printed(QString(), 0);
    return unread ? failed(*unread) : 0;
}
