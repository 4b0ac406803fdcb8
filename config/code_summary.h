#ifndef TARVO_CONFIG_CODE_SUMMARY_H
#define TARVO_CONFIG_CODE_SUMMARY_H

#include <QString>
#include <QStringList>

class Ui_Widget;

// A few readable lines that say what a config code sets, for the sheet
// printed or exported under it: the reader series, the output channel with
// its main parameters and the work mode, read from the form that built
// signedText. Never a password: a code that changes the configuration
// password only says that it does.
QStringList codeSummary(const Ui_Widget &form, const QString &signedText);

#endif
