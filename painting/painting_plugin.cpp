#include "painting/painting_plugin.h"

#include <QApplication>
#include <QDebug>
#include <QGuiApplication>

#include "core/device_log.h"
#include "documents/code_file.h"
#include "widgets/screen_fit.h"
#include "window/config_file_controller.h"
#include "window/widget.h"

std::unique_ptr<QCoreApplication> PaintingPlugin::application(int &argc, char **argv, bool forWindow)
{
    if (!forWindow)
        return std::make_unique<QGuiApplication>(argc, argv);
    // The window scales as a whole on a high-density desktop.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    return std::make_unique<QApplication>(argc, argv);
}

int PaintingPlugin::showWindow(const QString &file)
{
    // The window talks to readers through the device library, whose lines
    // the program, which does not link it, cannot route.
    routeDeviceLog();
    Widget w;
    fitOnScreen(&w);
    w.show();
    qDebug() << QCoreApplication::applicationDirPath();
    if (!file.isEmpty())
        w.configFiles().open(file);
    return QCoreApplication::exec();
}

CodeFileWriter PaintingPlugin::codeFileWriter() const
{
    return writeCodeFile;
}
