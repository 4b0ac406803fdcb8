#include "documents/code_file.h"

#include "documents/code_sheet.h"
#include "program/wording.h"
#include "qr/code_renderer.h"
#include "qr/config_code.h"

std::optional<CodeFileFailure> writeCodeFile(const config::FormValue &form, const QString &signedText,
                                             const QString &path)
{
    const CodeSymbol symbol(signedText);
    if (symbol.failure() == CodeSymbol::EncoderMissing)
        return CodeFileFailure{false, translated("qr", qr::symbolFailure(symbol)) + QStringLiteral(" (")
                                          + symbol.failureDetail() + QLatin1Char(')')};
    if (symbol.isNull())
        return CodeFileFailure{true, translated("qr", qr::symbolFailure(symbol))};
    QString error;
    if (!writeSheet(symbol, codeSheetFor(form, signedText), path, &error))
        return CodeFileFailure{false, translated("qr", error)};
    return std::nullopt;
}
