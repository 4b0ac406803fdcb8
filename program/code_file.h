#ifndef TARVO_PROGRAM_CODE_FILE_H
#define TARVO_PROGRAM_CODE_FILE_H

// Drawing a configuration's code into a file takes painting, which the
// command line does not link: the program hands it the drawing from the part
// it loads for painting, only when --code asks for one.

#include <QString>

#include <functional>
#include <optional>

#include "config/form_value.h"

struct CodeFileFailure
{
    bool refused = false; // the text makes no code; else the file was not written
    QString reason;       // in the program's language
};

// Draws the code of signedText, with the sheet of the form it was made from,
// into the file at path; nothing when it was written.
using CodeFileWriter =
    std::function<std::optional<CodeFileFailure>(const config::FormValue &form, const QString &signedText,
                                                 const QString &path)>;

#endif
