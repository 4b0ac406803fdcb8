#ifndef TARVO_APP_BOXES_H
#define TARVO_APP_BOXES_H

// The information boxes of the window: one Ok button, the window as parent.

#include <QMessageBox>
#include <QString>

#include "config/refusal.h"

inline void tell(QWidget *window, const QString &title, const QString &text)
{
    QMessageBox::information(window, title, text, QMessageBox::Ok);
}

// The same box with the cause below its text.
inline void tell(QWidget *window, const QString &title, const QString &text, const QString &detail)
{
    if (detail.isEmpty())
        return tell(window, title, text);
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, window);
    box.setInformativeText(detail);
    box.exec();
}

inline void tell(QWidget *window, const config::Refusal &refusal)
{
    tell(window, refusal.title, refusal.text);
}

#endif
