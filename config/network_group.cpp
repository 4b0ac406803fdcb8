#include "config/entries.h"
#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/group_conditions.h"
#include "config/groups.h"
#include "ui_widget.h"

namespace {

using field_rules::append;

// ip_mode of a form with neither address mode chosen: dynamic.
constexpr int kDynamicAddress = 0;

// The TCP server and the heartbeat, written while a TCP method is chosen.
void appendTcpPart(const Ui_Widget &form, QString &text)
{
    using namespace entries;
    if (group_conditions::tcpServerWritten(form)) {
        append(text, form, &Ui_Widget::tcpaddr);
        append(text, form, &Ui_Widget::tcpport);
        append(text, form, &Ui_Widget::tcpdelay);
    }
    for (const ValueButton<QRadioButton> &choice : form_bits::kHeartbeat) {
        if (!(form.*choice.button)->isChecked())
            continue;
        appendNumber(text, "heart_en", choice.value);
        if (choice.button == &Ui_Widget::heart_on) {
            if (!form.heart_time->text().isEmpty())
                append(text, form, &Ui_Widget::heart_time);
            if (!form.heart_content->text().isEmpty())
                append(text, form, &Ui_Widget::heart_content);
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
    for (field_rules::Field field : {&Ui_Widget::ip_address, &Ui_Widget::ip_mask, &Ui_Widget::ip_gateway})
        if (!(form.*field)->text().isEmpty())
            append(text, form, field);
}

} // namespace

namespace config {

void appendNetworkGroup(const Ui_Widget &form, QString &text)
{
    using namespace entries;

    if (form.wifiOut->isChecked()) {
        if (!form.wifiname->text().isEmpty()) {
            append(text, form, &Ui_Widget::wifiname);
            append(text, form, &Ui_Widget::wifipasswd);
        }
        appendNumber(text, "owifi", form_bits::maskOf(form, form_bits::kWifiMethods));
    }
    if (group_conditions::tcpChosen(form))
        appendTcpPart(form, text);
    if (group_conditions::httpServerWritten(form)) {
        append(text, form, &Ui_Widget::httpaddr);
        if (!form.httpdelay->text().isEmpty())
            append(text, form, &Ui_Widget::httpdelay);
    }
    if (form.ethernetOut->isChecked())
        appendEthernetPart(form, text);

    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kUploadSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kNetworkVoltages);
    appendNumber(text, "awifi_f", form_bits::maskOf(form, form_bits::kUploadFailureActions));
}

} // namespace config
