#ifndef TARVO_CONFIG_REFUSAL_H
#define TARVO_CONFIG_REFUSAL_H

#include <QString>
#include <QtGlobal>

#include "config/form_value.h"

namespace config {

// Why the tool does not go on, as the window tells the user: the title and
// the text of its box, in the tool's source language (Chinese). Each text is
// marked where it is written with QT_TRANSLATE_NOOP("config", ...), and the
// window shows it translated (app/boxes.h).
struct Refusal
{
    QString title;
    QString text;
    // When one field is at fault: the field to correct, and its label and
    // the reason as marked sources (the reason with %1 for its number), from
    // which the window says the same in its own language.
    TextField field = nullptr;
    const char *fieldLabel = nullptr;
    const char *reason = nullptr;
    int reasonNumber = 0;
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

} // namespace config

#endif
