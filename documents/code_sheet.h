#ifndef TARVO_DOCUMENTS_CODE_SHEET_H
#define TARVO_DOCUMENTS_CODE_SHEET_H

#include <QString>

#include "config/form_value.h"
#include "qr/code_renderer.h"

// The sheet of a code made from the form: the summary, date and title in
// the program's language.
CodeSheet codeSheetFor(const config::FormValue &form, const QString &signedText);

#endif
