#include "config/entries.h"
#include "config/field_rules.h"
#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/groups.h"

namespace config {

void appendNfcGroup(const config::FormValue &form, QString &text)
{
    using namespace entries;

    if (!form.nfcable) {
        appendNumber(text, "nfc", 0);
        return;
    }
    appendNumber(text, "nfc", 1);
    appendNumber(text, "anfc", form_bits::maskOf(form, form_bits::kCardActions));
    appendCheckedValues(text, form, "ord", form_bits::kCardOrders);
    appendCheckedValues(text, form, "idord", form_bits::kIdCardOrders);
    appendBare(text, "st", form.outbit);
    appendBare(text, "len", form.outlen);
    field_rules::append(text, form, &config::FormValue::nfcprefix);
    field_rules::append(text, form, &config::FormValue::nfcsuffix);
    appendCheckedValues(text, form, "horc", form_bits::kCardAffixFormats);
    appendCheckedValues(text, form, "nft", form_bits::kCardNumberFormats);
}

} // namespace config
