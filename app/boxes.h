#ifndef TARVO_APP_BOXES_H
#define TARVO_APP_BOXES_H

// The information boxes of the window: one Ok button, the window as parent.

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include "config/refusal.h"

// Texts from config/ and qr/ come in the source language, marked there for
// translation under their folder's name as context; the window shows them
// in its own language. Text from elsewhere (a system error) shows as it came.
inline QString translated(const char *context, const QString &source)
{
    return QCoreApplication::translate(context, source.toUtf8().constData());
}

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
    const QString text =
        refusal.pattern
            ? QCoreApplication::translate("config", refusal.pattern)
                  .arg(QCoreApplication::translate("config", refusal.field))
            : translated("config", refusal.text);
    tell(window, translated("config", refusal.title), text);
}

#endif
