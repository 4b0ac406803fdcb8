// The rows of what a save changes on a reader: each key of the
// configuration text named by the input of the form that sets it, and its
// values in the form's words where buttons stand for them.
#include "review/save_review.h"

#include <QCoreApplication>

#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/import.h"
#include "config/output_channels.h"
#include "config/read_back.h"
#include "core/change_words.h"
#include "program/wording.h"

namespace {

using W = config::FormValue;

// How a key's number maps to buttons: a mask of several, the value of one
// of a set, or one check box (1 checked, 0 not).
enum class Kind { Mask, Value, Check };

struct ButtonNumber
{
    config::Flag button;
    int number;
};

struct KeyButtons
{
    const char *key;
    Kind kind;
    std::vector<ButtonNumber> buttons;
};

int numberOf(const MaskBit &entry)
{
    return entry.bits;
}
int numberOf(const ValueButton &entry)
{
    return entry.value;
}
int numberOf(const WorkMode &entry)
{
    return entry.bits;
}

template <class Entry, std::size_t N>
KeyButtons keyOf(const char *key, Kind kind, const Entry (&table)[N])
{
    KeyButtons row{key, kind, {}};
    for (const Entry &entry : table)
        row.buttons.push_back({entry.button, numberOf(entry)});
    return row;
}

KeyButtons outputChannels()
{
    KeyButtons row{"ochannel", Kind::Mask, {}};
    for (const output_channels::Channel &channel : output_channels::kChannels)
        row.buttons.push_back({channel.button, channel.bits});
    return row;
}

const std::vector<KeyButtons> &keyButtons()
{
    namespace fb = form_bits;
    static const std::vector<KeyButtons> rows = {
        outputChannels(),
        keyOf("de_type", Kind::Mask, fb::kSymbologies),
        keyOf("chorc", Kind::Value, fb::kAffixFormats),
        {"cr", Kind::Check, {{&W::enterCheck, 1}}},
        {"nl", Kind::Check, {{&W::wrapCheck, 1}}},
        {"wled", Kind::Check, {{&W::ledControl, 1}}},
        {"nfc", Kind::Check, {{&W::nfcable, 1}}},
        keyOf("s_mode", Kind::Value, fb::kScanModes),
        keyOf("w_mode", Kind::Mask, fb::kWorkModes),
        keyOf("decoder", Kind::Mask, fb::kDecoder),
        keyOf("dchannel", Kind::Mask, fb::kConfigChannels),
        keyOf("ascan", Kind::Mask, fb::kScanFeedback),
        keyOf("owifi", Kind::Mask, fb::kWifiMethods),
        keyOf("awifi_s", Kind::Mask, fb::kUploadSuccessActions),
        keyOf("volctl", Kind::Value, fb::kNetworkVoltages),
        keyOf("awifi_f", Kind::Mask, fb::kUploadFailureActions),
        keyOf("eth", Kind::Mask, fb::kEthernetMethods),
        keyOf("heart_en", Kind::Value, fb::kHeartbeat),
        keyOf("ip_mode", Kind::Value, fb::kIpModes),
        keyOf("horc", Kind::Value, fb::kCardAffixFormats),
        keyOf("anfc", Kind::Mask, fb::kCardActions),
        keyOf("nft", Kind::Value, fb::kCardNumberFormats),
        keyOf("ord", Kind::Value, fb::kCardOrders),
        keyOf("idord", Kind::Value, fb::kIdCardOrders),
        keyOf("vg", Kind::Mask, fb::kWiegandFormats),
        keyOf("ft", Kind::Mask, fb::kScanOutputFormats),
    };
    return rows;
}

const KeyButtons *buttonsOf(const QString &key)
{
    for (const KeyButtons &row : keyButtons())
        if (key == QLatin1String(row.key))
            return &row;
    return nullptr;
}

// The input of the form whose group and page a key belongs to.
const config::FieldInfo *fieldOfKey(const QString &key)
{
    if (const KeyButtons *row = buttonsOf(key))
        return &config::fieldOf(row->buttons.front().button);
    for (const field_rules::FieldRule &rule : field_rules::kFieldRules)
        if (QLatin1String(rule.key).trimmed() == key)
            return &config::fieldOf(rule.field);
    if (key == QLatin1String("p_uart1") || key == QLatin1String("p_uart2"))
        return &config::fieldOf(&W::baudRate);
    if (key == QLatin1String("chk_env") || key == QLatin1String("usb_mode"))
        return &config::fieldOf(&W::scanmode);
    if (key == QLatin1String("brightness"))
        return &config::fieldOf(&W::buzzers); // the slider stands in that group
    return nullptr;
}

QString buttonWords(config::Flag button)
{
    return formWords(config::fieldOf(button).words);
}

QString maskWords(const KeyButtons &row, int number)
{
    QStringList words;
    int covered = 0;
    for (const ButtonNumber &entry : row.buttons) {
        if (entry.number != 0 && (number & entry.number) == entry.number) {
            words << buttonWords(entry.button);
            covered |= entry.number;
        }
    }
    if (number == 0)
        return QCoreApplication::translate("ReaderReview", "（无）");
    return covered == number ? words.join(QStringLiteral("、")) : QString::number(number);
}

// A value as the form shows it: a number that buttons stand for in their words.
QString valueWords(const QString &key, const QString &value)
{
    const KeyButtons *row = buttonsOf(key);
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (!row || !isNumber)
        return value;
    switch (row->kind) {
    case Kind::Mask:
        return maskWords(*row, number);
    case Kind::Value:
        for (const ButtonNumber &entry : row->buttons)
            if (entry.number == number)
                return buttonWords(entry.button);
        return value;
    case Kind::Check:
        return number == 1 ? QString(QChar(0x2611)) : number == 0 ? QString(QChar(0x2610)) : value;
    }
    return value;
}

} // namespace

std::vector<ReaderChange> readerChanges(const std::vector<records::Change> &changes, bool newPassword,
                                        const QString &passwordLine)
{
    std::vector<ReaderChange> rows;
    for (const records::Change &change : changes) {
        const config::FieldInfo *field = fieldOfKey(change.key);
        const QString page = field ? QCoreApplication::translate("ReaderReview", pageWords(field->page))
                                         + QStringLiteral(" · ") + formWords(field->group).trimmed()
                                   : change.key;
        rows.push_back({settingName(change.key, field ? field->group : nullptr), page,
                        valueWords(change.key, change.before), valueWords(change.key, change.after)});
    }
    if (newPassword)
        rows.push_back({passwordLine, QString(), QString(), QString()});
    return rows;
}
