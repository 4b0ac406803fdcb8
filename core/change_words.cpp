#include "core/change_words.h"

#include <QCoreApplication>

#include "config/read_back.h"
#include "core/wording.h"

QString changeLine(const records::Change &change)
{
    const char *words = config::settingWords(change.key);
    QString setting = *words ? formWords(words) : change.key;
    while (setting.endsWith(QChar(0xFF1A)) || setting.endsWith(QLatin1Char(':'))
           || setting.endsWith(QLatin1Char(' ')))
        setting.chop(1);
    return QCoreApplication::translate("ChangeWords", "%1：%2 → %3").arg(setting, change.before, change.after);
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
