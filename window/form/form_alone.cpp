// The window's Designer form alone, set up and shown, without anything the
// tool does around it: the yardstick of how close the tool's start comes to
// the form it shows.
#include <QApplication>
#include <QWidget>

#include "ui_widget.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    Ui_Widget form;
    form.setupUi(&window);
    window.show();
    return app.exec();
}
