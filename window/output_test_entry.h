#ifndef TARVO_WINDOW_OUTPUT_TEST_ENTRY_H
#define TARVO_WINDOW_OUTPUT_TEST_ENTRY_H

#include <QObject>
#include <QPointer>

class FormSource;
class OutputTestPart;
class QMenu;
class QWidget;

// The entry to the output test: 输出测试… in the configuration file menu
// and Ctrl+T, opening the test on the form. The test is a part loaded on
// its first opening; one that cannot be loaded is said, with why.
class OutputTestEntry : public QObject
{
    Q_OBJECT

public:
    OutputTestEntry(const FormSource &form, QWidget *window, QMenu *menu);

private:
    void open();

    const FormSource &form;
    QWidget *window;
    OutputTestPart *part = nullptr;
    QPointer<QWidget> shown;
};

#endif
