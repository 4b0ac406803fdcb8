#include "program/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <clocale>
#include <memory>

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

namespace {

// The catalogues of the language shown, ours and Qt's own (its dialogs'
// buttons and labels, the command line parser's words), replaced on a switch.
std::unique_ptr<QTranslator> ourCatalogue;
std::unique_ptr<QTranslator> qtCatalogue;

bool install(std::unique_ptr<QTranslator> *catalogue, const QString &file, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(file, folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    *catalogue = std::move(translator);
    return true;
}

// The C library's messages, which reach the user as a file's or a link's
// reason, in the language shown too: English from the C locale (the one
// locale in which a desktop's LANGUAGE list is not followed), Chinese from
// zh_CN where it is installed, else as the desktop has them.
void setSystemMessages(Language language)
{
    if (language == Language::English)
        std::setlocale(LC_MESSAGES, "C");
    else if (!std::setlocale(LC_MESSAGES, "zh_CN.UTF-8"))
        std::setlocale(LC_MESSAGES, "");
}

} // namespace

bool installLanguage(Language language)
{
    ourCatalogue.reset();
    qtCatalogue.reset();
    setSystemMessages(language);
    // Qt speaks English in its own source; its Chinese comes from the
    // system's Qt translations (Debian: qttranslations5-l10n).
    if (language == Language::Chinese)
        return install(&qtCatalogue, QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    // The catalogue lives in the core library's resources, which a static
    // link keeps only when something refers to them.
    static const bool resourcesRegistered = [] {
        Q_INIT_RESOURCE(translations);
        return true;
    }();
    Q_UNUSED(resourcesRegistered);
    return install(&ourCatalogue, QStringLiteral(":/translations/tarvo-config_en.qm"), QString());
}
