#include <QApplication>
#include <QGuiApplication>
#include <QDebug>
#include <QLocale>
#include <QTextCodec>

#include <memory>

#include "app/command_line.h"
#include "app/config_file_controller.h"
#include "app/language.h"
#include "app/widget.h"

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The modes without a window construct no widget: a code drawn into a file
// needs painting and fonts, the others not even that.
int runWithoutWindow(int argc, char *argv[], CommandLine::Mode mode)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application(
        mode == CommandLine::Code ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    return CommandLine(QCoreApplication::arguments()).runWithoutWindow();
}

} // namespace

int main(int argc, char *argv[])
{
    // The arguments are read again once the application has taken Qt's own.
    const CommandLine asked(argumentsOf(argc, argv));
    if (!asked.needsDisplay())
        return runWithoutWindow(argc, argv, asked.mode());
    // The window scales as a whole on a high-density desktop.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication a(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    CommandLine command(QCoreApplication::arguments());
    if (command.mode() != CommandLine::Window)
        return command.runWithoutWindow();
    bool knownLanguage = true;
    const Language language = chooseLanguage(QLocale::system().uiLanguages(), command.language(),
                                             &knownLanguage);
    if (!knownLanguage) {
        qCritical("--lang takes zh or en");
        return 2;
    }
    if (!installLanguage(language))
        qWarning() << "the English translation is missing; the window stays Chinese";

    Widget w;
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    if (!command.file().isEmpty())
        w.configFiles().open(command.file());
    return a.exec();
}
