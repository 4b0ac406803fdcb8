#include "config/read_back.h"

#include <QHash>
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

const QStringList &comparedKeys()
{
    static const QStringList keys = config::importedKeys()
                                    << QStringLiteral("chk_env") << QStringLiteral("usb_mode");
    return keys;
}

using Values = QMap<QString, QString>;

// Every one of the keys the text holds, with its value as the script reads it.
std::optional<Values> valuesOf(lua_State *script, const QByteArray &text, const QStringList &keys)
{
    if (script_updatecfg(script, text.constData()) != 0)
        return std::nullopt;
    Values values;
    for (const QString &key : keys) {
        if (const std::optional<QByteArray> bytes = config::scriptString(script, key.toLatin1().constData()))
            values.insert(key, QString::fromUtf8(*bytes));
    }
    return values;
}

// The script's reading of a text depends on nothing but the script's source
// and the text. A batch sends one text to every reader and compares with it
// twice a reader, and the readers of a site mostly hold one text before the
// save and one after it, so each text is read once while the script is the
// same source. Bounded: when full, the texts kept are let go.
class ReadTexts
{
public:
    std::optional<Values> find(unsigned long source, const QByteArray &text)
    {
        const QMutexLocker locked(&lock);
        const auto found = source != 0 && source == keptSource ? kept.constFind(text) : kept.constEnd();
        return found == kept.constEnd() ? std::nullopt : std::optional<Values>(*found);
    }
    void keep(unsigned long source, const QByteArray &text, const Values &values)
    {
        if (source == 0)
            return;
        const QMutexLocker locked(&lock);
        if (source != keptSource || kept.size() >= kMostTexts || keptBytes + text.size() > kMostBytes) {
            kept.clear();
            keptBytes = 0;
            keptSource = source;
        }
        if (!kept.contains(text))
            keptBytes += text.size();
        kept.insert(text, values);
    }

private:
    static constexpr int kMostTexts = 64;
    static constexpr qsizetype kMostBytes = 4 << 20;
    QMutex lock;
    unsigned long keptSource = 0;
    QHash<QByteArray, Values> kept;
    qsizetype keptBytes = 0;
};

ReadTexts &readTexts()
{
    static ReadTexts texts;
    return texts;
}

// The script's reading of both texts, or why there is none.
struct BothRead
{
    std::optional<QString> failure;
    Values sent;
    Values reader;
};

// Reads in the state those of the texts not read before.
BothRead readInScript(lua_State *script, std::optional<Values> sent, std::optional<Values> reader,
                      const QByteArray &sentText, const QByteArray &readerText)
{
    const unsigned long source = script_source_id(script);
    for (auto [values, text] : {std::pair(&sent, &sentText), std::pair(&reader, &readerText)}) {
        if (*values)
            continue;
        *values = valuesOf(script, *text, comparedKeys());
        if (!*values)
            return {QString::fromUtf8(
                        QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法读取设备的配置")),
                    {},
                    {}};
        readTexts().keep(source, *text, **values);
    }
    return {std::nullopt, *sent, *reader};
}

BothRead readBoth(const QByteArray &sentText, const QByteArray &readerText)
{
    const unsigned long kept = script_kept_source_id();
    std::optional<Values> sent = readTexts().find(kept, sentText);
    std::optional<Values> reader = readTexts().find(kept, readerText);
    if (sent && reader)
        return {std::nullopt, *sent, *reader};
    lua_State *script = script_open();
    if (!script || script_load_status(script) != SCRIPT_LOADED) {
        script_close(script);
        return {QString::fromUtf8(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法加载")), {}, {}};
    }
    // A state of another source reads both anew.
    if (script_source_id(script) != kept) {
        sent.reset();
        reader.reset();
    }
    BothRead both = readInScript(script, std::move(sent), std::move(reader), sentText, readerText);
    script_close(script);
    return both;
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
