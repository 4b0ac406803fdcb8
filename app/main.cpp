#include <QApplication>
#include <QDebug>
#include <QTextCodec>

#include "app/widget.h"

int main(int argc, char *argv[])
{
    QApplication a(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));
    Widget w;
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    return a.exec();
}
