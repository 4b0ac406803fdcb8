#include "config/groups.h"
#include "config/entries.h"
#include "config/form_bits.h"
#include "config/group_conditions.h"
#include "ui_widget.h"

namespace {

// s_mode of the WT series, which only scans once per trigger.
constexpr int kSingleScan = 1;

// key=<text>, or key=<emptyValue>, when the field is empty.
void appendBareOr(QString &text, const char *key, const QString &value, const char *emptyValue)
{
    entries::appendBare(text, key, value.isEmpty() ? QLatin1String(emptyValue) : value);
}

} // namespace

namespace config {

void appendGeneralGroup(const Ui_Widget &form, QString &text)
{
    using namespace entries;

    appendNumber(text, "de_type", form_bits::maskOf(form, form_bits::kSymbologies));
    appendNumber(text, "cr", form.enterCheck->isChecked() ? 1 : 0);
    appendNumber(text, "nl", form.wrapCheck->isChecked() ? 1 : 0);
    // The WT series has its light on whatever the box says.
    appendNumber(text, "wled", form.tarvo_WT->isChecked() || form.ledControl->isChecked() ? 1 : 0);

    const QString prefix = form.linePrefix->text();
    const QString suffix = form.lineSuffix->text();
    const QString interval = form.lineIntervaltime->text();
    appendQuoted(text, "prefix", prefix);
    appendQuoted(text, "postfix", suffix);
    appendCheckedValues(text, form, "chorc", form_bits::kAffixFormats);

    if (group_conditions::intervalWritten(form)) {
        appendCheckedValues(text, form, "s_mode", form_bits::kScanModes);
        appendBareOr(text, "interval", interval, "0");
    } else {
        appendNumber(text, "s_mode", kSingleScan);
    }

    appendBareOr(text, "devnum", form.devnum->text(), "''");
    appendNumber(text, "brightness", form.brightadjust->value());
    appendNumber(text, "ascan", form_bits::maskOf(form, form_bits::kScanFeedback));
    appendNumber(text, "decoder", form_bits::maskOf(form, form_bits::kDecoder));
    // Empty delays fall back to the values the form starts with.
    appendBareOr(text, "beepd", form.beepinterval->text(), "30");
    appendBareOr(text, "ledd", form.lightoffinterval->text(), "200");
    appendNumber(text, "ft", form_bits::maskOf(form, form_bits::kScanOutputFormats));
}

} // namespace config
