#include <QApplication>
#include <QCommandLineParser>
#include <QDebug>
#include <QLocale>
#include <QTextCodec>

#include "app/language.h"
#include "app/widget.h"

int main(int argc, char *argv[])
{
    // The window scales as a whole on a high-density desktop.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication a(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption langOption(QStringLiteral("lang"),
                                        QStringLiteral("Language of the window: zh or en."),
                                        QStringLiteral("zh|en"));
    parser.addOption(langOption);
    parser.process(a);
    bool knownLanguage = true;
    const Language language = chooseLanguage(QLocale::system().uiLanguages(),
                                             parser.value(langOption), &knownLanguage);
    if (!knownLanguage) {
        qCritical("--lang takes zh or en");
        return 2;
    }
    if (!installLanguage(language))
        qWarning() << "the English translation is missing; the window stays Chinese";

    Widget w;
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    return a.exec();
}
