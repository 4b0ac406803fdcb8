// The smallest Qt Widgets program with a window, the yardstick of the
// start-up benchmark: one label, showing the tool's title so that the same
// CJK font is looked up and drawn as in the tool.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    QLabel label(QStringLiteral("Tarvo配置工具V2.1.20"), &window);
    window.show();
    return app.exec();
}
