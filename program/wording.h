#ifndef TARVO_PROGRAM_WORDING_H
#define TARVO_PROGRAM_WORDING_H

// Texts of the layers below in the program's language. config/, qr/ and
// device/ hand their texts up in the source language, marked for
// translation under their folder's name as context; what shows or prints
// them translates here. Text from elsewhere (a system error) stays as it came.

#include <QString>

#include "config/refusal.h"

QString translated(const char *context, const QString &source);

// "<label><reason>" in the program's language; the reason's source may hold
// %1 for its number.
QString fieldProblemText(const char *label, const char *reason, int number);

// A refusal's text in the program's language.
QString refusalText(const config::Refusal &refusal);

// A text of the form's words (a caption, a label, a group's title) or of
// config/'s own, in the language shown.
QString formWords(const char *source);

#endif
