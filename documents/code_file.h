#ifndef TARVO_DOCUMENTS_CODE_FILE_H
#define TARVO_DOCUMENTS_CODE_FILE_H

#include <QString>

#include <optional>

#include "config/form_value.h"
#include "program/code_file.h"

// The code of signedText with its sheet, in the format the file's suffix
// names; what went wrong in the program's language, or nothing.
std::optional<CodeFileFailure> writeCodeFile(const config::FormValue &form, const QString &signedText,
                                             const QString &path);

#endif
