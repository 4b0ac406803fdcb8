#ifndef TARVO_WIDGETS_UNTRUSTED_TEXT_H
#define TARVO_WIDGETS_UNTRUSTED_TEXT_H

// Text from outside on its way to a widget: always as plain text, since
// markup from outside could freeze the window's layout, crash it or paint
// over it, and bounded as core/plain_text.h says.

#include <QLabel>
#include <QString>
#include <QTextDocument>

#include "text/plain_text.h"

// The text for what decides by itself whether it is markup (a tooltip, a
// box's detail): plainShown, and escaped when it would pass for markup, so
// that it always shows as it is.
inline QString autoTextShown(const QString &text)
{
    const QString shown = plainShown(text);
    return Qt::mightBeRichText(shown) ? Qt::convertFromPlainText(shown, Qt::WhiteSpaceNormal) : shown;
}

// A menu entry naming outside text: short, with no shortcut mark in it.
inline QString menuEntryText(const QString &text)
{
    const int most = 120;
    QString shown = plainShown(text).simplified();
    if (shown.size() > most)
        shown = shown.left(most / 2) + QChar(0x2026) + shown.right(most / 2);
    return shown.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Shows a reader's text on a label, cut to what the label can show, the
// whole text in its tooltip (escaped; a reply is bounded by its frame).
inline void showUntrustedText(QLabel *label, const QString &text)
{
    const int shownChars = 64;
    const bool cut = text.size() > shownChars;
    label->setTextFormat(Qt::PlainText);
    label->setText(cut ? text.left(shownChars - 1) + QChar(0x2026) : text);
    label->setToolTip(cut ? Qt::convertFromPlainText(text) : QString());
}

#endif
