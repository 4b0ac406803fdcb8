#ifndef TARVO_CONFIG_FIELD_RULES_H
#define TARVO_CONFIG_FIELD_RULES_H

// The line edits whose text the configuration carries: the key each is
// written under, how, and what its text must be for a reader to take it as
// the user meant it. The builders write the keys from here, the build
// refuses a text that breaks its rule, the window marks it while it is
// typed, and the import sizes its buffers from here, so that whatever the
// rules let through comes back on the next connect.

#include <QString>
#include <QtGlobal>
#include <cstddef>

#include "config/output_channels.h"

namespace field_rules {

using Field = config::TextField;

enum class Shape {
    Text,    // free text
    Host,    // free text without blanks: a host name, address or URL
    Number,  // decimal digits, up to the largest 32-bit signed value
    Port,    // decimal digits, 1 to 65535
    Address, // dotted IPv4, four numbers 0 to 255
    Netmask, // an address of ones then zeros
};

struct FieldRule
{
    Field field;
    const char *label; // as the form names the field
    const char *key;   // as the text writes it, before the '='
    bool quoted;
    const char *whenEmpty; // the bare value written for an empty field, or null
    Shape shape;
    std::size_t importBuffer; // bytes the import reads back, with the NUL; 0 for numbers
    std::size_t byteLimit;    // a tighter limit of UTF-8 bytes, or 0
    config::Flag hexMode;     // while checked: hexadecimal digits in pairs
    output_channels::Group group;
    bool (*written)(const config::FormValue &); // when its group runs, whether its entry is written
};

bool always(const config::FormValue &);
bool intervalWritten(const config::FormValue &);
bool nfcAffixesWritten(const config::FormValue &);
bool wifiNameWritten(const config::FormValue &);
bool wifiPasswordWritten(const config::FormValue &);
bool tcpServerWritten(const config::FormValue &);
bool heartbeatWritten(const config::FormValue &);
bool httpServerWritten(const config::FormValue &);
bool staticAddressWritten(const config::FormValue &);

using W = config::FormValue;
using G = output_channels::Group;
// The import's buffers, with the NUL.
constexpr std::size_t kLongText = 200;
constexpr std::size_t kHeartbeatText = 40;
constexpr std::size_t kAddressText = 20;
constexpr std::size_t kSsidBytes = 32; // the Wi-Fi limit of a network name
constexpr std::size_t kPskBytes = 64;  // no Wi-Fi key is longer

// In the order the entries stand in the text.
inline constexpr FieldRule kFieldRules[] = {
    {&W::linePrefix, QT_TRANSLATE_NOOP("config", "扫码前缀"), "prefix", true, nullptr, Shape::Text, kLongText, 0,
     &W::hex_qhz, G::General, always},
    {&W::lineSuffix, QT_TRANSLATE_NOOP("config", "扫码后缀"), "postfix", true, nullptr, Shape::Text, kLongText, 0,
     &W::hex_qhz, G::General, always},
    // Empty delays fall back to the values the form starts with.
    {&W::lineIntervaltime, QT_TRANSLATE_NOOP("config", "间隔时间(毫秒)"), "interval", false, "0", Shape::Number,
     0, 0, nullptr, G::General, intervalWritten},
    {&W::devnum, QT_TRANSLATE_NOOP("config", "设备号"), "devnum", false, "''", Shape::Number, 0, 0, nullptr,
     G::General, always},
    {&W::beepinterval, QT_TRANSLATE_NOOP("config", "蜂鸣延迟"), "beepd", false, "30", Shape::Number, 0, 0,
     nullptr, G::General, always},
    {&W::lightoffinterval, QT_TRANSLATE_NOOP("config", "闪灯延迟"), "ledd", false, "200", Shape::Number, 0, 0,
     nullptr, G::General, always},
    {&W::nfcprefix, QT_TRANSLATE_NOOP("config", "NFC前缀"), "pri", true, nullptr, Shape::Text, kLongText, 0,
     &W::nfcpreform, G::Nfc, nfcAffixesWritten},
    {&W::nfcsuffix, QT_TRANSLATE_NOOP("config", "NFC后缀"), "pos", true, nullptr, Shape::Text, kLongText, 0,
     &W::nfcpreform, G::Nfc, nfcAffixesWritten},
    {&W::wifiname, QT_TRANSLATE_NOOP("config", "连入WIFI名"), "ssid", true, nullptr, Shape::Text, kLongText,
     kSsidBytes, nullptr, G::Network, wifiNameWritten},
    {&W::wifipasswd, QT_TRANSLATE_NOOP("config", "WIFI密码"), "psk", true, nullptr, Shape::Text, kLongText,
     kPskBytes, nullptr, G::Network, wifiPasswordWritten},
    {&W::tcpaddr, QT_TRANSLATE_NOOP("config", "TCP服务器地址"), "taddr", true, nullptr, Shape::Host, kLongText, 0,
     nullptr, G::Network, tcpServerWritten},
    {&W::tcpport, QT_TRANSLATE_NOOP("config", "TCP端口号"), "port", false, nullptr, Shape::Port, 0, 0, nullptr,
     G::Network, tcpServerWritten},
    {&W::tcpdelay, QT_TRANSLATE_NOOP("config", "TCP接收超时（秒）"), "touttime", false, nullptr, Shape::Number, 0,
     0, nullptr, G::Network, tcpServerWritten},
    {&W::heart_time, QT_TRANSLATE_NOOP("config", "心跳包时间"), "heart_time", false, nullptr, Shape::Number, 0, 0,
     nullptr, G::Network, heartbeatWritten},
    {&W::heart_content, QT_TRANSLATE_NOOP("config", "心跳包内容"), "heart_data", true, nullptr, Shape::Host,
     kHeartbeatText, 0, nullptr, G::Network, heartbeatWritten},
    {&W::httpaddr, QT_TRANSLATE_NOOP("config", "HTTP服务器地址"), "haddr", true, nullptr, Shape::Host, kLongText,
     0, nullptr, G::Network, httpServerWritten},
    {&W::httpdelay, QT_TRANSLATE_NOOP("config", "HTTP接收超时（秒）"), "houttime", false, nullptr, Shape::Number,
     0, 0, nullptr, G::Network, httpServerWritten},
    // Readers take the address key with a blank in front of it.
    {&W::ip_address, QT_TRANSLATE_NOOP("config", "IP地址"), " ip", true, nullptr, Shape::Address, kAddressText, 0,
     nullptr, G::Network, staticAddressWritten},
    {&W::ip_mask, QT_TRANSLATE_NOOP("config", "子网掩码"), "mask", true, nullptr, Shape::Netmask, kAddressText, 0,
     nullptr, G::Network, staticAddressWritten},
    {&W::ip_gateway, QT_TRANSLATE_NOOP("config", "网关"), "gateway", true, nullptr, Shape::Address, kAddressText,
     0, nullptr, G::Network, staticAddressWritten},
};

// The bytes the import reads back for the field's key, with the NUL.
constexpr std::size_t importBuffer(Field field)
{
    for (const FieldRule &rule : kFieldRules)
        if (rule.field == field)
            return rule.importBuffer;
    return 0;
}

const FieldRule &ruleOf(Field field);

// Why a field's text breaks its rule: a marked source, with %1 for the
// number where it names one.
struct Problem
{
    const char *reason = nullptr;
    int number = 0;

    explicit operator bool() const { return reason != nullptr; }
    QString text() const
    {
        const QString source = QString::fromUtf8(reason);
        return source.contains(QLatin1String("%1")) ? source.arg(number) : source;
    }
};

// Why the field's text breaks its rule, or no problem when it keeps it. An
// empty text keeps every rule: the builders give it a meaning.
Problem problem(const config::FormValue &form, const FieldRule &rule);

// The first field, in the order of the text, whose entry this build would
// write and whose text breaks its rule; null when there is none.
const FieldRule *firstBroken(const config::FormValue &form);

// key='<text>', or key=<text>, for the field, as its row writes it.
void append(QString &text, const config::FormValue &form, Field field);

} // namespace field_rules

#endif
