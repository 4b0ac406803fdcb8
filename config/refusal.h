#ifndef TARVO_CONFIG_REFUSAL_H
#define TARVO_CONFIG_REFUSAL_H

#include <QString>
#include <QtGlobal>

namespace config {

// Why the tool does not go on, as the window tells the user: the title and
// the text of its box, in the tool's source language (Chinese). Each text is
// marked where it is written with QT_TRANSLATE_NOOP("config", ...), and the
// window shows it translated (app/boxes.h).
struct Refusal
{
    QString title;
    QString text;
    // For a text that names a form field: the text's source with %1 where
    // the field's label goes, and that label; the window translates both.
    // Null for a whole text.
    const char *pattern = nullptr;
    const char *field = nullptr;
};

inline const char *noticeTitle()
{
    return QT_TRANSLATE_NOOP("config", "注意");
}

// A refusal under the notice title; text is a marked source.
inline Refusal refused(const char *text)
{
    return {QString::fromUtf8(noticeTitle()), QString::fromUtf8(text)};
}

// The same for a text that names a field: pattern has %1 for the label.
inline Refusal refusedField(const char *pattern, const char *fieldLabel)
{
    return {QString::fromUtf8(noticeTitle()),
            QString::fromUtf8(pattern).arg(QString::fromUtf8(fieldLabel)), pattern, fieldLabel};
}

} // namespace config

#endif
