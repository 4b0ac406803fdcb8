#ifndef TARVO_TESTS_CONFIG_RANDOM_VALUE_H
#define TARVO_TESTS_CONFIG_RANDOM_VALUE_H

// Configuration values filled at random, and what a configuration text
// built from one carries back through the import: the round trips of the
// import and of configuration files share them.

#include <QMap>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

#include "config/field_rules.h"
#include "value_setup.h"

namespace random_form {

using FormState = QMap<QString, QString>;

// Every input's state by its name: "on"/"off" for a button, a text, a
// combo box's item or the slider's value.
inline FormState formState(const config::FormValue &value)
{
    FormState state;
    for (const config::FieldInfo &field : config::formFields()) {
        const QString name = QLatin1String(field.name);
        if (field.flag)
            state[name] = value.*field.flag ? "on" : "off";
        else if (field.text)
            state[name] = value.*field.text;
        else
            state[name] = QString::number(value.*field.number);
    }
    return state;
}

// Lists each field whose state differs from the expected one.
inline QString differences(const FormState &expected, const FormState &got)
{
    QStringList lines;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        if (got.value(it.key()) != it.value())
            lines << QString("%1: expected '%2', got '%3'").arg(it.key(), it.value(), got.value(it.key()));
    return lines.join('\n');
}

// How the round trip fills a set of widgets at random.
enum class Fill {
    OneOf,     // check one radio button or series box of the set
    OneOrNone, // the same, or leave the set as the window starts it
    Each,      // check or uncheck each box
    Text,      // a quoted text of up to `size` characters
    Number,    // a decimal number, or nothing
    Address,   // a dotted IPv4 address, or a netmask for a name with "mask" in it
    Entry,     // one of a combo box's entries
    Slider,    // a value of the slider's range
};

struct FillRow
{
    Fill fill;
    QStringList names;
    int size = 0;
};

inline const QStringList kSeries = {"tarvo_ZB",    "tarvo_RN450", "tarvo_WT",     "tarvo_E200FK", "tarvo_rseven",
                                    "tarvo_RN310", "tarvo_PL",    "tarvo_HD5000", "tarvo_KS"};
inline const QStringList kSecondUartSeries = {"tarvo_rseven", "tarvo_RN310", "tarvo_RN450"};
inline const QStringList kChannels = {"keyboardOut", "serialOut", "ttlOut",
                                      "wifiOut",     "weigenOut", "ethernetOut"};
inline const QStringList kWorkModes = {"scanmode", "developmode", "ganyingmode", "paymode", "gunmode"};
inline const QStringList kConfigChannels = {"usbhidchoose", "serialchoose", "ttlchoose", "serialdragxieyi",
                                            "tarvoxy"};
inline const QStringList kSymbologies = {"qrCheck",          "barCheck",    "code128Check", "databarCheck",
                                         "databar_expCheck", "pdf417Check", "dmCheck",      "itfCheck",
                                         "isbn10Check",      "upceCheck",   "upcaCheck"};
inline const QStringList kScanFeedback = {"buzzers",    "lightoff",  "redlight",
                                          "greenlight", "pay_light", "pay_light_play"};
inline const QStringList kScanOutputFormats = {"wgchartohex",     "wgchartohexf", "wgcharhextohex",
                                               "wgcharhextohexf", "tentopidvid",  "tentopidvidf"};
inline const QStringList kCardFields = {"nfc_beep",   "nfc_lightoff", "nfc_flared", "nfc_flagreen", "zxout",
                                        "fxout",      "idzx",         "idfx",       "outbit",       "outlen",
                                        "nfcprefix",  "nfcsuffix",    "nfcpreform", "nfcsuffform",  "zjformout",
                                        "hexformout", "tenformout"};
inline const QStringList kSerialCombos = {"baudRate", "dataBit", "checkBit", "stopBit"};
inline const QStringList kWifiMethods = {"httpO", "httpOx", "tcpO", "tcpOx"};
inline const QStringList kEthernetMethods = {"wiredtcp", "wiredtcpx", "wiredhttp", "wiredhttpx"};
inline const QStringList kUploadActions = {"Sbeepaction",       "Slightoffaction", "Slightredaction",
                                           "Slightgreenaction", "outputhight",     "Fbeepaction",
                                           "Flightoffaction",   "Flightredaction", "Flightgreenaction"};

// Quoted texts are sized so that their UTF-8 bytes fit the import's
// buffers (200, 40 and 20 bytes).
inline const FillRow kFillRows[] = {
    {Fill::OneOf, kSeries},
    {Fill::OneOf, kChannels},
    {Fill::OneOf, kWorkModes},
    {Fill::OneOf, kConfigChannels},
    {Fill::Each, kSymbologies + kScanFeedback + kUploadActions
                     + QStringList{"enterCheck", "wrapCheck", "ledControl", "nfcable", "nfc_beep", "nfc_lightoff",
                                   "nfc_flared", "nfc_flagreen", "outputhight_2"}},
    {Fill::OneOrNone, {"char_qhz", "hex_qhz"}},
    {Fill::OneOf, {"singlemode", "intermode"}},
    {Fill::OneOf, {"qrup", "barup"}},
    {Fill::OneOf, kScanOutputFormats},
    {Fill::OneOf, {"zxout", "fxout"}},
    {Fill::OneOf, {"idzx", "idfx"}},
    {Fill::OneOf, {"nfcpreform", "nfcsuffform"}},
    {Fill::OneOf, {"zjformout", "hexformout", "tenformout"}},
    {Fill::OneOf, kWifiMethods},
    {Fill::OneOf, kEthernetMethods},
    {Fill::OneOf, {"heart_on", "heart_off"}},
    {Fill::OneOf, {"jtip", "dtip"}},
    {Fill::OneOf, {"vg26", "vg34"}},
    {Fill::OneOrNone, {"lowvoltage", "highvoltage"}},
    {Fill::OneOrNone, {"lowvoltage_2", "highvoltage_2"}},
    {Fill::Text,
     {"linePrefix", "lineSuffix", "nfcprefix", "nfcsuffix", "wifiname", "wifipasswd", "tcpaddr", "httpaddr"},
     30},
    {Fill::Text, {"heart_content"}, 12},
    {Fill::Address, {"ip_address", "ip_mask", "ip_gateway"}},
    {Fill::Number,
     {"lineIntervaltime", "devnum", "beepinterval", "lightoffinterval", "tcpport", "tcpdelay", "heart_time",
      "httpdelay"}},
    {Fill::Entry, QStringList{"outbit", "outlen"} + kSerialCombos},
    {Fill::Slider, {"brightadjust"}},
};

// Commas, quotes, braces and non-ASCII letters, but never a quote before a
// comma: that ends a quoted value for any reader of the text.
inline QString randomText(QRandomGenerator &random, int size)
{
    static const QString pool = QString::fromUtf8("abzAZ09 ,'=}{-_.:/é中ß");
    QString text;
    const int length = random.bounded(size + 1);
    while (text.size() < length) {
        const QChar next = pool[random.bounded(pool.size())];
        if (!(text.endsWith('\'') && next == ','))
            text += next;
    }
    return text;
}

inline void fillRandomly(config::FormValue &value, QRandomGenerator &random)
{
    value.tarvo_ZB = false;
    for (const FillRow &row : kFillRows) {
        const int pick = random.bounded(row.names.size() + (row.fill == Fill::OneOrNone ? 1 : 0));
        for (int i = 0; i < row.names.size(); ++i) {
            const config::FieldInfo &field = fieldNamed(row.names[i]);
            switch (row.fill) {
            case Fill::OneOf:
            case Fill::OneOrNone:
                if (i == pick)
                    value.check(field.flag);
                break;
            case Fill::Each:
                value.*field.flag = random.bounded(2);
                break;
            case Fill::Text:
                value.*field.text = randomText(random, row.size);
                break;
            case Fill::Number:
                value.*field.text = random.bounded(4) ? QString::number(random.bounded(1, 65536)) : QString();
                break;
            case Fill::Address: {
                const quint32 mask = ~quint32(0) << random.bounded(32);
                const quint32 address = row.names[i].contains("mask") ? mask : random.generate();
                QStringList parts;
                for (int shift = 24; shift >= 0; shift -= 8)
                    parts << QString::number(address >> shift & 255);
                value.*field.text = parts.join('.');
                break;
            }
            case Fill::Entry: {
                const QStringList &items = config::comboItems(field.text);
                value.*field.text = items.at(random.bounded(items.size()));
                break;
            }
            case Fill::Slider:
                value.*field.number = random.bounded(config::kBrightnessMin, config::kBrightnessMax + 1);
                break;
            }
        }
    }
}

// The fields that the text built from `form` carries, with the values an
// import into a fresh window of the same series gives them.
inline FormState carried(const FormState &form)
{
    auto on = [&](const QString &name) { return form[name] == "on"; };
    auto anyOn = [&](const QStringList &names) { return std::any_of(names.begin(), names.end(), on); };
    auto filled = [&](const QStringList &names) {
        return std::none_of(names.begin(), names.end(), [&](const QString &n) { return form[n].isEmpty(); });
    };
    FormState expected;
    auto carry = [&](const QStringList &names) {
        for (const QString &name : names)
            expected[name] = form[name];
    };
    auto carryFilled = [&](const QStringList &names) {
        for (const QString &name : names)
            if (filled({name}))
                carry({name});
    };
    // An empty bare field is written as its default number.
    auto carryNumber = [&](const QString &name, const QString &whenEmpty) {
        expected[name] = filled({name}) ? form[name] : whenEmpty;
    };

    carry(kChannels + kWorkModes + kConfigChannels + kSymbologies + kScanFeedback + kScanOutputFormats
          + QStringList{"enterCheck", "wrapCheck", "linePrefix", "lineSuffix", "brightadjust", "qrup", "barup"});
    carryFilled({"devnum"});
    carryNumber("beepinterval", "30");
    carryNumber("lightoffinterval", "200");
    if (anyOn({"char_qhz", "hex_qhz"}))
        carry({"char_qhz", "hex_qhz"});
    if (on("tarvo_WT")) {
        expected["ledControl"] = expected["singlemode"] = "on";
        expected["intermode"] = "off";
    } else {
        carry({"ledControl", "singlemode", "intermode"});
        carryNumber("lineIntervaltime", "0");
    }
    if (!anyOn({"tarvo_RN310", "tarvo_RN450"})) {
        carry({"nfcable"});
        if (on("nfcable"))
            carry(kCardFields);
    }
    // The configuration channel is read after the serial settings, so the
    // import cannot tell that TTL development moved them to the second port.
    if (anyOn({"serialOut", "ttlOut"}) && !(anyOn(kSecondUartSeries) && on("serialOut") && on("ttlchoose")))
        carry(kSerialCombos);
    if (anyOn({"wifiOut", "ethernetOut"})) {
        carry(kUploadActions + QStringList{"lowvoltage", "highvoltage"});
        if (on("wifiOut")) {
            carry(kWifiMethods);
            if (filled({"wifiname"}))
                carry({"wifiname", "wifipasswd"});
        }
        if (anyOn({"tcpO", "tcpOx", "wiredtcp", "wiredtcpx"})) {
            if (filled({"tcpaddr", "tcpport", "tcpdelay"}))
                carry({"tcpaddr", "tcpport", "tcpdelay"});
            carry({"heart_on", "heart_off"});
            if (on("heart_on"))
                carryFilled({"heart_time", "heart_content"});
        }
        if (((on("wifiOut") && anyOn({"httpO", "httpOx"}))
             || (on("ethernetOut") && anyOn({"wiredhttp", "wiredhttpx"})))
            && filled({"httpaddr"}))
            carryFilled({"httpaddr", "httpdelay"});
        if (on("ethernetOut")) {
            carry(kEthernetMethods + QStringList{"jtip", "dtip"});
            if (on("jtip"))
                carryFilled({"ip_address", "ip_mask", "ip_gateway"});
        }
    }
    if (on("weigenOut"))
        carry({"vg26", "vg34", "outputhight_2", "lowvoltage_2", "highvoltage_2"});
    return expected;
}

// The build refuses a text that breaks its field's rule: such a field is
// left empty, as a user would correct it.
inline void clearBrokenFields(config::FormValue &value)
{
    while (const field_rules::FieldRule *broken = field_rules::firstBroken(value))
        (value.*broken->field).clear();
}

} // namespace random_form

#endif
