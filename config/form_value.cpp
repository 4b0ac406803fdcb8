#include "config/form_value.h"

#include "config/password_entry.h"

#include <algorithm>

namespace config {

namespace {

std::vector<FieldInfo> makeFields()
{
    using V = FormValue;
    std::vector<FieldInfo> fields;
#define TARVO_FIELD_CHECK(name, words, group, page) \
    fields.push_back({FieldInfo::Check, #name, words, group, Page::page, RadioSet::None, &V::name});
#define TARVO_FIELD_RADIO(name, words, group, page, set) \
    fields.push_back({FieldInfo::Radio, #name, words, group, Page::page, RadioSet::set, &V::name});
#define TARVO_FIELD_TEXT(name, words, group, page) \
    fields.push_back({FieldInfo::Text, #name, words, group, Page::page, RadioSet::None, nullptr, &V::name});
#define TARVO_FIELD_COMBO(name, words, group, page) \
    fields.push_back({FieldInfo::Combo, #name, words, group, Page::page, RadioSet::None, nullptr, &V::name});
#define TARVO_FIELD_NUMBER(name, words, group, page) \
    fields.push_back( \
        {FieldInfo::Number, #name, words, group, Page::page, RadioSet::None, nullptr, nullptr, &V::name});
    TARVO_FORM_FIELDS(TARVO_FIELD_CHECK, TARVO_FIELD_RADIO, TARVO_FIELD_TEXT, TARVO_FIELD_COMBO,
                      TARVO_FIELD_NUMBER)
#undef TARVO_FIELD_CHECK
#undef TARVO_FIELD_RADIO
#undef TARVO_FIELD_TEXT
#undef TARVO_FIELD_COMBO
#undef TARVO_FIELD_NUMBER
    return fields;
}

template <class Member>
const FieldInfo &findField(Member FieldInfo::*slot, Member member)
{
    const std::vector<FieldInfo> &fields = formFields();
    return *std::find_if(fields.begin(), fields.end(),
                         [&](const FieldInfo &field) { return field.*slot == member; });
}

// The form as the window starts: the boxes checked, and the texts filled.
const Flag kStartChecked[] = {
    &FormValue::tarvo_ZB,
    &FormValue::scanmode,
    &FormValue::keyboardOut,
    &FormValue::usbhidchoose,
    &FormValue::qrCheck,
    &FormValue::qrup,
    &FormValue::ledControl,
    &FormValue::intermode,
    &FormValue::buzzers,
    &FormValue::wgchartohex,
    &FormValue::nfcsuffform,
    &FormValue::nfc_beep,
    &FormValue::tenformout,
    &FormValue::fxout,
    &FormValue::idfx,
    &FormValue::vg26,
    &FormValue::tcpO,
    &FormValue::wiredtcp,
    &FormValue::Slightoffaction,
    &FormValue::Flightredaction,
    &FormValue::heart_on,
    &FormValue::oldpwcheck,
};
const std::pair<TextField, const char *> kStartTexts[] = {
    {&FormValue::baudRate, "115200"},
    {&FormValue::dataBit, "8"},
    {&FormValue::checkBit, "N"},
    {&FormValue::stopBit, "1"},
    {&FormValue::outbit, "1"},
    {&FormValue::outlen, "8"},
    {&FormValue::lineIntervaltime, "300"},
    {&FormValue::devnum, "0"},
    {&FormValue::beepinterval, "30"},
    {&FormValue::lightoffinterval, "200"},
    {&FormValue::tcpdelay, "2"},
    {&FormValue::httpdelay, "2"},
    {&FormValue::heart_time, "60"},
    // The host a reader pings while idle.
    {&FormValue::heart_content, "www.tarvo.com"},
};
constexpr int kStartBrightness = 200;

FormValue makeStartValue()
{
    FormValue start;
    for (Flag flag : kStartChecked)
        start.*flag = true;
    for (const auto &[field, text] : kStartTexts)
        start.*field = QLatin1String(text);
    start.brightadjust = kStartBrightness;
    return start;
}

} // namespace

bool FormValue::operator==(const FormValue &other) const
{
    for (const FieldInfo &field : formFields()) {
        const bool same = field.flag   ? this->*field.flag == other.*field.flag
                          : field.text ? this->*field.text == other.*field.text
                                       : this->*field.number == other.*field.number;
        if (!same)
            return false;
    }
    return true;
}

void FormValue::check(Flag button)
{
    const FieldInfo &field = fieldOf(button);
    if (field.kind == FieldInfo::Radio)
        for (const FieldInfo &other : formFields())
            if (other.set == field.set)
                this->*other.flag = false;
    this->*button = true;
}

bool FormValue::setChoice(TextField combo, const QString &text)
{
    if (!comboItems(combo).contains(text))
        return false;
    this->*combo = text;
    return true;
}

bool FormValue::setNumber(int FormValue::*number, int value)
{
    this->*number = std::clamp(value, kBrightnessMin, kBrightnessMax);
    return this->*number == value;
}

const std::vector<FieldInfo> &formFields()
{
    static const std::vector<FieldInfo> fields = makeFields();
    return fields;
}

const FieldInfo &fieldOf(Flag flag)
{
    return findField(&FieldInfo::flag, flag);
}

const FieldInfo &fieldOf(TextField text)
{
    return findField(&FieldInfo::text, text);
}

const QStringList &comboItems(TextField combo)
{
    static const QStringList baudRates = {"300", "2400", "4800", "9600", "19200", "38400", "57600", "115200"};
    static const QStringList parities = {"N", "O", "E"};
    static const QStringList dataBits = {"5", "6", "7", "8"};
    static const QStringList stopBits = {"1", "2"};
    static const QStringList startBytes = {"1", "2", "3", "4", "5", "6", "7", "8"};
    static const QStringList lengths = {"8", "7", "6", "5", "4", "3", "2", "1"};
    static const QStringList none;
    using V = FormValue;
    return combo == &V::baudRate   ? baudRates
           : combo == &V::checkBit ? parities
           : combo == &V::dataBit  ? dataBits
           : combo == &V::stopBit  ? stopBits
           : combo == &V::outbit   ? startBytes
           : combo == &V::outlen   ? lengths
                                   : none;
}

namespace {

bool isPassword(const FieldInfo &field)
{
    return field.page == Page::PasswordPage || field.text == &FormValue::manpw;
}

// The caption of the set's checked button, or nothing when none is.
QString chosenIn(const FormValue &value, RadioSet set)
{
    for (const FieldInfo &field : formFields())
        if (field.set == set && value.*field.flag)
            return QString::fromUtf8(field.words);
    return QString();
}

// A secret as a change shows it: asterisks for a Wi-Fi password (so that
// its change still shows), an address without its credentials.
QString shownText(const FieldInfo &field, const QString &text)
{
    if (field.text == &FormValue::wifipasswd)
        return text.isEmpty() ? text : QStringLiteral("********");
    if (field.text == &FormValue::httpaddr)
        return password_entry::addressWithoutCredentials(text);
    return text;
}

QString shown(const FormValue &value, const FieldInfo &field)
{
    switch (field.kind) {
    case FieldInfo::Check:
        return QString(QChar(value.*field.flag ? 0x2611 : 0x2610)); // ☑ or ☐
    case FieldInfo::Radio:
        return chosenIn(value, field.set);
    case FieldInfo::Text:
    case FieldInfo::Combo:
        return shownText(field, value.*field.text);
    case FieldInfo::Number:
        return QString::number(value.*field.number);
    }
    return QString();
}

} // namespace

std::vector<SettingChange> differences(const FormValue &before, const FormValue &after)
{
    std::vector<SettingChange> changes;
    std::vector<RadioSet> setsDone;
    for (const FieldInfo &field : formFields()) {
        if (isPassword(field))
            continue;
        const bool radio = field.kind == FieldInfo::Radio;
        if (radio && std::find(setsDone.begin(), setsDone.end(), field.set) != setsDone.end())
            continue;
        const QString was = shown(before, field);
        const QString now = shown(after, field);
        if (was == now)
            continue;
        if (radio)
            setsDone.push_back(field.set);
        changes.push_back({radio ? field.group : field.words, field.group, field.page, was, now,
                           field.kind == FieldInfo::Radio});
    }
    return changes;
}

FormValue withoutSecrets(FormValue value)
{
    value.wifipasswd.clear();
    value.httpaddr = password_entry::addressWithoutCredentials(value.httpaddr);
    return value;
}

const FormValue &startValue()
{
    static const FormValue start = makeStartValue();
    return start;
}

} // namespace config
