#include "config/set_values.h"

#include <QCoreApplication>
#include <algorithm>

#include "config/field_rules.h"
#include "config/import.h"
#include "script/script_bridge.h"

namespace {

QString said(const char *source)
{
    return QCoreApplication::translate("config", source);
}

// A value the entry `key='value'` would not carry as it is: a quote before
// a comma ends it early, and a line break is no part of the one-line text.
bool breaksEntry(const QString &value)
{
    return value.contains(QLatin1String("',"))
           || std::any_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x20; });
}

// Why the set field breaks its rule, naming the key; nothing for a key that
// is no line edit or a value the rule takes.
std::optional<QString> fieldRefusal(const config::FormValue &form, const QString &key)
{
    for (const field_rules::FieldRule &rule : field_rules::kFieldRules) {
        if (QLatin1String(rule.key).trimmed() != key)
            continue;
        if (const field_rules::Problem problem = field_rules::problem(form, rule)) {
            const QString reason = said(problem.reason);
            return QStringLiteral("%1: %2").arg(key, reason.contains(QLatin1String("%1"))
                                                         ? reason.arg(problem.number)
                                                         : reason);
        }
    }
    return std::nullopt;
}

} // namespace

namespace config {

bool isSettableKey(const QString &key)
{
    return importedKeys().contains(key);
}

SetResult withValuesSet(const FormValue &form, const KeyValues &values)
{
    QString text;
    for (const KeyValue &set : values) {
        if (!isSettableKey(set.key))
            return {form, said(QT_TRANSLATE_NOOP("config", "%1 不是可设置的配置项")).arg(set.key)};
        if (breaksEntry(set.value))
            return {form, said(QT_TRANSLATE_NOOP("config", "%1: 值不能包含控制字符或英文单引号紧跟英文逗号(',)"))
                              .arg(set.key)};
        text += set.key + QStringLiteral("='") + set.value + QStringLiteral("',");
    }
    if (text.isEmpty())
        return {form, std::nullopt};
    lua_State *script = script_open();
    if (!script)
        return {form, said(QT_TRANSLATE_NOOP("config", "没有足够的内存运行配置脚本"))};
    const ImportResult imported = importReaderText(form, script, text.toUtf8().constData());
    script_close(script);
    if (imported.refusal)
        return {form, said(imported.refusal->toUtf8().constData())};
    if (!imported.imported.notShown.isEmpty())
        return {form, said(QT_TRANSLATE_NOOP("config", "%1 不是本工具能载入的值"))
                          .arg(imported.imported.notShown.constFirst())};
    for (const KeyValue &set : values)
        if (const std::optional<QString> broken = fieldRefusal(imported.imported.value, set.key))
            return {form, broken};
    return {imported.imported.value, std::nullopt};
}

} // namespace config
