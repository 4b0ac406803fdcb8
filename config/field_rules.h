#ifndef TARVO_CONFIG_FIELD_RULES_H
#define TARVO_CONFIG_FIELD_RULES_H

// The line edits whose text the configuration carries: the key each is
// written under, how, and what its text must be for a reader to take it as
// the user meant it. The builders write the keys from here, the build
// refuses a text that breaks its rule, the window marks it while it is
// typed, and the import sizes its buffers from here, so that whatever the
// rules let through comes back on the next connect.

#include <QLineEdit>
#include <QRadioButton>
#include <QString>
#include <cstddef>

#include "config/output_channels.h"

namespace field_rules {

using Field = QLineEdit *Ui_Widget::*;

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
    std::size_t importBuffer;            // bytes the import reads back, with the NUL; 0 for numbers
    std::size_t byteLimit;               // a tighter limit of UTF-8 bytes, or 0
    QRadioButton *Ui_Widget::*hexMode;   // while checked: hexadecimal digits in pairs
    output_channels::Group group;
    bool (*written)(const Ui_Widget &); // when its group runs, whether its entry is written
};

bool always(const Ui_Widget &);
bool intervalWritten(const Ui_Widget &);
bool nfcAffixesWritten(const Ui_Widget &);
bool wifiNameWritten(const Ui_Widget &);
bool wifiPasswordWritten(const Ui_Widget &);
bool tcpServerWritten(const Ui_Widget &);
bool heartbeatWritten(const Ui_Widget &);
bool httpServerWritten(const Ui_Widget &);
bool staticAddressWritten(const Ui_Widget &);

using W = Ui_Widget;
using G = output_channels::Group;
// The import's buffers, with the NUL.
constexpr std::size_t kLongText = 200;
constexpr std::size_t kHeartbeatText = 40;
constexpr std::size_t kAddressText = 20;
constexpr std::size_t kSsidBytes = 32; // the Wi-Fi limit of a network name
constexpr std::size_t kPskBytes = 64;  // no Wi-Fi key is longer

// In the order the entries stand in the text.
inline constexpr FieldRule kFieldRules[] = {
    {&W::linePrefix, "扫码前缀", "prefix", true, nullptr, Shape::Text, kLongText, 0, &W::hex_qhz, G::General, always},
    {&W::lineSuffix, "扫码后缀", "postfix", true, nullptr, Shape::Text, kLongText, 0, &W::hex_qhz, G::General, always},
    // Empty delays fall back to the values the form starts with.
    {&W::lineIntervaltime, "间隔时间(毫秒)", "interval", false, "0", Shape::Number, 0, 0, nullptr, G::General, intervalWritten},
    {&W::devnum, "设备号", "devnum", false, "''", Shape::Number, 0, 0, nullptr, G::General, always},
    {&W::beepinterval, "蜂鸣延迟", "beepd", false, "30", Shape::Number, 0, 0, nullptr, G::General, always},
    {&W::lightoffinterval, "闪灯延迟", "ledd", false, "200", Shape::Number, 0, 0, nullptr, G::General, always},
    {&W::nfcprefix, "NFC前缀", "pri", true, nullptr, Shape::Text, kLongText, 0, &W::nfcpreform, G::Nfc, nfcAffixesWritten},
    {&W::nfcsuffix, "NFC后缀", "pos", true, nullptr, Shape::Text, kLongText, 0, &W::nfcpreform, G::Nfc, nfcAffixesWritten},
    {&W::wifiname, "连入WIFI名", "ssid", true, nullptr, Shape::Text, kLongText, kSsidBytes, nullptr, G::Network, wifiNameWritten},
    {&W::wifipasswd, "WIFI密码", "psk", true, nullptr, Shape::Text, kLongText, kPskBytes, nullptr, G::Network, wifiPasswordWritten},
    {&W::tcpaddr, "TCP服务器地址", "taddr", true, nullptr, Shape::Host, kLongText, 0, nullptr, G::Network, tcpServerWritten},
    {&W::tcpport, "TCP端口号", "port", false, nullptr, Shape::Port, 0, 0, nullptr, G::Network, tcpServerWritten},
    {&W::tcpdelay, "TCP接收超时（秒）", "touttime", false, nullptr, Shape::Number, 0, 0, nullptr, G::Network, tcpServerWritten},
    {&W::heart_time, "心跳包时间", "heart_time", false, nullptr, Shape::Number, 0, 0, nullptr, G::Network, heartbeatWritten},
    {&W::heart_content, "心跳包内容", "heart_data", true, nullptr, Shape::Host, kHeartbeatText, 0, nullptr, G::Network, heartbeatWritten},
    {&W::httpaddr, "HTTP服务器地址", "haddr", true, nullptr, Shape::Host, kLongText, 0, nullptr, G::Network, httpServerWritten},
    {&W::httpdelay, "HTTP接收超时（秒）", "houttime", false, nullptr, Shape::Number, 0, 0, nullptr, G::Network, httpServerWritten},
    // Readers take the address key with a blank in front of it.
    {&W::ip_address, "IP地址", " ip", true, nullptr, Shape::Address, kAddressText, 0, nullptr, G::Network, staticAddressWritten},
    {&W::ip_mask, "子网掩码", "mask", true, nullptr, Shape::Netmask, kAddressText, 0, nullptr, G::Network, staticAddressWritten},
    {&W::ip_gateway, "网关", "gateway", true, nullptr, Shape::Address, kAddressText, 0, nullptr, G::Network, staticAddressWritten},
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

// Why the field's text breaks its rule, or an empty string when it keeps it.
// An empty text keeps every rule: the builders give it a meaning.
QString problem(const Ui_Widget &form, const FieldRule &rule);

// The first field, in the order of the text, whose entry this build would
// write and whose text breaks its rule; null when there is none.
const FieldRule *firstBroken(const Ui_Widget &form);

// key='<text>', or key=<text>, for the field, as its row writes it.
void append(QString &text, const Ui_Widget &form, Field field);

} // namespace field_rules

#endif
