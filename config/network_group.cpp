#include "config/entries.h"
#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/group_conditions.h"
#include "config/groups.h"

namespace {

using field_rules::append;

// ip_mode of a form with neither address mode chosen: dynamic.
constexpr int kDynamicAddress = 0;

// The TCP server and the heartbeat, written while a TCP method is chosen.
void appendTcpPart(const config::FormValue &form, QString &text)
{
    using namespace entries;
    if (group_conditions::tcpServerWritten(form)) {
        append(text, form, &config::FormValue::tcpaddr);
        append(text, form, &config::FormValue::tcpport);
        append(text, form, &config::FormValue::tcpdelay);
    }
    for (const ValueButton &choice : form_bits::kHeartbeat) {
        if (!(form.*choice.button))
            continue;
        appendNumber(text, "heart_en", choice.value);
        if (choice.button == &config::FormValue::heart_on) {
            if (!form.heart_time.isEmpty())
                append(text, form, &config::FormValue::heart_time);
            if (!form.heart_content.isEmpty())
                append(text, form, &config::FormValue::heart_content);
        }
    }
}

// The wired method and, for a static address, the address entries.
void appendEthernetPart(const config::FormValue &form, QString &text)
{
    using namespace entries;
    appendNumber(text, "eth", form_bits::maskOf(form, form_bits::kEthernetMethods));
    appendNumber(text, "ip_mode", form_bits::checkedValue(form, form_bits::kIpModes, kDynamicAddress));
    if (!form.jtip)
        return;
    for (field_rules::Field field :
         {&config::FormValue::ip_address, &config::FormValue::ip_mask, &config::FormValue::ip_gateway})
        if (!(form.*field).isEmpty())
            append(text, form, field);
}

} // namespace

namespace config {

void appendNetworkGroup(const config::FormValue &form, QString &text)
{
    using namespace entries;

    if (form.wifiOut) {
        if (!form.wifiname.isEmpty()) {
            append(text, form, &config::FormValue::wifiname);
            append(text, form, &config::FormValue::wifipasswd);
        }
        appendNumber(text, "owifi", form_bits::maskOf(form, form_bits::kWifiMethods));
    }
    if (group_conditions::tcpChosen(form))
        appendTcpPart(form, text);
    if (group_conditions::httpServerWritten(form)) {
        append(text, form, &config::FormValue::httpaddr);
        if (!form.httpdelay.isEmpty())
            append(text, form, &config::FormValue::httpdelay);
    }
    if (form.ethernetOut)
        appendEthernetPart(form, text);

    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kUploadSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kNetworkVoltages);
    appendNumber(text, "awifi_f", form_bits::maskOf(form, form_bits::kUploadFailureActions));
}

} // namespace config
