#include "config/code_summary.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "config/form_bits.h"
#include "config/group_conditions.h"
#include "config/output_channels.h"
#include "config/password_entry.h"
#include "config/series.h"
#include "ui_widget.h"

namespace {

using W = Ui_Widget;

// The text of the first checked button of a table, or an empty string.
template <class Entry, std::size_t N>
QString checkedText(const W &form, const Entry (&table)[N])
{
    for (const Entry &entry : table)
        if ((form.*entry.button)->isChecked())
            return (form.*entry.button)->text();
    return QString();
}

QString serialLine(const W &form)
{
    return QStringList{form.baudRate->currentText(), form.dataBit->currentText(),
                       form.checkBit->currentText(), form.stopBit->currentText()}
        .join(QLatin1Char('-'));
}

// The transfer method and the server it sends to.
QStringList networkDetails(const W &form, const QString &method)
{
    QStringList details{method};
    if (group_conditions::tcpServerWritten(form))
        details << form.tcpaddr->text() + QLatin1Char(':') + form.tcpport->text();
    else if (group_conditions::httpServerWritten(form))
        details << password_entry::addressWithoutCredentials(form.httpaddr->text());
    return details;
}

// The channel's name followed by what a technician checks first on it.
QString channelLine(const W &form, SummaryWords words)
{
    QStringList parts;
    for (const output_channels::Channel &channel : output_channels::kChannels)
        if ((form.*channel.button)->isChecked())
            parts << (form.*channel.button)->text();
    if (form.serialOut->isChecked() || form.ttlOut->isChecked()) {
        parts << serialLine(form);
    } else if (form.wifiOut->isChecked()) {
        if (!form.wifiname->text().isEmpty())
            parts << words(QT_TRANSLATE_NOOP("config", "网络 ")) + form.wifiname->text();
        parts << networkDetails(form, checkedText(form, form_bits::kWifiMethods));
    } else if (form.ethernetOut->isChecked()) {
        parts << checkedText(form, form_bits::kIpModes);
        if (form.jtip->isChecked() && !form.ip_address->text().isEmpty())
            parts << form.ip_address->text();
        parts << networkDetails(form, checkedText(form, form_bits::kEthernetMethods));
    } else if (form.weigenOut->isChecked()) {
        parts << checkedText(form, form_bits::kWiegandFormats);
    }
    parts.removeAll(QString());
    return words(QT_TRANSLATE_NOOP("config", "输出方式："))
           + parts.join(words(QT_TRANSLATE_NOOP("config", "，")));
}

QString seriesName(const W &form)
{
    for (const series::Facts &facts : series::kSeries)
        if ((form.*facts.box)->isChecked())
            return (form.*facts.box)->text();
    return QString();
}

} // namespace

QString sourceWords(const char *source)
{
    return QString::fromUtf8(source);
}

QStringList codeSummary(const Ui_Widget &form, const QString &signedText, SummaryWords words)
{
    QStringList lines{words(QT_TRANSLATE_NOOP("config", "读头系列：")) + seriesName(form),
                      channelLine(form, words),
                      words(QT_TRANSLATE_NOOP("config", "工作模式："))
                          + checkedText(form, form_bits::kWorkModes)};
    if (password_entry::carriesPassword(signedText))
        lines << words(QT_TRANSLATE_NOOP("config", "包含新的配置密码"));
    return lines;
}
