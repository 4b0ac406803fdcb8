#ifndef TARVO_APP_BOXES_H
#define TARVO_APP_BOXES_H

// The information boxes of the window: one Ok button, the window as parent.

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

#include "app/untrusted_text.h"
#include "config/refusal.h"
#include "device/link_failure.h"

// Texts from config/, qr/ and device/ come in the source language, marked there for
// translation under their folder's name as context; the window shows them
// in its own language. Text from elsewhere (a system error) shows as it came.
inline QString translated(const char *context, const QString &source)
{
    return QCoreApplication::translate(context, source.toUtf8().constData());
}

// A failed link as the boxes' detail: what happened and what to do, then
// the device library's own line naming the port or host. Empty when nothing failed.
inline QString linkFailureText(const device::LinkFailure &failure)
{
    const char *cause = device::causeText(failure.cause);
    if (!cause)
        return failure.message;
    return QCoreApplication::translate("device", cause) + QLatin1Char('\n') + failure.message;
}

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

// "<label><reason>" in the window's language; the reason's source may hold
// %1 for its number.
inline QString fieldProblemText(const char *label, const char *reason, int number)
{
    QString why = QCoreApplication::translate("config", reason);
    if (why.contains(QLatin1String("%1")))
        why = why.arg(number);
    return QCoreApplication::translate("config", "%1%2")
        .arg(QCoreApplication::translate("config", label), why);
}

// A refusal's text in the program's language.
inline QString refusalText(const config::Refusal &refusal)
{
    return refusal.reason ? fieldProblemText(refusal.fieldLabel, refusal.reason, refusal.reasonNumber)
                          : translated("config", refusal.text);
}

inline void tell(QWidget *window, const config::Refusal &refusal)
{
    tell(window, translated("config", refusal.title), refusalText(refusal));
}

#endif
