#include "core/language.h"

#include <QCoreApplication>
#include <QTranslator>

Language chooseLanguage(const QStringList &uiLanguages, const QString &override, bool *ok)
{
    if (ok)
        *ok = true;
    if (override == QLatin1String("en"))
        return Language::English;
    if (override == QLatin1String("zh"))
        return Language::Chinese;
    if (!override.isEmpty() && ok)
        *ok = false;
    // uiLanguages() gives BCP 47 names ("en-GB"); "C" and "POSIX" are not English.
    const QString first = uiLanguages.value(0);
    const bool english = first == QLatin1String("en") || first.startsWith(QLatin1String("en-"))
                         || first.startsWith(QLatin1String("en_"));
    return english ? Language::English : Language::Chinese;
}

bool installLanguage(Language language)
{
    // One translator for the life of the application, loaded anew on a switch.
    static QTranslator *translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (language == Language::Chinese)
        return true;
    // The catalogue lives in the core library's resources, which a static
    // link keeps only when something refers to them.
    static const bool resourcesRegistered = [] {
        Q_INIT_RESOURCE(translations);
        return true;
    }();
    Q_UNUSED(resourcesRegistered);
    auto *english = new QTranslator;
    if (!english->load(QStringLiteral(":/translations/tarvo-config_en.qm"))) {
        delete english;
        return false;
    }
    QCoreApplication::installTranslator(english);
    translator = english;
    return true;
}
