#include "cli/set_option.h"

#include <QCoreApplication>

#include "config/read_back.h"

namespace {

const char kSecretSet[] =
    QT_TRANSLATE_NOOP("fleet",
                      "--set %1：密码和地址中的凭据不能写在参数中，其他用户可以读到；请写在配置文件或读头表中");

} // namespace

std::optional<config::KeyValues> valuesGiven(const QStringList &arguments)
{
    config::KeyValues values;
    for (const QString &argument : arguments) {
        const int equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0)
            return std::nullopt;
        values.push_back({argument.left(equals), argument.mid(equals + 1)});
    }
    return values;
}

std::optional<QString> setGiven(config::FormValue *form, const config::KeyValues &values)
{
    for (const config::KeyValue &set : values)
        if (config::shownValue(set.key, set.value) != set.value)
            return QCoreApplication::translate("fleet", kSecretSet).arg(set.key);
    const config::SetResult result = config::withValuesSet(*form, values);
    if (result.refusal)
        return QStringLiteral("--set ") + *result.refusal;
    *form = result.value;
    return std::nullopt;
}
