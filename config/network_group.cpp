#include "config/entries.h"
#include "config/form_bits.h"
#include "config/group_conditions.h"
#include "config/groups.h"
#include "ui_widget.h"

namespace {

// ip_mode of a form with neither address mode chosen: dynamic.
constexpr int kDynamicAddress = 0;

// The TCP server and the heartbeat, written while a TCP method is chosen.
void appendTcpPart(const Ui_Widget &form, QString &text)
{
    using namespace entries;
    if (group_conditions::tcpServerWritten(form)) {
        appendQuoted(text, "taddr", form.tcpaddr->text());
        appendBare(text, "port", form.tcpport->text());
        appendBare(text, "touttime", form.tcpdelay->text());
    }
    for (const ValueButton<QRadioButton> &choice : form_bits::kHeartbeat) {
        if (!(form.*choice.button)->isChecked())
            continue;
        appendNumber(text, "heart_en", choice.value);
        if (choice.button == &Ui_Widget::heart_on) {
            if (!form.heart_time->text().isEmpty())
                appendBare(text, "heart_time", form.heart_time->text());
            if (!form.heart_content->text().isEmpty())
                appendQuoted(text, "heart_data", form.heart_content->text());
        }
    }
}

// The wired method and, for a static address, the address entries.
void appendEthernetPart(const Ui_Widget &form, QString &text)
{
    using namespace entries;
    appendNumber(text, "eth", form_bits::maskOf(form, form_bits::kEthernetMethods));
    appendNumber(text, "ip_mode", form_bits::checkedValue(form, form_bits::kIpModes, kDynamicAddress));
    if (!form.jtip->isChecked())
        return;
    // Readers take the address key with a blank in front of it.
    if (!form.ip_address->text().isEmpty())
        appendQuoted(text, " ip", form.ip_address->text());
    if (!form.ip_mask->text().isEmpty())
        appendQuoted(text, "mask", form.ip_mask->text());
    if (!form.ip_gateway->text().isEmpty())
        appendQuoted(text, "gateway", form.ip_gateway->text());
}

} // namespace

namespace config {

void appendNetworkGroup(const Ui_Widget &form, QString &text)
{
    using namespace entries;

    if (form.wifiOut->isChecked()) {
        const QString name = form.wifiname->text();
        if (!name.isEmpty()) {
            appendQuoted(text, "ssid", name);
            appendQuoted(text, "psk", form.wifipasswd->text());
        }
        appendNumber(text, "owifi", form_bits::maskOf(form, form_bits::kWifiMethods));
    }
    if (group_conditions::tcpChosen(form))
        appendTcpPart(form, text);
    if (group_conditions::httpServerWritten(form)) {
        appendQuoted(text, "haddr", form.httpaddr->text());
        if (!form.httpdelay->text().isEmpty())
            appendBare(text, "houttime", form.httpdelay->text());
    }
    if (form.ethernetOut->isChecked())
        appendEthernetPart(form, text);

    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kUploadSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kNetworkVoltages);
    appendNumber(text, "awifi_f", form_bits::maskOf(form, form_bits::kUploadFailureActions));
}

} // namespace config
