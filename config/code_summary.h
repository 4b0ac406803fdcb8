#ifndef TARVO_CONFIG_CODE_SUMMARY_H
#define TARVO_CONFIG_CODE_SUMMARY_H

#include <QString>
#include <QStringList>

#include "config/form_value.h"

// A few readable lines that say what a config code sets, for the sheet
// printed or exported under it: the reader series, the output channel with
// its main parameters and the work mode, read from the form that built
// signedText. Never a password: a code that changes the configuration
// password only says that it does. The summary's own words (context
// "config") and the form's captions (context "Widget") come as written;
// words gives each in the language shown, by default as written.
using SummaryWords = QString (*)(const char *source);
QString sourceWords(const char *source);
QStringList codeSummary(const config::FormValue &form, const QString &signedText,
                        SummaryWords words = sourceWords);

#endif
