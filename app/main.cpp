#include <QApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QLocale>
#include <QTextCodec>

#include <memory>

#include "cli/command_line.h"
#include "core/language.h"
#include "core/library_log.h"
#include "widgets/screen_fit.h"
#include "window/config_file_controller.h"
#include "window/widget.h"

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The window's application, or for the modes without a window one that
// constructs no widget: a code drawn into a file needs painting and fonts,
// the others not even that.
std::unique_ptr<QCoreApplication> application(int &argc, char *argv[], const CommandLine &asked)
{
    if (asked.needsDisplay()) {
        // The window scales as a whole on a high-density desktop.
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
        QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
        return std::make_unique<QApplication>(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (asked.mode() == CommandLine::Code)
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine first(argumentsOf(argc, argv));
    const std::unique_ptr<QCoreApplication> app = application(argc, argv, first);
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    routeLibraryLogs();

    // The window and the command line speak the same language. A --lang that
    // names neither is refused in the desktop's.
    bool knownLanguage = true;
    const Language language = chooseLanguage(QLocale::system().uiLanguages(), first.language(), &knownLanguage);
    const bool languageInstalled = installLanguage(language);
    if (!knownLanguage) {
        qCritical("%s", qUtf8Printable(CommandLine::tr("--lang 需要 zh 或 en")));
        return 2;
    }
    // The arguments are read again, in the language chosen, once the
    // application has taken Qt's own.
    CommandLine command(QCoreApplication::arguments());
    if (command.mode() != CommandLine::Window)
        return command.runWithoutWindow();
    if (!languageInstalled)
        qWarning() << "a translation is missing: the window's or Qt's own texts are not all in"
                   << (language == Language::English ? "English" : "Chinese");

    Widget w;
    fitOnScreen(&w);
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    if (!command.file().isEmpty())
        w.configFiles().open(command.file());
    return app->exec();
}
