#include "config/field_rules.h"

#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>

#include "config/entries.h"
#include "config/group_conditions.h"
#include "config/series.h"

namespace field_rules {

bool always(const config::FormValue &)
{
    return true;
}

bool intervalWritten(const config::FormValue &form)
{
    return group_conditions::intervalWritten(form);
}

bool nfcAffixesWritten(const config::FormValue &form)
{
    return form.nfcable && !series::checkedSeries(form, &series::Facts::nfcEntries, false);
}

bool wifiNameWritten(const config::FormValue &form)
{
    return form.wifiOut;
}

bool wifiPasswordWritten(const config::FormValue &form)
{
    return form.wifiOut && !form.wifiname.isEmpty();
}

bool tcpServerWritten(const config::FormValue &form)
{
    return group_conditions::tcpServerWritten(form);
}

bool heartbeatWritten(const config::FormValue &form)
{
    return group_conditions::heartbeatWritten(form);
}

bool httpServerWritten(const config::FormValue &form)
{
    return group_conditions::httpServerWritten(form);
}

bool staticAddressWritten(const config::FormValue &form)
{
    return form.ethernetOut && form.jtip;
}

namespace {

bool groupRuns(const config::FormValue &form, output_channels::Group group)
{
    for (const output_channels::Channel &channel : output_channels::kChannels)
        if ((form.*channel.button)
            && std::find(std::begin(channel.groups), std::end(channel.groups), group) != std::end(channel.groups))
            return true;
    return false;
}

bool allOf(const QString &text, bool (*keeps)(QChar))
{
    return std::all_of(text.begin(), text.end(), keeps);
}

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

bool isDecimal(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHex(QChar c)
{
    return isDecimal(c) || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

// The value of a text of decimal digits no greater than max, or -1.
qint64 decimalUpTo(const QString &text, qint64 max)
{
    if (!allOf(text, isDecimal))
        return -1;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value <= max ? value : -1;
}

// The dotted IPv4 address as a 32-bit value, or nothing.
std::optional<quint32> ipv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString &part : parts) {
        const qint64 value = part.size() <= 3 && !part.isEmpty() ? decimalUpTo(part, 255) : -1;
        if (value < 0)
            return std::nullopt;
        address = address << 8 | quint32(value);
    }
    return address;
}

// Ones then zeros: the zeros, read as a number, are one less than a power of two.
bool isNetmask(quint32 mask)
{
    const quint32 zeros = ~mask;
    return (zeros & (zeros + 1)) == 0;
}

const char *shapeProblem(const QString &text, Shape shape)
{
    switch (shape) {
    case Shape::Text:
        return nullptr;
    case Shape::Host:
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); })
                   ? QT_TRANSLATE_NOOP("config", "不能包含空格")
                   : nullptr;
    case Shape::Number:
        return decimalUpTo(text, std::numeric_limits<int32_t>::max()) < 0
                   ? QT_TRANSLATE_NOOP("config", "必须是0到2147483647之间的数字")
                   : nullptr;
    case Shape::Port:
        return decimalUpTo(text, 65535) < 1 ? QT_TRANSLATE_NOOP("config", "必须是1到65535之间的数字") : nullptr;
    case Shape::Address:
        return ipv4(text) ? nullptr : QT_TRANSLATE_NOOP("config", "必须是IPv4地址，例如192.168.1.10");
    case Shape::Netmask: {
        const std::optional<quint32> mask = ipv4(text);
        return mask && isNetmask(*mask) ? nullptr
                                        : QT_TRANSLATE_NOOP("config", "必须是有效的子网掩码，例如255.255.255.0");
    }
    }
    return nullptr;
}

std::size_t byteLimit(const FieldRule &rule)
{
    const std::size_t readBack = rule.importBuffer - 1;
    return rule.byteLimit ? std::min(rule.byteLimit, readBack) : readBack;
}

} // namespace

const FieldRule &ruleOf(Field field)
{
    return *std::find_if(std::begin(kFieldRules), std::end(kFieldRules),
                         [field](const FieldRule &rule) { return rule.field == field; });
}

Problem problem(const config::FormValue &form, const FieldRule &rule)
{
    const QString text = (form.*rule.field);
    if (text.isEmpty())
        return {};
    if (std::any_of(text.begin(), text.end(), isControl))
        return {QT_TRANSLATE_NOOP("config", "不能包含控制字符")};
    // A comma ends a bare entry early.
    if (!rule.quoted && text.contains(QLatin1Char(',')))
        return {QT_TRANSLATE_NOOP("config", "不能包含英文逗号(,)")};
    if (const char *why = shapeProblem(text, rule.shape))
        return {why};
    if (rule.importBuffer && std::size_t(text.toUtf8().size()) > byteLimit(rule))
        return {QT_TRANSLATE_NOOP("config", "不能超过%1个字节（一个汉字占3个字节）"), int(byteLimit(rule))};
    // The reading script would take the entries after it for the text's own.
    if (text.contains(QLatin1String("___TRVO_CONFIG_V")))
        return {QT_TRANSLATE_NOOP("config", "不能包含配置文本的开头(___TRVO_CONFIG_V)")};
    // A quote before a comma closes a quoted value early.
    if (rule.quoted && text.contains(QLatin1String("',")))
        return {QT_TRANSLATE_NOOP("config", "不能包含英文单引号紧跟英文逗号(',)")};
    if (rule.hexMode && (form.*rule.hexMode) && (text.size() % 2 != 0 || !allOf(text, isHex)))
        return {QT_TRANSLATE_NOOP("config", "在hex格式下必须是成对的十六进制数字")};
    return {};
}

const FieldRule *firstBroken(const config::FormValue &form)
{
    for (const FieldRule &rule : kFieldRules)
        if (groupRuns(form, rule.group) && rule.written(form) && problem(form, rule))
            return &rule;
    return nullptr;
}

void append(QString &text, const config::FormValue &form, Field field)
{
    const FieldRule &rule = ruleOf(field);
    const QString value = (form.*field);
    if (rule.quoted)
        entries::appendQuoted(text, rule.key, value);
    else
        entries::appendBare(text, rule.key,
                            value.isEmpty() && rule.whenEmpty ? QString::fromLatin1(rule.whenEmpty) : value);
}

} // namespace field_rules
