#ifndef TARVO_WIDGETS_BOXES_H
#define TARVO_WIDGETS_BOXES_H

// The information boxes of the window: one Ok button, the window as parent.

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include "core/wording.h"
#include "widgets/untrusted_text.h"

// A box's text and its detail below it as plain text, whatever they hold.
inline void showAsPlainText(QMessageBox &box, const QString &detail)
{
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(autoTextShown(detail));
}

// Every box that shows text from outside (a path, a system's or a reader's
// reason) shows its text and detail as plain text, whatever they hold.
inline QMessageBox::StandardButton showBox(QWidget *window, QMessageBox::Icon icon, const QString &title,
                                           const QString &text, const QString &detail = QString(),
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    QMessageBox box(icon, title, plainShown(text), buttons, window);
    showAsPlainText(box, detail);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

inline void tell(QWidget *window, const QString &title, const QString &text)
{
    showBox(window, QMessageBox::Information, title, text);
}

// The same box with the cause below its text.
inline void tell(QWidget *window, const QString &title, const QString &text, const QString &detail)
{
    showBox(window, QMessageBox::Information, title, text, detail);
}

inline void tell(QWidget *window, const config::Refusal &refusal)
{
    tell(window, translated("config", refusal.title), refusalText(refusal));
}

#endif
