// The reader import: the script's answers as steps on the form's value.
#include "config/import.h"

#include <QDebug>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/output_channels.h"
#include "config/series.h"
#include "script/script_bridge.h"

namespace {

using W = config::FormValue;
namespace fb = form_bits;
namespace fr = field_rules;

// One key's answer; an absent reply means that the query failed, which
// leaves the key's widgets as they are.
struct Answer
{
    int32_t number = 0;
    QString text;
};
using Reply = std::optional<Answer>;

// What an import works on: the value as the steps so far leave it, the
// steps, and the serial texts that wait for the serial settings step.
struct Import
{
    config::Imported result;
    std::optional<QString> uart[2];

    W &value() { return result.value; }
    void push(config::FormStep step) { result.steps.push_back(std::move(step)); }

    void check(config::Flag button, bool on = true)
    {
        config::FormStep step{on ? config::FormStep::Check : config::FormStep::Uncheck};
        step.flag = button;
        push(step);
        config::applySteps({step}, value());
    }
    void setText(config::TextField field, const QString &text, config::FormStep::Kind kind)
    {
        config::FormStep step{kind};
        step.text = field;
        step.textValue = text;
        push(step);
        config::applySteps({step}, value());
    }
    void show(config::Part part, bool shown)
    {
        config::FormStep step{shown ? config::FormStep::Show : config::FormStep::Hide};
        step.part = part;
        push(step);
    }
};

// ---- Queries -----------------------------------------------------------

Reply queryNumber(lua_State *L, const char *key)
{
    Answer answer;
    if (script_getvalue_num(L, key, &answer.number) != 0)
        return std::nullopt;
    return answer;
}

enum class Decoding { Utf8, Latin1 };

// A string answer lands in a buffer of the key's own size; the bridge
// refuses a value that does not fit with its NUL.
template <std::size_t Capacity, Decoding decoding = Decoding::Utf8>
Reply queryText(lua_State *L, const char *key)
{
    char buffer[Capacity];
    int32_t length = 0;
    if (script_getvalue_str(L, key, buffer, sizeof buffer, &length) != 0)
        return std::nullopt;
    Answer answer;
    answer.text =
        decoding == Decoding::Utf8 ? QString::fromUtf8(buffer, length) : QString::fromLatin1(buffer, length);
    return answer;
}

// ---- Effects of one answer ---------------------------------------------
// Each effect sets the form from the answer and says whether the form now
// shows the answer as it is.

// Each button of the tables checked when the mask holds all its bits and
// unchecked otherwise.
template <const auto &...Tables>
bool checkByMask(Import &import, const Answer &answer)
{
    int shown = 0;
    auto apply = [&](const auto &table) {
        for (const auto &entry : table)
            import.check(entry.button, fb::holds(answer.number, entry));
        shown |= fb::maskOf(import.value(), table);
    };
    (apply(Tables), ...);
    return shown == answer.number;
}

// The buttons whose bits the mask holds checked, in table order; the others
// keep their state.
template <const auto &Table>
bool checkHeldBits(Import &import, const Answer &answer)
{
    for (const auto &entry : Table)
        if (fb::holds(answer.number, entry))
            import.check(entry.button);
    return fb::maskOf(import.value(), Table) == answer.number;
}

// The buttons standing for the value checked; a value no button stands for
// changes nothing.
template <const auto &...Tables>
bool checkValue(Import &import, const Answer &answer)
{
    bool named = false;
    auto apply = [&](const auto &table) {
        for (const auto &entry : table)
            if (entry.value == answer.number) {
                import.check(entry.button);
                named = true;
            }
    };
    (apply(Tables), ...);
    return named;
}

// As checkValue, and each table's other buttons unchecked: a line has one
// voltage, never two. A value no button stands for changes nothing.
template <const auto &...Tables>
bool checkValueAlone(Import &import, const Answer &answer)
{
    bool named = false;
    auto apply = [&](const auto &table) {
        if (std::none_of(std::begin(table), std::end(table),
                         [&](const auto &entry) { return entry.value == answer.number; }))
            return;
        named = true;
        for (const auto &entry : table)
            import.check(entry.button, entry.value == answer.number);
    };
    (apply(Tables), ...);
    return named;
}

// As checkValue, with every value that no button stands for read as `other`.
template <const auto &Table, int other>
bool checkValueOr(Import &import, const Answer &answer)
{
    Answer read = answer;
    if (!checkValue<Table>(import, answer)) {
        read.number = other;
        checkValue<Table>(import, read);
        return false;
    }
    return true;
}

template <config::Flag box>
bool checkWhenOne(Import &import, const Answer &answer)
{
    import.check(box, answer.number == 1);
    return answer.number == 0 || answer.number == 1;
}

template <config::TextField edit>
bool setDecimal(Import &import, const Answer &answer)
{
    import.setText(edit, QString::number(answer.number), config::FormStep::SetText);
    return true;
}

template <config::TextField edit>
bool setText(Import &import, const Answer &answer)
{
    import.setText(edit, answer.text, config::FormStep::SetText);
    return true;
}

template <config::TextField edit>
bool setTextUnlessEmpty(Import &import, const Answer &answer)
{
    if (!answer.text.isEmpty())
        import.setText(edit, answer.text, config::FormStep::SetText);
    return true;
}

template <int W::*slider>
bool setSliderValue(Import &import, const Answer &answer)
{
    config::FormStep step{config::FormStep::SetNumber};
    step.number = slider;
    step.numberValue = answer.number;
    import.push(step);
    return import.value().setNumber(slider, answer.number);
}

// The script answers a one-character value by its character code; an entry
// the combo box lacks leaves it as it is.
template <config::TextField combo>
bool setCharacter(Import &import, const Answer &answer)
{
    const QString character(QChar(ushort(answer.number & 0xFFFF)));
    import.setText(combo, character, config::FormStep::SetChoice);
    return import.value().*combo == character;
}

template <int port>
bool rememberUart(Import &import, const Answer &answer)
{
    import.uart[port] = answer.text;
    return true;
}

// The development box belongs to the development mode alone: its bit shows
// the box, every other mode's bit hides it.
bool checkWorkModes(Import &import, const Answer &answer)
{
    for (const auto &mode : fb::kWorkModes) {
        if (!fb::holds(answer.number, mode))
            continue;
        import.check(mode.button);
        import.show(config::Part::DevelopBox, mode.button == &W::developmode);
    }
    return fb::maskOf(import.value(), fb::kWorkModes) == answer.number;
}

// ---- Output channels ---------------------------------------------------

// Each set bit checks its channel and runs its steps, lowest bit first, so
// where two channels touch the same widget the higher one wins.
bool applyOutputChannels(Import &import, const Answer &answer)
{
    for (const output_channels::Channel &channel : output_channels::kChannels) {
        if (!fb::holds(answer.number, channel))
            continue;
        import.check(channel.button);
        for (const config::FormStep &step :
             output_channels::resolveSteps(import.value(), channel, channel.importedSteps,
                                           output_channels::NfcButton::FromSteps)) {
            import.push(step);
            config::applySteps({step}, import.value());
        }
    }
    qDebug() << answer.number;
    return fb::maskOf(import.value(), output_channels::kChannels) == answer.number;
}

// ---- Serial settings ---------------------------------------------------

// On the series with a second UART, the UART whose settings the
// form shows: the second one while TTL is chosen, then the first one while
// the serial line is chosen, which wins when both are.
struct UartChoice
{
    config::Flag output;
    config::Flag configuration;
    int port;
};
constexpr UartChoice kSecondUartChoices[] = {
    {&W::ttlOut, &W::ttlchoose, 1},
    {&W::serialOut, &W::serialchoose, 0},
};

// Sets the four serial combo boxes from a text such as 115200-8-N-1. Only
// character positions count: the baud rate is all but the last six
// characters, and data bits, parity and stop bits one character each, with
// one separator between neighbours. A text too short for the four parts
// leaves the boxes as they are. Whether the boxes show the text as it is.
bool setSerialCombos(Import &import, const QString &settings)
{
    const int length = settings.size();
    if (length < 6)
        return false;
    const QString parts[] = {settings.left(length - 6), settings.mid(length - 5, 1), settings.mid(length - 3, 1),
                             settings.right(1)};
    const config::TextField combos[] = {&W::baudRate, &W::dataBit, &W::checkBit, &W::stopBit};
    for (int i = 0; i < 4; ++i)
        import.setText(combos[i], parts[i], config::FormStep::SetChoice);
    const W &value = import.value();
    return QStringList{value.baudRate, value.dataBit, value.checkBit, value.stopBit}.join(QLatin1Char('-'))
           == settings;
}

void applySerialSettings(Import &import)
{
    auto setFrom = [&](int port) {
        if (import.uart[port] && !setSerialCombos(import, *import.uart[port]))
            import.result.notShown << QStringLiteral("p_uart%1=%2").arg(port + 1).arg(*import.uart[port]);
    };
    if (!series::checkedSeries(import.value(), &series::Facts::secondUart)) {
        setFrom(0);
        return;
    }
    for (const UartChoice &choice : kSecondUartChoices)
        if (import.value().*choice.output || import.value().*choice.configuration)
            setFrom(choice.port);
}

// ---- The keys ----------------------------------------------------------

// Bytes read back of a serial line's settings, with the NUL.
constexpr std::size_t kSerialText = 200;

struct KeyRow
{
    const char *key;
    Reply (*query)(lua_State *, const char *);
    bool (*apply)(Import &, const Answer &);
    // Runs after the row whether or not the key had an answer.
    void (*after)(Import &) = nullptr;
};

const KeyRow kKeyRows[] = {
    {"ochannel", queryNumber, applyOutputChannels},
    {"de_type", queryNumber, checkByMask<fb::kSymbologies>},
    {"chorc", queryNumber, checkValue<fb::kAffixFormats>},
    {"cr", queryNumber, checkWhenOne<&W::enterCheck>},
    {"nl", queryNumber, checkWhenOne<&W::wrapCheck>},
    {"wled", queryNumber, checkWhenOne<&W::ledControl>},
    {"prefix", queryText<fr::importBuffer(&W::linePrefix)>, setText<&W::linePrefix>},
    {"postfix", queryText<fr::importBuffer(&W::lineSuffix)>, setText<&W::lineSuffix>},
    {"s_mode", queryNumber, checkValue<fb::kScanModes>},
    {"interval", queryNumber, setDecimal<&W::lineIntervaltime>},
    {"p_uart1", queryText<kSerialText, Decoding::Latin1>, rememberUart<0>},
    // The serial settings wait for both UART texts, and must be set before
    // dchannel changes which configuration channel is checked.
    {"p_uart2", queryText<kSerialText, Decoding::Latin1>, rememberUart<1>, applySerialSettings},
    {"w_mode", queryNumber, checkWorkModes},
    {"decoder", queryNumber, checkHeldBits<fb::kDecoder>},
    {"dchannel", queryNumber, checkHeldBits<fb::kConfigChannels>},
    {"devnum", queryNumber, setDecimal<&W::devnum>},
    {"brightness", queryNumber, setSliderValue<&W::brightadjust>},
    {"ascan", queryNumber, checkByMask<fb::kScanFeedback>},
    {"ledd", queryNumber, setDecimal<&W::lightoffinterval>},
    {"beepd", queryNumber, setDecimal<&W::beepinterval>},
    {"owifi", queryNumber, checkHeldBits<fb::kWifiMethods>},
    {"awifi_s", queryNumber, checkByMask<fb::kUploadSuccessActions, fb::kWiegandSuccessActions>},
    {"volctl", queryNumber, checkValueAlone<fb::kNetworkVoltages, fb::kWiegandVoltages>},
    {"awifi_f", queryNumber, checkByMask<fb::kUploadFailureActions>},
    {"eth", queryNumber, checkHeldBits<fb::kEthernetMethods>},
    {"ssid", queryText<fr::importBuffer(&W::wifiname)>, setText<&W::wifiname>},
    {"psk", queryText<fr::importBuffer(&W::wifipasswd)>, setText<&W::wifipasswd>},
    {"heart_en", queryNumber, checkValue<fb::kHeartbeat>},
    {"heart_time", queryNumber, setDecimal<&W::heart_time>},
    {"heart_data", queryText<fr::importBuffer(&W::heart_content)>, setTextUnlessEmpty<&W::heart_content>},
    {"ip_mode", queryNumber, checkValue<fb::kIpModes>},
    {"ip", queryText<fr::importBuffer(&W::ip_address)>, setTextUnlessEmpty<&W::ip_address>},
    {"mask", queryText<fr::importBuffer(&W::ip_mask)>, setTextUnlessEmpty<&W::ip_mask>},
    {"gateway", queryText<fr::importBuffer(&W::ip_gateway)>, setTextUnlessEmpty<&W::ip_gateway>},
    {"port", queryNumber, setDecimal<&W::tcpport>},
    {"touttime", queryNumber, setDecimal<&W::tcpdelay>},
    {"houttime", queryNumber, setDecimal<&W::httpdelay>},
    {"taddr", queryText<fr::importBuffer(&W::tcpaddr)>, setText<&W::tcpaddr>},
    {"haddr", queryText<fr::importBuffer(&W::httpaddr)>, setText<&W::httpaddr>},
    {"nfc", queryNumber, checkWhenOne<&W::nfcable>},
    {"st", queryNumber, setCharacter<&W::outbit>},
    {"len", queryNumber, setCharacter<&W::outlen>},
    {"horc", queryNumber, checkValue<fb::kCardAffixFormats>},
    {"pri", queryText<fr::importBuffer(&W::nfcprefix)>, setText<&W::nfcprefix>},
    {"pos", queryText<fr::importBuffer(&W::nfcsuffix)>, setText<&W::nfcsuffix>},
    {"anfc", queryNumber, checkByMask<fb::kCardActions>},
    {"nft", queryNumber, checkValue<fb::kCardNumberFormats>},
    {"ord", queryNumber, checkValueOr<fb::kCardOrders, 0>},
    {"idord", queryNumber, checkValueOr<fb::kIdCardOrders, 0>},
    {"vg", queryNumber, checkHeldBits<fb::kWiegandFormats>},
    {"ft", queryNumber, checkHeldBits<fb::kScanOutputFormats>},
};
static_assert(std::size(kKeyRows) == 51);

// The key's value as the text holds it, cut for a message; nothing when the
// text has no such key.
std::optional<QString> rawValue(lua_State *script, const char *key)
{
    constexpr int kShownCharacters = 40;
    const std::optional<QByteArray> bytes = config::scriptString(script, key);
    if (!bytes)
        return std::nullopt;
    const QString value = QString::fromUtf8(*bytes);
    return value.size() > kShownCharacters ? value.left(kShownCharacters) + QChar(0x2026) : value;
}

bool answersAnyKey(lua_State *script)
{
    return std::any_of(std::begin(kKeyRows), std::end(kKeyRows),
                       [script](const KeyRow &row) { return row.query(script, row.key).has_value(); });
}

} // namespace

namespace config {

QStringList importedKeys()
{
    QStringList keys;
    for (const KeyRow &row : kKeyRows)
        keys << QLatin1String(row.key);
    return keys;
}

std::optional<QByteArray> scriptString(lua_State *script, const char *key)
{
    // Nearly every value fits the first buffer: one call into the script
    // instead of one for the length and one for the bytes.
    char first[256];
    int32_t length = -1;
    if (script_getvalue_str(script, key, first, sizeof first, &length) == 0)
        return QByteArray(first, length);
    if (length < int32_t(sizeof first))
        return std::nullopt;
    QByteArray bytes(length + 1, '\0');
    if (script_getvalue_str(script, key, bytes.data(), size_t(bytes.size()), &length) != 0)
        return std::nullopt;
    bytes.truncate(length);
    return bytes;
}

ImportResult importReaderText(const FormValue &current, lua_State *script, const char *readerText, KnownKeys keys)
{
    // Without the script's answers the form would keep the window's own
    // values, and a save would write them over the reader's: any failure
    // before the queries leaves the form untouched.
    const auto refused = [](const char *reason) { return ImportResult{QString::fromUtf8(reason), {}}; };
    switch (script_load_status(script)) {
    case SCRIPT_MISSING:
        return refused(QT_TRANSLATE_NOOP("config", "找不到配置脚本 update_config.lua"));
    case SCRIPT_FAILED:
        return refused(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法加载"));
    case SCRIPT_LOADED:
        break;
    }
    if (script_updatecfg(script, readerText) != 0)
        return refused(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法读取设备的配置"));
    if (keys == KnownKeys::Required && !answersAnyKey(script))
        return refused(QT_TRANSLATE_NOOP("config", "其中没有本工具认识的配置项"));

    Import import{{{}, current, {}}, {}};
    for (const KeyRow &row : kKeyRows) {
        const Reply reply = row.query(script, row.key);
        // An empty value (a field left empty, written as '') sets nothing.
        const bool shown =
            reply ? row.apply(import, *reply) : rawValue(script, row.key).value_or(QString()).isEmpty();
        if (!shown)
            import.result.notShown << QLatin1String(row.key) + QLatin1Char('=')
                                          + rawValue(script, row.key).value_or(QString());
        if (row.after)
            row.after(import);
    }
    return {std::nullopt, std::move(import.result)};
}

} // namespace config
