#ifndef TARVO_TESTS_WIDGET_CHILD_H
#define TARVO_TESTS_WIDGET_CHILD_H

#include <QWidget>

// The window's widget of the given object name and kind; a test that names a
// widget the form lacks stops at once instead of dereferencing null.
template <class T>
T *formChild(QWidget &window, const char *name)
{
    T *child = window.findChild<T *>(QLatin1String(name));
    if (!child)
        qFatal("the form has no %s named %s", T::staticMetaObject.className(), name);
    return child;
}

#endif
