#ifndef TARVO_PROGRAM_LANGUAGE_H
#define TARVO_PROGRAM_LANGUAGE_H

#include <QString>
#include <QStringList>

// The languages the window speaks. Chinese is the language of the form
// itself; English comes from the translation built into the program.
enum class Language { Chinese, English };

// English when the user's first UI language is English, Chinese otherwise
// (the C and POSIX locales included). A non-empty override ("zh" or "en")
// wins; *ok turns false when the override names neither.
Language chooseLanguage(const QStringList &uiLanguages, const QString &override, bool *ok = nullptr);

// Makes the application speak `language` from now on, Qt's own dialogs and
// buttons and the system's reasons included: our English catalogue for
// English, Qt's Chinese one for Chinese. Windows built afterwards show the chosen texts. Returns false when
// the catalogue cannot be loaded (the window then stays Chinese, Qt's
// buttons English).
bool installLanguage(Language language);

#endif
