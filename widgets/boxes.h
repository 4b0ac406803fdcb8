#ifndef TARVO_WIDGETS_BOXES_H
#define TARVO_WIDGETS_BOXES_H

// The information boxes of the window: one Ok button, the window as parent.

#include <QCoreApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>
#include <QStyle>

#include "program/wording.h"
#include "widgets/untrusted_text.h"

// A box's text and its detail below it as plain text, whatever they hold.
inline void showAsPlainText(QMessageBox &box, const QString &detail)
{
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty())
        box.setInformativeText(autoTextShown(detail));
}

// A box at least as wide as its title needs in the window manager's title
// bar, where it is set larger or bolder than the box's text and shares the
// bar with the icon and the buttons; Qt's own allowance cuts a title of a
// few words to its first and last characters.
inline void widenToTitle(QMessageBox &box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int titleBar = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 5 / 4 + 4 * titleBar;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
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
    widenToTitle(box);
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
