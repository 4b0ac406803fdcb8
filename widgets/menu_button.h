#ifndef TARVO_WIDGETS_MENU_BUTTON_H
#define TARVO_WIDGETS_MENU_BUTTON_H

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QRect>
#include <QString>
#include <QToolButton>

#include "widgets/screen_fit.h"

// A small text button that opens its menu on a click, placed by hand in a
// free spot of the form so that nothing of the form moves. Returns the
// menu, which the caller fills.
inline QMenu *addMenuButton(QWidget *parent, const QString &objectName, const QString &text,
                            const QString &toolTip, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setText(text);
    button->setToolTip(toolTip);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto *menu = new QMenu(button);
    button->setMenu(menu);
    button->setGeometry(geometry);
    return menu;
}

// A window's own tool: an entry of menu with its shortcut, which works
// wherever the window has the focus. The owner connects its triggered().
inline QAction *addWindowEntry(QWidget *window, QMenu *menu, QObject *owner, const QString &text,
                               const QKeySequence &shortcut, const QString &toolTip)
{
    auto *action = new QAction(text, owner);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setToolTip(toolTip);
    window->addAction(action);
    menu->addAction(action);
    return action;
}

// Shows a tool's window whole on its screen, or brings it to the front
// where the user left it when it is shown.
inline void bringUp(QWidget *tool)
{
    if (!tool->isVisible())
        fitOnScreen(tool);
    tool->show();
    tool->raise();
    tool->activateWindow();
}

#endif
