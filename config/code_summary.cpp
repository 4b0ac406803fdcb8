#include "config/code_summary.h"


#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/group_conditions.h"
#include "config/output_channels.h"
#include "config/password_entry.h"
#include "config/series.h"

namespace {

using W = config::FormValue;

// The caption of the first checked button of a table, or an empty string.
template <class Entry, std::size_t N>
QString checkedText(const W &form, const Entry (&table)[N], SummaryWords words)
{
    for (const Entry &entry : table)
        if (form.*entry.button)
            return words(config::fieldOf(entry.button).words);
    return QString();
}

QString serialLine(const W &form)
{
    return QStringList{form.baudRate, form.dataBit, form.checkBit, form.stopBit}.join(QLatin1Char('-'));
}

// The transfer method and the server it sends to.
QStringList networkDetails(const W &form, const QString &method)
{
    QStringList details{method};
    if (group_conditions::tcpServerWritten(form))
        details << form.tcpaddr + QLatin1Char(':') + form.tcpport;
    else if (group_conditions::httpServerWritten(form))
        details << password_entry::addressWithoutCredentials(form.httpaddr);
    return details;
}

// The channel's name followed by what a technician checks first on it.
QString channelLine(const W &form, SummaryWords words)
{
    QStringList parts;
    for (const output_channels::Channel &channel : output_channels::kChannels)
        if (form.*channel.button)
            parts << words(config::fieldOf(channel.button).words);
    if (form.serialOut || form.ttlOut) {
        parts << serialLine(form);
    } else if (form.wifiOut) {
        if (!form.wifiname.isEmpty())
            parts << words(QT_TRANSLATE_NOOP("config", "网络 ")) + form.wifiname;
        parts << networkDetails(form, checkedText(form, form_bits::kWifiMethods, words));
    } else if (form.ethernetOut) {
        parts << checkedText(form, form_bits::kIpModes, words);
        if (form.jtip && !form.ip_address.isEmpty())
            parts << form.ip_address;
        parts << networkDetails(form, checkedText(form, form_bits::kEthernetMethods, words));
    } else if (form.weigenOut) {
        parts << checkedText(form, form_bits::kWiegandFormats, words);
    }
    parts.removeAll(QString());
    return words(QT_TRANSLATE_NOOP("config", "输出方式："))
           + parts.join(words(QT_TRANSLATE_NOOP("config", "，")));
}

QString seriesName(const W &form, SummaryWords words)
{
    for (const series::Facts &facts : series::kSeries)
        if (form.*facts.box)
            return words(config::fieldOf(facts.box).words);
    return QString();
}

} // namespace

QString sourceWords(const char *source)
{
    return QString::fromUtf8(source);
}

QStringList codeSummary(const config::FormValue &form, const QString &signedText, SummaryWords words)
{
    QStringList lines{words(QT_TRANSLATE_NOOP("config", "读头系列：")) + seriesName(form, words),
                      channelLine(form, words),
                      words(QT_TRANSLATE_NOOP("config", "工作模式："))
                          + checkedText(form, form_bits::kWorkModes, words)};
    if (password_entry::carriesPassword(signedText))
        lines << words(QT_TRANSLATE_NOOP("config", "包含新的配置密码"));
    return lines;
}
