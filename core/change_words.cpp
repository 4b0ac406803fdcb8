#include "core/change_words.h"

#include <QCoreApplication>

#include <algorithm>

#include "config/import.h"
#include "config/read_back.h"
#include "program/wording.h"

namespace {

QString keyWords(const QString &key)
{
    const char *words = config::settingWords(key);
    QString shown = *words ? formWords(words) : key;
    while (shown.endsWith(QChar(0xFF1A)) || shown.endsWith(QLatin1Char(':')) || shown.endsWith(QLatin1Char(' ')))
        shown.chop(1);
    return shown;
}

} // namespace

QString settingName(const QString &key, const char *group)
{
    const QString words = keyWords(key);
    static const QStringList known = config::importedKeys()
                                     << QStringLiteral("chk_env") << QStringLiteral("usb_mode");
    const auto alike = std::count_if(known.begin(), known.end(),
                                     [&words](const QString &other) { return keyWords(other) == words; });
    if (alike < 2)
        return words;
    QString shownGroup = group ? formWords(group).trimmed() : QString();
    if (shownGroup.isEmpty() || shownGroup == words)
        shownGroup = key;
    return QCoreApplication::translate("ReaderReview", "%1（%2）").arg(words, shownGroup);
}

QString changeLine(const records::Change &change)
{
    return QCoreApplication::translate("ChangeWords", "%1：%2 → %3")
        .arg(settingName(change.key), change.before, change.after);
}

QStringList changeLines(const records::Record &record)
{
    if (record.keyChanges.empty())
        return record.changes.isEmpty() ? QStringList() : record.changes.split(QLatin1Char('\n'));
    QStringList lines;
    for (const records::Change &change : record.keyChanges)
        lines << changeLine(change);
    return lines;
}
