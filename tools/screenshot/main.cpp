// Renders the tool's window in its start state to a PNG file, in Chinese or
// English, so that the README's pictures are always the program's own.
#include <QApplication>
#include <QPixmap>
#include <QTextCodec>
#include <cstdio>

#include "program/language.h"
#include "window/widget.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    bool knownLanguage = argc == 2 || argc == 3;
    const Language language =
        chooseLanguage({}, QString::fromLocal8Bit(argc == 3 ? argv[2] : "zh"), &knownLanguage);
    if (!knownLanguage) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [zh|en]\n", argv[0]);
        return 2;
    }
    if (!installLanguage(language)) {
        std::fprintf(stderr, "cannot load the translation\n");
        return 1;
    }
    Widget window;
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
