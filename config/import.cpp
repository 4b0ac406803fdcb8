// The reader import. The form is set with setChecked, setText,
// setCurrentText, setValue and setVisible only.
#include "config/import.h"

#include <QComboBox>
#include <QDebug>
#include <QLineEdit>
#include <QSlider>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>

#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/output_channels.h"
#include "config/series.h"
#include "script/script_bridge.h"
#include "ui_widget.h"

namespace {

using W = Ui_Widget;
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

// What an import works on: the form, and the serial texts that wait for the
// serial settings step.
struct Import
{
    W &ui;
    std::optional<QString> uart[2];
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
    answer.text = decoding == Decoding::Utf8 ? QString::fromUtf8(buffer, length)
                                             : QString::fromLatin1(buffer, length);
    return answer;
}

// ---- Effects of one answer ---------------------------------------------

// Each button of the tables checked when the mask holds all its bits and
// unchecked otherwise.
template <const auto &... Tables>
void checkByMask(Import &import, const Answer &answer)
{
    auto apply = [&](const auto &table) {
        for (const auto &entry : table)
            (import.ui.*entry.button)->setChecked(fb::holds(answer.number, entry));
    };
    (apply(Tables), ...);
}

// The buttons whose bits the mask holds checked, in table order; the others
// keep their state.
template <const auto &Table>
void checkHeldBits(Import &import, const Answer &answer)
{
    for (const auto &entry : Table)
        if (fb::holds(answer.number, entry))
            (import.ui.*entry.button)->setChecked(true);
}

// The buttons standing for the value checked; a value no button stands for
// changes nothing.
template <const auto &... Tables>
void checkValue(Import &import, const Answer &answer)
{
    auto apply = [&](const auto &table) {
        for (const auto &entry : table)
            if (entry.value == answer.number)
                (import.ui.*entry.button)->setChecked(true);
    };
    (apply(Tables), ...);
}

// As checkValue, and each table's other buttons unchecked: a line has one
// voltage, never two. A value no button stands for changes nothing.
template <const auto &... Tables>
void checkValueAlone(Import &import, const Answer &answer)
{
    auto apply = [&](const auto &table) {
        if (std::none_of(std::begin(table), std::end(table),
                         [&](const auto &entry) { return entry.value == answer.number; }))
            return;
        for (const auto &entry : table)
            (import.ui.*entry.button)->setChecked(entry.value == answer.number);
    };
    (apply(Tables), ...);
}

// As checkValue, with every value that no button stands for read as `other`.
template <const auto &Table, int other>
void checkValueOr(Import &import, const Answer &answer)
{
    bool named = false;
    for (const auto &entry : Table)
        named = named || entry.value == answer.number;
    Answer read = answer;
    if (!named)
        read.number = other;
    checkValue<Table>(import, read);
}

template <QCheckBox *W::*box>
void checkWhenOne(Import &import, const Answer &answer)
{
    (import.ui.*box)->setChecked(answer.number == 1);
}

template <QLineEdit *W::*edit>
void setDecimal(Import &import, const Answer &answer)
{
    (import.ui.*edit)->setText(QString::number(answer.number));
}

template <QLineEdit *W::*edit>
void setText(Import &import, const Answer &answer)
{
    (import.ui.*edit)->setText(answer.text);
}

template <QLineEdit *W::*edit>
void setTextUnlessEmpty(Import &import, const Answer &answer)
{
    if (!answer.text.isEmpty())
        (import.ui.*edit)->setText(answer.text);
}

template <QSlider *W::*slider>
void setSliderValue(Import &import, const Answer &answer)
{
    (import.ui.*slider)->setValue(answer.number);
}

// The script answers a one-character value by its character code; an entry
// the combo box lacks leaves it as it is.
template <QComboBox *W::*combo>
void setCharacter(Import &import, const Answer &answer)
{
    (import.ui.*combo)->setCurrentText(QString(QChar(ushort(answer.number & 0xFFFF))));
}

template <int port>
void rememberUart(Import &import, const Answer &answer)
{
    import.uart[port] = answer.text;
}

// The development box belongs to the development mode alone: its bit shows
// the box, every other mode's bit hides it.
void checkWorkModes(Import &import, const Answer &answer)
{
    for (const auto &mode : fb::kWorkModes) {
        if (!fb::holds(answer.number, mode))
            continue;
        (import.ui.*mode.button)->setChecked(true);
        import.ui.develop_groupbox->setVisible(mode.button == &W::developmode);
    }
}

// ---- Output channels ---------------------------------------------------

// Each set bit checks its channel and runs its steps, lowest bit first, so
// where two channels touch the same widget the higher one wins.
void applyOutputChannels(Import &import, const Answer &answer)
{
    for (const output_channels::Channel &channel : output_channels::kChannels) {
        if (!fb::holds(answer.number, channel))
            continue;
        (import.ui.*channel.button)->setChecked(true);
        output_channels::runSteps(import.ui, channel, channel.importedSteps,
                                  output_channels::NfcButton::FromSteps);
    }
    qDebug() << answer.number;
}

// ---- Serial settings ---------------------------------------------------

// On the series with a second UART, the UART whose settings the
// form shows: the second one while TTL is chosen, then the first one while
// the serial line is chosen, which wins when both are.
struct UartChoice
{
    QRadioButton *W::*output;
    QRadioButton *W::*configuration;
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
// leaves the boxes as they are.
void setSerialCombos(W &ui, const QString &settings)
{
    const int length = settings.size();
    if (length < 6)
        return;
    ui.baudRate->setCurrentText(settings.left(length - 6));
    ui.dataBit->setCurrentText(settings.mid(length - 5, 1));
    ui.checkBit->setCurrentText(settings.mid(length - 3, 1));
    ui.stopBit->setCurrentText(settings.right(1));
}

void applySerialSettings(Import &import)
{
    auto setFrom = [&](int port) {
        if (import.uart[port])
            setSerialCombos(import.ui, *import.uart[port]);
    };
    if (!series::checkedSeries(import.ui, &series::Facts::secondUart)) {
        setFrom(0);
        return;
    }
    for (const UartChoice &choice : kSecondUartChoices)
        if ((import.ui.*choice.output)->isChecked() || (import.ui.*choice.configuration)->isChecked())
            setFrom(choice.port);
}

// ---- The keys ----------------------------------------------------------

// Bytes read back of a serial line's settings, with the NUL.
constexpr std::size_t kSerialText = 200;

struct KeyRow
{
    const char *key;
    Reply (*query)(lua_State *, const char *);
    void (*apply)(Import &, const Answer &);
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

bool answersAnyKey(lua_State *script)
{
    return std::any_of(std::begin(kKeyRows), std::end(kKeyRows),
                       [script](const KeyRow &row) { return row.query(script, row.key).has_value(); });
}

} // namespace

namespace config {

std::optional<QString> importReaderText(Ui_Widget &form, lua_State *script, const char *readerText,
                                        KnownKeys keys)
{
    // Without the script's answers the form would keep the window's own
    // values, and a save would write them over the reader's: any failure
    // before the queries leaves the form untouched.
    switch (script_load_status(script)) {
    case SCRIPT_MISSING:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("config", "找不到配置脚本 update_config.lua"));
    case SCRIPT_FAILED:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法加载"));
    case SCRIPT_LOADED:
        break;
    }
    if (script_updatecfg(script, readerText) != 0)
        return QString::fromUtf8(
            QT_TRANSLATE_NOOP("config", "配置脚本 update_config.lua 无法读取设备的配置"));
    if (keys == KnownKeys::Required && !answersAnyKey(script))
        return QString::fromUtf8(QT_TRANSLATE_NOOP("config", "其中没有本工具认识的配置项"));

    Import import{form, {}};
    for (const KeyRow &row : kKeyRows) {
        if (const Reply reply = row.query(script, row.key))
            row.apply(import, *reply);
        if (row.after)
            row.after(import);
    }
    return std::nullopt;
}

} // namespace config
