#include "config/read_back.h"

#include <QMap>
#include <QMutex>
#include <QStringList>

#include "config/field_rules.h"
#include "config/import.h"
#include "config/password_entry.h"
#include "script/script_bridge.h"

namespace {

// The settings of the keys that are no single line edit, in the form's words.
struct KeyWords
{
    const char *key;
    const char *words;
};
const KeyWords kKeyWords[] = {
    {"ochannel", QT_TRANSLATE_NOOP("Widget", "输出方式(必选项)")},
    {"de_type", QT_TRANSLATE_NOOP("Widget", "码制选择")},
    {"chorc", QT_TRANSLATE_NOOP("Widget", "前后缀格式")},
    {"cr", QT_TRANSLATE_NOOP("Widget", "回车")},
    {"nl", QT_TRANSLATE_NOOP("Widget", "换行")},
    {"wled", QT_TRANSLATE_NOOP("Widget", "照明")},
    {"s_mode", QT_TRANSLATE_NOOP("Widget", "扫码模式")},
    {"p_uart1", QT_TRANSLATE_NOOP("Widget", "串口参数设置")},
    {"p_uart2", QT_TRANSLATE_NOOP("Widget", "串口参数设置")},
    {"w_mode", QT_TRANSLATE_NOOP("Widget", "工作模式")},
    {"decoder", QT_TRANSLATE_NOOP("Widget", "解码引擎")},
    {"dchannel", QT_TRANSLATE_NOOP("Widget", "二次开发选项")},
    {"brightness", QT_TRANSLATE_NOOP("Widget", "亮度调节：")},
    {"ascan", QT_TRANSLATE_NOOP("Widget", "扫码行为：")},
    {"owifi", QT_TRANSLATE_NOOP("Widget", "WIFI输出方式 ")},
    {"awifi_s", QT_TRANSLATE_NOOP("Widget", "成功行为：")},
    {"volctl", QT_TRANSLATE_NOOP("Widget", "电平控制")},
    {"awifi_f", QT_TRANSLATE_NOOP("Widget", "失败行为：")},
    {"eth", QT_TRANSLATE_NOOP("Widget", "有线输出方式")},
    {"heart_en", QT_TRANSLATE_NOOP("Widget", "心跳设置")},
    {"ip_mode", QT_TRANSLATE_NOOP("Widget", "IP模式配置")},
    {"nfc", QT_TRANSLATE_NOOP("Widget", "NFC开关")},
    {"st", QT_TRANSLATE_NOOP("Widget", "输出起始位：")},
    {"len", QT_TRANSLATE_NOOP("Widget", "输出长度：")},
    {"horc", QT_TRANSLATE_NOOP("Widget", "前后缀格式：")},
    {"anfc", QT_TRANSLATE_NOOP("Widget", "刷卡后行为")},
    {"nft", QT_TRANSLATE_NOOP("Widget", "刷卡输出格式设置")},
    {"ord", QT_TRANSLATE_NOOP("Widget", "普通卡：")},
    {"idord", QT_TRANSLATE_NOOP("Widget", "身份证：")},
    {"vg", QT_TRANSLATE_NOOP("Widget", "韦根输出方式")},
    {"ft", QT_TRANSLATE_NOOP("Widget", "扫码输出格式")},
    {"chk_env", QT_TRANSLATE_NOOP("Widget", "工作模式")},
    {"usb_mode", QT_TRANSLATE_NOOP("Widget", "工作模式")},
};

} // namespace

const char *config::settingWords(const QString &key)
{
    for (const field_rules::FieldRule &rule : field_rules::kFieldRules)
        if (QLatin1String(rule.key).trimmed() == key)
            return rule.label;
    for (const KeyWords &row : kKeyWords)
        if (key == QLatin1String(row.key))
            return row.words;
    return "";
}

namespace {

QStringList comparedKeys()
{
    return config::importedKeys() << QStringLiteral("chk_env") << QStringLiteral("usb_mode");
}

// Every one of the keys the text holds, with its value as the script reads it.
std::optional<QMap<QString, QString>> valuesOf(lua_State *script, const QByteArray &text, const QStringList &keys)
{
    if (script_updatecfg(script, text.constData()) != 0)
        return std::nullopt;
    QMap<QString, QString> values;
    for (const QString &key : keys) {
        if (const std::optional<QByteArray> bytes = config::scriptString(script, key.toLatin1().constData()))
            values.insert(key, QString::fromUtf8(*bytes));
    }
    return values;
}

// The sent text's values, read once for as long as the script is the same:
// a batch sends one text to every reader and compares with it twice a
// reader, before the save and after.
std::optional<QMap<QString, QString>> sentValuesOf(lua_State *script, const QByteArray &text)
{
    static QMutex lock;
    static unsigned long keptSource = 0;
    static QByteArray keptText;
    static QMap<QString, QString> kept;
    const unsigned long source = script_source_id(script);
    {
        const QMutexLocker locked(&lock);
        if (source != 0 && source == keptSource && text == keptText)
            return kept;
    }
    const std::optional<QMap<QString, QString>> values = valuesOf(script, text, comparedKeys());
    if (values && source != 0) {
        const QMutexLocker locked(&lock);
        keptSource = source;
        keptText = text;
        kept = *values;
    }
    return values;
}

// The script's reading of both texts, or why there is none.
struct BothRead
{
    std::optional<QString> failure;
    QMap<QString, QString> sent;
    QMap<QString, QString> reader;
};

BothRead readBoth(const QByteArray &sentText, const QByteArray &readerText)
{
    lua_State *script = script_open();
    if (!script || script_load_status(script) != SCRIPT_LOADED) {
        script_close(script);
        return {QString::fromUtf8(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法加载")), {}, {}};
    }
    const std::optional<QMap<QString, QString>> sent = sentValuesOf(script, sentText);
    const std::optional<QMap<QString, QString>> reader = valuesOf(script, readerText, comparedKeys());
    script_close(script);
    if (!sent || !reader)
        return {QString::fromUtf8(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法读取设备的配置")),
                {},
                {}};
    return {std::nullopt, *sent, *reader};
}

// Every key the sent text carries that the reader lacks or holds otherwise,
// in the import's order.
std::vector<config::KeyDifference> differingKeys(const BothRead &both)
{
    std::vector<config::KeyDifference> differences;
    for (const QString &key : comparedKeys()) {
        if (!both.sent.contains(key)
            || (both.reader.contains(key) && both.reader.value(key) == both.sent.value(key)))
            continue;
        differences.push_back({key, config::settingWords(key), config::shownValue(key, both.sent.value(key)),
                               config::shownValue(key, both.reader.value(key)), !both.reader.contains(key)});
    }
    return differences;
}

} // namespace

namespace config {

QString shownValue(const QString &key, const QString &value)
{
    if (key == QLatin1String("psk"))
        return value.isEmpty() ? value : QStringLiteral("********");
    if (key == QLatin1String("haddr"))
        return password_entry::addressWithoutCredentials(value);
    return value;
}

ReaderChanges changesOnReader(const QByteArray &sentText, const QByteArray &readerText)
{
    const BothRead both = readBoth(sentText, readerText);
    if (both.failure)
        return {both.failure, {}};
    return {std::nullopt, differingKeys(both)};
}

std::optional<QMap<QString, QString>> importedValues(const QByteArray &text)
{
    lua_State *script = script_open();
    std::optional<QMap<QString, QString>> values;
    if (script && script_load_status(script) == SCRIPT_LOADED)
        values = valuesOf(script, text, importedKeys());
    script_close(script);
    return values;
}

ReadBackCheck compareReadBack(const QByteArray &sentText, const QByteArray &readBackText)
{
    const ReaderChanges changes = changesOnReader(sentText, readBackText);
    if (changes.failure || changes.keys.empty())
        return {changes.failure, std::nullopt};
    return {std::nullopt, changes.keys.front()};
}

} // namespace config
