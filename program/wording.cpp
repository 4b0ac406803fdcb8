#include "program/wording.h"

#include <QCoreApplication>

QString translated(const char *context, const QString &source)
{
    return QCoreApplication::translate(context, source.toUtf8().constData());
}

QString fieldProblemText(const char *label, const char *reason, int number)
{
    QString why = QCoreApplication::translate("config", reason);
    if (why.contains(QLatin1String("%1")))
        why = why.arg(number);
    return QCoreApplication::translate("config", "%1%2").arg(QCoreApplication::translate("config", label), why);
}

QString refusalText(const config::Refusal &refusal)
{
    return refusal.reason ? fieldProblemText(refusal.fieldLabel, refusal.reason, refusal.reasonNumber)
                          : translated("config", refusal.text);
}

QString formWords(const char *source)
{
    const QString own = QCoreApplication::translate("Widget", source);
    return own != QString::fromUtf8(source) ? own : QCoreApplication::translate("config", source);
}
