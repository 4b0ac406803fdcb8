#ifndef TARVO_APP_MENU_BUTTON_H
#define TARVO_APP_MENU_BUTTON_H

#include <QMenu>
#include <QRect>
#include <QString>
#include <QToolButton>

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

#endif
