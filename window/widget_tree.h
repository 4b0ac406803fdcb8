#ifndef TARVO_WINDOW_WIDGET_TREE_H
#define TARVO_WINDOW_WIDGET_TREE_H

#include <QList>
#include <QObject>
#include <QWidget>

// Every widget below the parent, depth first in the order they were made,
// whatever their names: two windows built from one form list their widgets
// in the same order.
inline QList<QWidget *> widgetsBelow(const QObject &parent)
{
    QList<QWidget *> found;
    for (QObject *child : parent.children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            found << widget;
        found << widgetsBelow(*child);
    }
    return found;
}

#endif
