#ifndef TARVO_TESTS_WHEN_OPEN_H
#define TARVO_TESTS_WHEN_OPEN_H

#include <QApplication>
#include <QTimer>
#include <QtTest>

#include <functional>

// Answers the next modal dialog of the given kind once it is open, as a
// user would (a file dialog, a print dialog), so that the click that opens
// it returns.
template <class Dialog>
void whenOpen(std::function<void(Dialog *)> answer)
{
    QTimer::singleShot(0, [answer] {
        QTRY_VERIFY(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
        answer(qobject_cast<Dialog *>(QApplication::activeModalWidget()));
    });
}

#endif
