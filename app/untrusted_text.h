#ifndef TARVO_APP_UNTRUSTED_TEXT_H
#define TARVO_APP_UNTRUSTED_TEXT_H

// Text from outside (a path, a file's contents, the settings, a reader's
// reply) on its way to the screen: always as plain text, since markup from
// outside could freeze the window's layout, crash it or paint over it, and
// bounded, since a label or a box lays out all it is given.

#include <QLabel>
#include <QString>
#include <QTextDocument>

// The most of an outside text a box, a menu or a tooltip shows.
constexpr int kMostShownChars = 2000;

// The text cut to kMostShownChars, and any control or format character
// (which could hide or reorder what is shown) but a line break or a tab as
// a blank.
inline QString plainShown(const QString &text)
{
    QString shown = text.size() > kMostShownChars ? text.left(kMostShownChars - 1) + QChar(0x2026) : text;
    for (QChar &c : shown) {
        const QChar::Category category = c.category();
        if ((category == QChar::Other_Control && c != QLatin1Char('\n') && c != QLatin1Char('\t'))
            || category == QChar::Other_Format)
            c = QLatin1Char(' ');
    }
    return shown;
}

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
