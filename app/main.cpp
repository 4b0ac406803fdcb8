#include <QApplication>
#include <QDebug>
#include <QLocale>
#include <QTextCodec>

#include "app/command_line.h"
#include "app/config_file_controller.h"
#include "app/language.h"
#include "app/library_log.h"
#include "app/widget.h"

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // The modes without a window need no display: the platform is chosen
    // before the application starts (the arguments are read again below,
    // once Qt has taken its own).
    if (!CommandLine(argumentsOf(argc, argv)).needsDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window scales as a whole on a high-density desktop.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication a(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    routeLibraryLogs();

    // The window and the command line speak the same language.
    CommandLine command(QCoreApplication::arguments());
    bool knownLanguage = true;
    const Language language = chooseLanguage(QLocale::system().uiLanguages(), command.language(),
                                             &knownLanguage);
    if (!knownLanguage) {
        qCritical("--lang takes zh or en");
        return 2;
    }
    const bool languageInstalled = installLanguage(language);
    if (command.mode() != CommandLine::Window)
        return command.runWithoutWindow();
    if (!languageInstalled)
        qWarning() << "the English translation is missing; the window stays Chinese";

    Widget w;
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    if (!command.file().isEmpty())
        w.configFiles().open(command.file());
    return a.exec();
}
