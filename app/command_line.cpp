#include "app/command_line.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>

#include "app/config_file_controller.h"
#include "app/widget.h"
#include "config/assembly.h"
#include "config/code_summary.h"
#include "config/config_file.h"
#include "qr/code_renderer.h"
#include "qr/config_code.h"
#include "ui_widget.h"

namespace {

const QCommandLineOption kText(QStringLiteral("text"),
                               QStringLiteral("Print FILE's signed configuration text."));
const QCommandLineOption kCode(QStringLiteral("code"),
                               QStringLiteral("Write FILE's config code to OUT (.png, .svg or .pdf)."),
                               QStringLiteral("OUT"));
const QCommandLineOption kSaveAs(QStringLiteral("save-as"),
                                 QStringLiteral("Write FILE's configuration to OUT as a configuration file."),
                                 QStringLiteral("OUT"));
const QCommandLineOption kPasswordFile(
    QStringLiteral("password-file"),
    QStringLiteral("Read the configuration password from PATH (else from TARVO_CONFIG_PASSWORD)."),
    QStringLiteral("PATH"));
const QCommandLineOption kNewPasswordFile(
    QStringLiteral("new-password-file"),
    QStringLiteral("Change the reader's password to the one in PATH (else TARVO_NEW_PASSWORD, if set)."),
    QStringLiteral("PATH"));
const QCommandLineOption kLang(QStringLiteral("lang"),
                               QStringLiteral("Language of the window: zh or en."),
                               QStringLiteral("zh|en"));

const QStringList kCodeSuffixes = {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")};
// A password is one short line; a larger file is no password file.
constexpr qint64 kPasswordFileBytes = 4096;

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
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
    QFile file(parser.value(option));
    if (!file.open(QIODevice::ReadOnly)) {
        *failure = QStringLiteral("cannot read %1: %2").arg(file.fileName(), file.errorString());
        return std::nullopt;
    }
    const QByteArray line = file.read(kPasswordFileBytes).split('\n').constFirst();
    return QString::fromUtf8(line.endsWith('\r') ? line.chopped(1) : line);
}

} // namespace

CommandLine::CommandLine(const QStringList &arguments)
{
    parser.setApplicationDescription(
        QStringLiteral("Configures Tarvo readers. Without a mode, shows the window with FILE loaded."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({kText, kCode, kSaveAs, kPasswordFile, kNewPasswordFile, kLang});
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
    for (const QCommandLineOption *mode : {&kText, &kCode, &kSaveAs})
        windowlessNamed = windowlessNamed || parser.isSet(*mode);
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
    input = files.value(0);
    const int modes = int(parser.isSet(kText)) + int(parser.isSet(kCode)) + int(parser.isSet(kSaveAs));
    if (modes > 1) {
        problem = QStringLiteral("--text, --code and --save-as exclude each other");
        return;
    }
    const Mode mode = parser.isSet(kText)     ? Text
                      : parser.isSet(kCode)   ? Code
                      : parser.isSet(kSaveAs) ? SaveAs
                                              : Window;
    output = mode == Code ? parser.value(kCode) : parser.value(kSaveAs);
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

int CommandLine::runWithoutWindow()
{
    switch (chosen) {
    case Help:
        print(stdout, parser.helpText());
        return 0;
    case Version:
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ')
                          + QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    case UsageError:
    case Window:
        return failed(problem + QStringLiteral("\nTry --help."));
    case Text:
    case Code:
    case SaveAs:
        break;
    }
    // The form starts as the window's does; the debug log would bury the
    // reason on standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (type != QtDebugMsg)
            qt_message_output(type, context, text);
    });
    Widget hidden;
    Ui_Widget &form = hidden.configFiles().form();
    if (const std::optional<QString> unreadable = config::openConfigFile(form, input))
        return failed(*unreadable);
    if (chosen != SaveAs)
        return writeSigned(form);
    const config::FileContents contents = config::fileContents(form);
    if (contents.refusal)
        return refused(contents.refusal->text);
    if (const std::optional<QString> unwritten = config::writeConfigFile(output, contents.bytes))
        return failed(*unwritten);
    return 0;
}

// The form signed with the passwords given, printed or drawn as the code.
int CommandLine::writeSigned(Ui_Widget &form)
{
    QString failure;
    const std::optional<QString> signing =
        password(parser, kPasswordFile, "TARVO_CONFIG_PASSWORD", &failure);
    if (!signing)
        return failed(failure.isEmpty() ? QStringLiteral("no configuration password: set TARVO_CONFIG_PASSWORD "
                                                         "or give --password-file")
                                        : failure);
    const std::optional<QString> newPassword =
        password(parser, kNewPasswordFile, "TARVO_NEW_PASSWORD", &failure);
    if (!failure.isEmpty())
        return failed(failure);
    form.manpw->setText(*signing);
    if (newPassword) {
        form.changepwcheck->setChecked(true);
        form.newpw->setText(*newPassword);
        form.confimpw->setText(*newPassword);
    }
    const config::Assembly built = config::assemble(form);
    if (built.refusal)
        return refused(built.refusal->text);
    if (chosen == Text) {
        print(stdout, built.text + QLatin1Char('\n'));
        return 0;
    }
    const CodeSymbol symbol(built.text);
    if (symbol.isNull())
        return refused(qr::symbolFailure(symbol));
    QString error;
    if (!writeSheet(symbol, CodeSheet{codeSummary(form, built.text), QDate::currentDate()}, output, &error))
        return failed(error);
    return 0;
}
