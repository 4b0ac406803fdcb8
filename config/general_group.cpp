#include "config/entries.h"
#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/group_conditions.h"
#include "config/groups.h"

namespace {

// s_mode of the WT series, which only scans once per trigger.
constexpr int kSingleScan = 1;

} // namespace

namespace config {

void appendGeneralGroup(const config::FormValue &form, QString &text)
{
    using namespace entries;

    appendNumber(text, "de_type", form_bits::maskOf(form, form_bits::kSymbologies));
    appendNumber(text, "cr", form.enterCheck ? 1 : 0);
    appendNumber(text, "nl", form.wrapCheck ? 1 : 0);
    // The WT series has its light on whatever the box says.
    appendNumber(text, "wled", form.tarvo_WT || form.ledControl ? 1 : 0);

    using field_rules::append;
    append(text, form, &config::FormValue::linePrefix);
    append(text, form, &config::FormValue::lineSuffix);
    appendCheckedValues(text, form, "chorc", form_bits::kAffixFormats);

    if (group_conditions::intervalWritten(form)) {
        appendCheckedValues(text, form, "s_mode", form_bits::kScanModes);
        append(text, form, &config::FormValue::lineIntervaltime);
    } else {
        appendNumber(text, "s_mode", kSingleScan);
    }

    append(text, form, &config::FormValue::devnum);
    appendNumber(text, "brightness", form.brightadjust);
    appendNumber(text, "ascan", form_bits::maskOf(form, form_bits::kScanFeedback));
    appendNumber(text, "decoder", form_bits::maskOf(form, form_bits::kDecoder));
    append(text, form, &config::FormValue::beepinterval);
    append(text, form, &config::FormValue::lightoffinterval);
    appendNumber(text, "ft", form_bits::maskOf(form, form_bits::kScanOutputFormats));
}

} // namespace config
