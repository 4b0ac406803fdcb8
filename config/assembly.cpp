#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <QDebug>

#include "config/assembly.h"
#include "config/entries.h"
#include "config/form_bits.h"
#include "config/group_conditions.h"
#include "config/groups.h"
#include "config/output_channels.h"
#include "config/password_entry.h"
#include "config/series.h"
#include "crypto/base64.h"
#include "crypto/hmac_md5.h"
#include "ui_widget.h"

namespace {

using config::Refusal;

const QLatin1String kEnvelopeHead("___TRVO_CONFIG_V1.1.0___{");

using output_channels::Group;

bool groupRuns(const Ui_Widget &ui, Group group)
{
    for (const output_channels::Channel &channel : output_channels::kChannels)
        if ((ui.*channel.button)->isChecked()
            && std::find(std::begin(channel.groups), std::end(channel.groups), group)
                   != std::end(channel.groups))
            return true;
    return false;
}

// Fields whose text goes into the configuration without quotes. A comma in
// one would end its entry early and let the rest of the text pass for an
// entry of its own, so such a text is refused when it would be written.
struct BareField
{
    QLineEdit *Ui_Widget::*field;
    const char *label; // as the form names the field
    Group group;
    bool (*written)(const Ui_Widget &);
};

bool always(const Ui_Widget &)
{
    return true;
}

// In the order the entries stand in the text.
const BareField kBareFields[] = {
    {&Ui_Widget::lineIntervaltime, "间隔时间(毫秒)", Group::General, group_conditions::intervalWritten},
    {&Ui_Widget::devnum, "设备号", Group::General, always},
    {&Ui_Widget::beepinterval, "蜂鸣延迟", Group::General, always},
    {&Ui_Widget::lightoffinterval, "闪灯延迟", Group::General, always},
    {&Ui_Widget::tcpport, "TCP端口号", Group::Network, group_conditions::tcpServerWritten},
    {&Ui_Widget::tcpdelay, "TCP接收超时（秒）", Group::Network, group_conditions::tcpServerWritten},
    {&Ui_Widget::heart_time, "心跳包时间", Group::Network, group_conditions::heartbeatWritten},
    {&Ui_Widget::httpdelay, "HTTP接收超时（秒）", Group::Network, group_conditions::httpServerWritten},
};

// The label of the first field the build would write bare with a comma in
// it, or null when there is none.
const char *bareFieldWithComma(const Ui_Widget &ui)
{
    for (const BareField &bare : kBareFields)
        if ((ui.*bare.field)->text().contains(QLatin1Char(',')) && groupRuns(ui, bare.group)
            && bare.written(ui))
            return bare.label;
    return nullptr;
}

// A new password is typed again later to sign every configuration; only
// printable ASCII is sure to come out as the same bytes then.
bool printableAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7e; });
}

// Why a requested password change cannot go ahead, or null when it can.
const char *newPasswordProblem(const QString &password, const QString &confirmation)
{
    if (password != confirmation)
        return "输入的新密码不一致";
    if (password.size() != password_entry::kLength)
        return "新密码的长度需要为16个字符";
    if (!printableAscii(password))
        return "新密码只能包含英文字母、数字、空格和英文符号";
    return nullptr;
}

Refusal refusal(const QString &text)
{
    return {QStringLiteral("注意"), text};
}

// The mode entries of the work modes checked: scan mode's alone, or every
// other mode's.
void appendModeEntries(const Ui_Widget &form, QString &text, bool scanMode)
{
    for (const WorkMode &mode : form_bits::kWorkModes) {
        if ((mode.button == &Ui_Widget::scanmode) != scanMode || !(form.*mode.button)->isChecked())
            continue;
        entries::appendNumber(text, "chk_env", mode.checkEnvironment);
        if (form.tarvo_KS->isChecked())
            entries::appendNumber(text, "usb_mode", mode.usbMode);
    }
}

// Each checked channel's groups, in channel order.
void appendChannelGroups(const Ui_Widget &form, QString &text)
{
    const bool nfcLeftOut = series::checkedSeries(form, &series::Facts::nfcEntries, false);
    for (const output_channels::Channel &channel : output_channels::kChannels) {
        if (!(form.*channel.button)->isChecked())
            continue;
        for (Group group : channel.groups) {
            switch (group) {
            case Group::General:
                config::appendGeneralGroup(form, text);
                break;
            case Group::Serial:
                config::appendSerialGroup(form, text);
                break;
            case Group::Nfc:
                if (!nfcLeftOut)
                    config::appendNfcGroup(form, text);
                else if (channel.button != &Ui_Widget::keyboardOut)
                    qDebug() << "hello";
                break;
            case Group::Network:
                config::appendNetworkGroup(form, text);
                break;
            case Group::Wiegand:
                config::appendWiegandGroup(form, text);
                break;
            case Group::None:
                break;
            }
        }
    }
}

// The entries between the envelope's braces, before any password change.
QString assembleBody(const Ui_Widget &form)
{
    QString text;
    appendModeEntries(form, text, true);
    appendChannelGroups(form, text);
    entries::appendNumber(text, "ochannel", form_bits::maskOf(form, output_channels::kChannels));
    appendModeEntries(form, text, false);
    entries::appendNumber(text, "dchannel", form_bits::maskOf(form, form_bits::kConfigChannels));
    text += QLatin1String("w_mode=");
    text += QString::number(form_bits::maskOf(form, form_bits::kWorkModes), 10);
    return text;
}

// The enveloped text with "--" and its signature's Base64 after it.
config::Assembly sign(const QString &enveloped, const QString &password)
{
    char digest[HMAC_MD5_DIGEST_SIZE + 1];
    if (std::optional<Refusal> refused = config::signDigest(enveloped, password, digest))
        return {QString(), std::move(refused)};
    // A failed allocation leaves the signature empty and the text ending in "--".
    char *signature = base64_encode(reinterpret_cast<const unsigned char *>(digest),
                                    HMAC_MD5_DIGEST_SIZE);
    const QString text = enveloped + QLatin1String("--") + QString::fromLatin1(signature);
    std::free(signature);
    return {text, std::nullopt};
}

} // namespace

namespace config {

Assembly assemble(const Ui_Widget &form)
{
    if (const char *label = bareFieldWithComma(form))
        return {QString(), refusal(QString::fromUtf8(label) + QStringLiteral("不能包含英文逗号(,)"))};

    const QString body = assembleBody(form);
    QString passwordChange;
    if (form.changepwcheck->isChecked()) {
        const QString newPassword = form.newpw->text();
        if (const char *problem = newPasswordProblem(newPassword, form.confimpw->text()))
            return {QString(), refusal(QString::fromUtf8(problem))};
        passwordChange = password_entry::entry(newPassword);
    }
    const QString enveloped = kEnvelopeHead + body + passwordChange + QLatin1Char('}');

    qDebug() << "------hamc签名前数据start------";
    qDebug() << password_entry::configTextForLog(enveloped);
    qDebug() << "------hamc签名前数据end------";
    return sign(enveloped, form.manpw->text());
}

} // namespace config
