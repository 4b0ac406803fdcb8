#include <QStringList>

#include "config/groups.h"
#include "config/series.h"
#include "config/entries.h"
#include "config/form_bits.h"
#include "ui_widget.h"

namespace config {

void appendWiegandGroup(const Ui_Widget &form, QString &text)
{
    using namespace entries;

    if (form.weigenOut->isChecked())
        appendNumber(text, "vg", form_bits::maskOf(form, form_bits::kWiegandFormats));
    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kWiegandSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kWiegandVoltages);
}

void appendSerialGroup(const Ui_Widget &form, QString &text)
{
    const QString line = QStringList{form.baudRate->currentText(), form.dataBit->currentText(),
                                     form.checkBit->currentText(), form.stopBit->currentText()}
                             .join(QLatin1Char('-'));
    const bool secondUart = series::checkedSeries(form, &series::Facts::secondUart)
                            && (form.ttlOut->isChecked() || form.ttlchoose->isChecked());
    entries::appendQuoted(text, secondUart ? "p_uart2" : "p_uart1", line);
}

} // namespace config
