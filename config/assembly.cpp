#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <QDebug>
#include <QLoggingCategory>

#include "config/assembly.h"
#include "config/entries.h"
#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/groups.h"
#include "config/output_channels.h"
#include "config/password_entry.h"
#include "config/series.h"
#include "crypto/base64.h"
#include "crypto/hmac_md5.h"

namespace {

using config::Refusal;

const QLatin1String kEnvelopeHead("___TRVO_CONFIG_V1.1.0___{");

using output_channels::Group;

// Why a requested password change cannot go ahead, with the field to
// correct, or nothing when it can.
std::optional<Refusal> newPasswordProblem(const QString &password, const QString &confirmation)
{
    const auto problem = [](const char *text, config::TextField field) {
        Refusal refusal = config::refused(text);
        refusal.field = field;
        return refusal;
    };
    if (password != confirmation)
        return problem(QT_TRANSLATE_NOOP("config", "输入的新密码不一致"), &config::FormValue::confimpw);
    if (const char *why = password_entry::newPasswordProblem(password))
        return problem(why, &config::FormValue::newpw);
    return std::nullopt;
}

// The mode entries of the work modes checked: scan mode's alone, or every
// other mode's.
void appendModeEntries(const config::FormValue &form, QString &text, bool scanMode)
{
    for (const WorkMode &mode : form_bits::kWorkModes) {
        if ((mode.button == &config::FormValue::scanmode) != scanMode || !(form.*mode.button))
            continue;
        entries::appendNumber(text, "chk_env", mode.checkEnvironment);
        if (form.tarvo_KS)
            entries::appendNumber(text, "usb_mode", mode.usbMode);
    }
}

// Each checked channel's groups, in channel order. Where the NFC group is
// left out the build says so in the debug log; a quiet build does not.
void appendChannelGroups(const config::FormValue &form, QString &text, bool quiet)
{
    const bool nfcLeftOut = series::checkedSeries(form, &series::Facts::nfcEntries, false);
    for (const output_channels::Channel &channel : output_channels::kChannels) {
        if (!(form.*channel.button))
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
                else if (channel.button != &config::FormValue::keyboardOut && !quiet)
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
QString assembleBody(const config::FormValue &form, bool quiet)
{
    QString text;
    appendModeEntries(form, text, true);
    appendChannelGroups(form, text, quiet);
    entries::appendNumber(text, "ochannel", form_bits::maskOf(form, output_channels::kChannels));
    appendModeEntries(form, text, false);
    entries::appendNumber(text, "dchannel", form_bits::maskOf(form, form_bits::kConfigChannels));
    text += QLatin1String("w_mode=");
    text += QString::number(form_bits::maskOf(form, form_bits::kWorkModes), 10);
    return text;
}

// The body in its envelope, with a password change entry or none.
QString envelope(const QString &body, const QString &passwordChange)
{
    return kEnvelopeHead + body + passwordChange + QLatin1Char('}');
}

} // namespace

namespace config {

Assembly sign(const QString &unsignedText, const QString &password)
{
    char digest[HMAC_MD5_DIGEST_SIZE + 1];
    if (std::optional<Refusal> refused = config::signDigest(unsignedText, password, digest))
        return {QString(), std::move(refused)};
    // A failed allocation leaves the signature empty and the text ending in "--".
    char *signature = base64_encode(reinterpret_cast<const unsigned char *>(digest), HMAC_MD5_DIGEST_SIZE);
    const QString text = unsignedText + QLatin1String("--") + QString::fromLatin1(signature);
    std::free(signature);
    return {text, std::nullopt};
}

QString unsignedText(const config::FormValue &form)
{
    return envelope(assembleBody(form, true), form.changepwcheck ? password_entry::entry(form.newpw) : QString());
}

namespace {

Refusal fieldRefusal(const field_rules::FieldRule &rule, const field_rules::Problem &problem)
{
    Refusal refusal = refused(rule.label);
    refusal.text = QString::fromUtf8(rule.label) + problem.text();
    refusal.field = rule.field;
    refusal.fieldLabel = rule.label;
    refusal.reason = problem.reason;
    refusal.reasonNumber = problem.number;
    return refusal;
}

} // namespace

Assembly envelop(const config::FormValue &form, PasswordChange change)
{
    if (const field_rules::FieldRule *broken = field_rules::firstBroken(form))
        return {QString(), fieldRefusal(*broken, field_rules::problem(form, *broken))};

    const QString body = assembleBody(form, false);
    QString passwordChange;
    if (change == PasswordChange::AsForm && form.changepwcheck) {
        if (std::optional<Refusal> problem = newPasswordProblem(form.newpw, form.confimpw))
            return {QString(), std::move(problem)};
        passwordChange = password_entry::entry(form.newpw);
    }
    return {envelope(body, passwordChange), std::nullopt};
}

Assembly assemble(const config::FormValue &form)
{
    const Assembly enveloped = envelop(form, PasswordChange::AsForm);
    if (enveloped.refusal)
        return enveloped;

    // Masking the text for the log costs more than signing it.
    if (QLoggingCategory::defaultCategory()->isDebugEnabled()) {
        qDebug() << "------hamc签名前数据start------";
        qDebug() << password_entry::configTextForLog(enveloped.text);
        qDebug() << "------hamc签名前数据end------";
    }
    return sign(enveloped.text, form.manpw);
}

} // namespace config
