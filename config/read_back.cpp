#include "config/read_back.h"

#include <QMap>
#include <QStringList>

#include "config/field_rules.h"
#include "config/import.h"
#include "script/script_bridge.h"

namespace {

// The settings of the keys that are no single line edit, in the form's words.
struct KeyWords
{
    const char *key;
    const char *words;
};
const KeyWords kKeyWords[] = {
    {"ochannel", "输出方式(必选项)"}, {"de_type", "码制选择"},      {"chorc", "前后缀格式"},
    {"cr", "回车"},                   {"nl", "换行"},              {"wled", "照明"},
    {"s_mode", "扫码模式"},           {"p_uart1", "串口参数设置"}, {"p_uart2", "串口参数设置"},
    {"w_mode", "工作模式"},           {"decoder", "解码引擎"},     {"dchannel", "二次开发选项"},
    {"brightness", "亮度调节："},     {"ascan", "扫码行为："},     {"owifi", "WIFI输出方式 "},
    {"awifi_s", "成功行为："},        {"volctl", "电平控制"},      {"awifi_f", "失败行为："},
    {"eth", "有线输出方式"},          {"heart_en", "心跳设置"},    {"ip_mode", "IP模式配置"},
    {"nfc", "NFC开关"},               {"st", "输出起始位："},      {"len", "输出长度："},
    {"horc", "前后缀格式："},         {"anfc", "刷卡后行为"},      {"nft", "刷卡输出格式设置"},
    {"ord", "普通卡："},              {"idord", "身份证："},       {"vg", "韦根输出方式"},
    {"ft", "扫码输出格式"},           {"chk_env", "工作模式"},     {"usb_mode", "工作模式"},
};

const char *wordsOf(const QString &key)
{
    for (const field_rules::FieldRule &rule : field_rules::kFieldRules)
        if (QLatin1String(rule.key).trimmed() == key)
            return rule.label;
    for (const KeyWords &row : kKeyWords)
        if (key == QLatin1String(row.key))
            return row.words;
    return "";
}

QStringList comparedKeys()
{
    return config::importedKeys() << QStringLiteral("chk_env") << QStringLiteral("usb_mode");
}

// Every compared key the text holds, with its value as the script reads it.
std::optional<QMap<QString, QString>> valuesOf(lua_State *script, const QByteArray &text)
{
    if (script_updatecfg(script, text.constData()) != 0)
        return std::nullopt;
    QMap<QString, QString> values;
    for (const QString &key : comparedKeys()) {
        const QByteArray name = key.toLatin1();
        int32_t length = -1;
        char probe = 0;
        script_getvalue_str(script, name.constData(), &probe, sizeof probe, &length);
        if (length < 0)
            continue;
        QByteArray bytes(length + 1, '\0');
        if (script_getvalue_str(script, name.constData(), bytes.data(), size_t(bytes.size()), &length) == 0)
            values.insert(key, QString::fromUtf8(bytes.constData(), length));
    }
    return values;
}

QString shownValue(const QString &key, const QString &value)
{
    return key == QLatin1String("psk") && !value.isEmpty() ? QString(value.size(), QLatin1Char('*')) : value;
}

} // namespace

namespace config {

ReadBackCheck compareReadBack(const QByteArray &sentText, const QByteArray &readBackText)
{
    lua_State *script = script_open();
    if (!script || script_load_status(script) != SCRIPT_LOADED) {
        script_close(script);
        return {QStringLiteral("配置脚本 update_config.lua 无法加载"), std::nullopt};
    }
    const std::optional<QMap<QString, QString>> sent = valuesOf(script, sentText);
    const std::optional<QMap<QString, QString>> readBack = valuesOf(script, readBackText);
    script_close(script);
    if (!sent || !readBack)
        return {QStringLiteral("配置脚本 update_config.lua 无法读取设备的配置"), std::nullopt};
    for (const QString &key : comparedKeys()) {
        if (!sent->contains(key) || readBack->value(key) == sent->value(key) && readBack->contains(key))
            continue;
        return {std::nullopt,
                KeyDifference{key, wordsOf(key), shownValue(key, sent->value(key)),
                              shownValue(key, readBack->value(key)), !readBack->contains(key)}};
    }
    return {};
}

} // namespace config
