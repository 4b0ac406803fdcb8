#include <QCoreApplication>
#include <QDebug>
#include <QLocale>
#include <QTextCodec>

#include <memory>

#include "cli/command_line.h"
#include "cli/readers_part.h"
#include "program/language.h"
#include "program/painting_part.h"
#include "program/program_parts.h"
#include "program/script_log.h"

namespace {

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The part that paints lies beside the program (program/program_parts.h).
PaintingPart *loadPaintingPart(QString *error)
{
    return qobject_cast<PaintingPart *>(
        programPart(QStringLiteral("tarvo-config-gui"), TARVO_PAINTING_PART_IID, error));
}

// The part that talks to readers and reads the record of saves, likewise.
const ReadersPart *loadReadersPart(QString *error)
{
    return qobject_cast<ReadersPart *>(
        programPart(QStringLiteral("tarvo-config-readers"), TARVO_READERS_PART_IID, error));
}

// A mode without a window, with the readers part when it runs there.
int runWithoutWindow(CommandLine &command, PaintingPart *painting)
{
    QString unloaded;
    const ReadersPart *readers = command.needsReadersPart() ? loadReadersPart(&unloaded) : nullptr;
    if (command.needsReadersPart() && !readers) {
        qCritical("%s", qUtf8Printable(CommandLine::tr("无法载入程序的读头部分：%1").arg(unloaded)));
        return 2;
    }
    return command.runWithoutWindow(painting ? painting->codeFileWriter() : CodeFileWriter(), readers);
}

// The window's application, or for the modes without a window one that
// constructs no widget: a code drawn into a file needs painting and fonts,
// the others not even that, and do without the painting part altogether.
std::unique_ptr<QCoreApplication> application(int &argc, char *argv[], const CommandLine &asked,
                                              PaintingPart *painting)
{
    if (asked.needsDisplay() && painting)
        return painting->application(argc, argv, true);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (asked.mode() == CommandLine::Code && painting)
        return painting->application(argc, argv, false);
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine first(argumentsOf(argc, argv));
    // The window and the command line speak the same language. A --lang that
    // names neither is refused in the desktop's, with no window to start (nor
    // a display to start it on).
    bool knownLanguage = true;
    const Language language = chooseLanguage(QLocale::system().uiLanguages(), first.language(), &knownLanguage);
    const bool paints = knownLanguage && (first.needsDisplay() || first.mode() == CommandLine::Code);
    QString unloaded;
    PaintingPart *const painting = paints ? loadPaintingPart(&unloaded) : nullptr;
    const std::unique_ptr<QCoreApplication> app = application(argc, argv, first, painting);
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    routeScriptLog();

    const bool languageInstalled = installLanguage(language);
    if (!knownLanguage) {
        qCritical("%s", qUtf8Printable(CommandLine::tr("--lang 需要 zh 或 en")));
        return 2;
    }
    // The arguments are read again, in the language chosen, once the
    // application has taken Qt's own.
    CommandLine command(QCoreApplication::arguments());
    const bool needsPainting = command.mode() == CommandLine::Window || command.mode() == CommandLine::Code;
    if (needsPainting && !painting) {
        qCritical("%s", qUtf8Printable(CommandLine::tr("无法载入程序的绘图部分：%1").arg(unloaded)));
        return 2;
    }
    if (command.mode() != CommandLine::Window)
        return runWithoutWindow(command, painting);
    if (!languageInstalled)
        qWarning() << "a translation is missing: the window's or Qt's own texts are not all in"
                   << (language == Language::English ? "English" : "Chinese");
    return painting->showWindow(command.file());
}
