#include "cli/command_line.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "cli/fleet_modes.h"
#include "cli/output.h"
#include "core/wording.h"
#include "documents/code_sheet.h"
#include "core/reader_batch.h"
#include "device/reader_links.h"
#include "core/save_records.h"
#include "core/verified_save.h"
#include "config/assembly.h"
#include "config/config_file.h"
#include "config/password_entry.h"
#include "device/device_link.h"
#include "files/safe_file.h"
#include "qr/code_renderer.h"
#include "qr/config_code.h"
#include "records/record_store.h"

namespace {

const QCommandLineOption kText(QStringLiteral("text"),
                               QStringLiteral("Print FILE's signed configuration text."));
const QCommandLineOption kCode(QStringLiteral("code"),
                               QStringLiteral("Write FILE's config code to OUT (.png, .svg or .pdf)."),
                               QStringLiteral("OUT"));
const QCommandLineOption kSaveAs(QStringLiteral("save-as"),
                                 QStringLiteral("Write FILE's configuration to OUT as a configuration file."),
                                 QStringLiteral("OUT"));
const QCommandLineOption kWrite(QStringLiteral("write"),
                                QStringLiteral("Save FILE's configuration to each reader given by --device."));
const QCommandLineOption kDevice(QStringLiteral("device"),
                                 QStringLiteral("A reader to write to, as tcp:HOST:PORT or serial:PATH[:BAUD[:FORMAT]]; "
                                                "repeat for more readers."),
                                 QStringLiteral("LINK"));
const QCommandLineOption kJobs(QStringLiteral("jobs"),
                               QStringLiteral("With --write, save to at most N readers at once (default 16)."),
                               QStringLiteral("N"), QStringLiteral("16"));
const QCommandLineOption kJson(QStringLiteral("json"),
                               QStringLiteral("With --write, print one JSON object a reader instead of a line."));
const QCommandLineOption kPasswordFile(
    QStringLiteral("password-file"),
    QStringLiteral("Read the configuration password from PATH (else from TARVO_CONFIG_PASSWORD)."),
    QStringLiteral("PATH"));
const QCommandLineOption kNewPasswordFile(
    QStringLiteral("new-password-file"),
    QStringLiteral("Change the reader's password to the one in PATH (else TARVO_NEW_PASSWORD, if set)."),
    QStringLiteral("PATH"));
const QCommandLineOption kHistory(QStringLiteral("history"),
                                  QStringLiteral("Print the record of saves to readers, one line a save."));
const QCommandLineOption kSince(QStringLiteral("since"),
                                QStringLiteral("With --history: only the saves from DATE (YYYY-MM-DD or an ISO time) on."),
                                QStringLiteral("DATE"));
const QCommandLineOption kCsv(QStringLiteral("csv"), QStringLiteral("With --history: print CSV."));
const QCommandLineOption kLang(QStringLiteral("lang"),
                               QStringLiteral("Language of the window and of the messages: zh or en."),
                               QStringLiteral("zh|en"));
const QCommandLineOption kVerbose(QStringLiteral("verbose"),
                                  QStringLiteral("Write the debug log to standard error."));

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
    const QString usage = QStringLiteral("Usage: ");
    if (text.startsWith(usage + started))
        text.replace(usage.size(), started.size(), QFileInfo(started).fileName());
    return text;
}

// Standard error holds the reason alone unless the debug log is asked for.
void withoutDebugLog(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtDebugMsg)
        qt_message_output(type, context, text);
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
        *failure = QStringLiteral("cannot read %1: %2").arg(path, *unread);
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
    parser.setApplicationDescription(
        QStringLiteral("Configures Tarvo readers. Without a mode, shows the window with FILE loaded."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({kText, kCode, kSaveAs, kWrite, kDevice, kJobs, kJson, kPasswordFile, kNewPasswordFile,
                       kHistory, kSince, kCsv, kLang, kVerbose});
    parser.addOptions(fleet::options());
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A configuration file (*.tcfg) or a reader's text."),
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
    windowlessNamed = windowlessNamed || fleet::asked(parser);
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
    lang = parser.value(kLang);
    const QStringList files = parser.positionalArguments();
    input = inCallersFolder(files.value(0));
    verbose = parser.isSet(kVerbose);
    if (fleet::asked(parser)) {
        const std::optional<QString> wrong =
            fleetRun.choose(parser, files.isEmpty() ? QString() : input, inCallersFolder(parser.value(kSaveAs)));
        problem = wrong.value_or(QString());
        chosen = wrong ? UsageError : Fleet;
        return;
    }
    const int modes = int(parser.isSet(kText)) + int(parser.isSet(kCode)) + int(parser.isSet(kSaveAs))
                      + int(parser.isSet(kWrite)) + int(parser.isSet(kHistory));
    if (modes > 1) {
        problem = QStringLiteral("--text, --code, --save-as, --write and --history exclude each other");
        return;
    }
    if (parser.isSet(kHistory)) {
        chooseHistory(files);
        return;
    }
    if (parser.isSet(kSince) || parser.isSet(kCsv)) {
        problem = QStringLiteral("--since and --csv go with --history");
        return;
    }
    const Mode mode = parser.isSet(kText)     ? Text
                      : parser.isSet(kCode)   ? Code
                      : parser.isSet(kSaveAs) ? SaveAs
                      : parser.isSet(kWrite)  ? Write
                                              : Window;
    if ((mode == Write) != parser.isSet(kDevice)) {
        problem = mode == Write ? QStringLiteral("--write needs at least one --device LINK")
                                : QStringLiteral("--device goes with --write");
        return;
    }
    if (hasBlankLink(parser.values(kDevice))) {
        problem = QStringLiteral("--device needs a LINK such as tcp:HOST:PORT or serial:PATH");
        return;
    }
    if (mode != Write && (parser.isSet(kJobs) || parser.isSet(kJson))) {
        problem = QStringLiteral("--jobs and --json go with --write");
        return;
    }
    if (mode != Write && (parser.isSet(QStringLiteral("force")) || parser.isSet(QStringLiteral("place")))) {
        problem = QStringLiteral("--force and --place go with --write, --place with --check and --read too");
        return;
    }
    if (mode == Write && !readersAreSound())
        return;
    output = inCallersFolder(mode == Code ? parser.value(kCode) : parser.value(kSaveAs));
    if (files.size() > 1 || (mode != Window && files.size() != 1)) {
        problem = mode == Window ? QStringLiteral("name one FILE at most")
                                 : QStringLiteral("name exactly one FILE to read");
        return;
    }
    if (mode == Code && !kCodeSuffixes.contains(QFileInfo(output).suffix().toLower())) {
        problem = QStringLiteral("--code writes .png, .svg or .pdf files");
        return;
    }
    chosen = mode;
}

// Every link a reader of its own, and a number of jobs the run can hold.
bool CommandLine::readersAreSound()
{
    bool number = false;
    jobs = parser.value(kJobs).toInt(&number);
    if (!number || jobs < 1 || jobs > ReaderBatch::kMostJobs) {
        problem = QStringLiteral("--jobs takes a number from 1 to %1").arg(ReaderBatch::kMostJobs);
        return false;
    }
    if (const std::optional<QString> twice = device::sharedLink(parser.values(kDevice))) {
        problem = QStringLiteral("%1 reaches a reader that an earlier --device already names").arg(*twice);
        return false;
    }
    return true;
}

// --history takes no FILE; --since a date (from its local midnight) or an ISO time.
void CommandLine::chooseHistory(const QStringList &files)
{
    if (!files.isEmpty()) {
        problem = QStringLiteral("--history reads no FILE");
        return;
    }
    if (parser.isSet(kSince)) {
        const QString value = parser.value(kSince);
        const QDate day = QDate::fromString(value, Qt::ISODate);
        since = day.isValid() ? day.startOfDay() : QDateTime::fromString(value, Qt::ISODate);
        if (!since.isValid()) {
            problem = QStringLiteral("--since takes a date as YYYY-MM-DD or an ISO time");
            return;
        }
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
    return failed(QStringLiteral("cannot write to standard output: %1")
                      .arg(QString::fromLocal8Bit(std::strerror(error))));
}

int CommandLine::runWithoutWindow()
{
    switch (chosen) {
    case Help:
        return printed(helpText(parser), 0);
    case Version:
        return printed(QCoreApplication::applicationName() + QLatin1Char(' ')
                           + QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                       0);
    case UsageError:
    case Window:
        return failed(problem + QStringLiteral("\nTry --help."));
    case History:
        return printHistory();
    case Fleet:
        if (!verbose)
            qInstallMessageHandler(withoutDebugLog);
        return fleetRun.run();
    case Text:
    case Code:
    case SaveAs:
    case Write:
        break;
    }
    if (!verbose)
        qInstallMessageHandler(withoutDebugLog);
    const config::ImportResult opened = config::openConfigFile(config::startValue(), input);
    if (opened.refusal)
        return failed(*opened.refusal);
    config::FormValue form = opened.imported.value;
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
        return writeToReaders(*text, form);
    const CodeSymbol symbol(*text);
    if (symbol.isNull())
        return refused(translated("qr", qr::symbolFailure(symbol)));
    QString error;
    if (!writeSheet(symbol, codeSheetFor(form, *text), output, &error))
        return failed(QStringLiteral("cannot write %1: %2").arg(output, translated("qr", error)));
    return 0;
}

// The form's configuration text signed as the window signs it; nothing,
// with the exit code in *exitCode, when a password or the form is refused.
std::optional<QString> CommandLine::signForm(config::FormValue &form, int *exitCode)
{
    QString failure;
    const std::optional<QString> signing =
        password(parser, kPasswordFile, "TARVO_CONFIG_PASSWORD", &failure);
    if (!signing) {
        *exitCode = failed(failure.isEmpty() ? QStringLiteral("no configuration password: set "
                                                              "TARVO_CONFIG_PASSWORD or give --password-file")
                                             : failure);
        return std::nullopt;
    }
    const std::optional<QString> newPassword =
        password(parser, kNewPasswordFile, "TARVO_NEW_PASSWORD", &failure);
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

} // namespace

// Saves to the readers side by side, a line (or a JSON object) for each on
// standard output as it finishes, and the count of each outcome on standard
// error. Done only when every reader confirmed the configuration.
int CommandLine::writeToReaders(const QString &signedText, const config::FormValue &form) const
{
    int counts[3] = {0, 0, 0}; // by SaveReport::Outcome
    bool allPrinted = true;
    const bool json = parser.isSet(kJson);
    std::vector<ReaderResult> finished;
    const fleet::Readers readers = fleet::readersGiven(parser.values(kDevice));
    if (readers.problem)
        return failed(*readers.problem);
    ReaderBatch batch(readers.links, signedText, jobs,
                      parser.isSet(QStringLiteral("force")) ? BeforeSave::Compare : BeforeSave::SkipUnchanged);
    batch.run([&](const ReaderResult &result) {
        ++counts[result.report.outcome];
        allPrinted = print(stdout, (json ? resultJson(result) : resultLine(result)) + QLatin1Char('\n')) && allPrinted;
        finished.push_back(result);
    });
    // The records go in on this thread, which holds the database's connection;
    // their fate is no part of a save's line or the exit code.
    // A reader left as it was had no save to record.
    for (const ReaderResult &result : finished)
        if (const std::optional<QString> unrecorded =
                result.unchanged ? std::nullopt
                                 : recordSave(result.link, result.firmware.value_or(QString()), result.report,
                                              QString(), form, parser.value(QStringLiteral("place"))).note)
            print(stderr, oneLine(*unrecorded) + QLatin1Char('\n'));
    print(stderr, QStringLiteral("%1 ok, %2 failed, %3 unknown\n")
                      .arg(counts[SaveReport::Saved])
                      .arg(counts[SaveReport::Failed])
                      .arg(counts[SaveReport::Unknown]));
    if (!allPrinted)
        return printed(QString(), 0);
    return counts[SaveReport::Saved] == readers.links.size() ? 0 : 1;
}

// One line a record, oldest first: tab-separated fields on one line each,
// or CSV with a header.
int CommandLine::printHistory() const
{
    records::Store store(records::defaultPath());
    std::vector<records::Record> all;
    if (const std::optional<QString> failure = store.read(since, &all))
        return failed(*failure);
    const bool csv = parser.isSet(kCsv);
    if (csv)
        print(stdout, QStringLiteral("time,link,firmware,result,place,sha256,changes\r\n"));
    for (const records::Record &record : all) {
        const QStringList fields = {record.time.toString(Qt::ISODate), record.link, record.firmware,
                                    records::resultWords(record), record.place, record.sha256, record.changes};
        if (csv) {
            print(stdout, records::csvLine(fields));
            continue;
        }
        QStringList shown;
        for (const QString &field : fields)
            shown << oneLine(field);
        print(stdout, shown.join(QLatin1Char('\t')) + QLatin1Char('\n'));
    }
    return 0;
}
