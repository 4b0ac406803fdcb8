#ifndef TARVO_APP_UNTRUSTED_TEXT_H
#define TARVO_APP_UNTRUSTED_TEXT_H

#include <QLabel>
#include <QString>
#include <QTextDocument>

// Shows text from a reader or a file on a label: as plain text, since
// markup from outside could freeze the window's layout or paint over it,
// and cut to what the label can show, the whole text in its tooltip
// (escaped, for tooltips read markup too).
inline void showUntrustedText(QLabel *label, const QString &text)
{
    const int shownChars = 64;
    const bool cut = text.size() > shownChars;
    label->setTextFormat(Qt::PlainText);
    label->setText(cut ? text.left(shownChars - 1) + QChar(0x2026) : text);
    label->setToolTip(cut ? Qt::convertFromPlainText(text) : QString());
}

#endif
