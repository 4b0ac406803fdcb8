#ifndef TARVO_TEXT_PLAIN_TEXT_H
#define TARVO_TEXT_PLAIN_TEXT_H

// Text from outside (a path, a file's contents, the settings, a reader's
// reply) on its way to a person: bounded, since whatever shows it lays out
// all it is given, and with nothing in it that could hide or reorder what
// is shown.

#include <QString>

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

// The text on one line with every character that could break the line,
// move the cursor, colour a terminal or reorder what follows shown as an
// escape instead: controls as \xNN, format characters (bidirectional
// overrides among them) and line separators as U+NNNN. For logs and files
// where each outside text must stay one visible line.
inline QString visibleText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    auto code = [](QChar c, int digits) {
        return QString::number(c.unicode(), 16).toUpper().rightJustified(digits, QLatin1Char('0'));
    };
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control)
            shown += QLatin1String("\\x") + code(c, 2);
        else if (category == QChar::Other_Format || category == QChar::Separator_Line
                 || category == QChar::Separator_Paragraph)
            shown += QLatin1String("U+") + code(c, 4);
        else
            shown += c;
    }
    return shown;
}

#endif
