#include "documents/code_sheet.h"

#include <QDate>

#include "config/code_summary.h"
#include "program/wording.h"

CodeSheet codeSheetFor(const config::FormValue &form, const QString &signedText)
{
    return CodeSheet{codeSummary(form, signedText, formWords), QDate::currentDate(),
                     translated("qr", CodeSheet().dateCaption), translated("qr", CodeSheet().title)};
}
