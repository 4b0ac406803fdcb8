#include <QStringList>

#include "config/entries.h"
#include "config/form_bits.h"
#include "config/form_value.h"
#include "config/groups.h"
#include "config/series.h"

namespace config {

void appendWiegandGroup(const config::FormValue &form, QString &text)
{
    using namespace entries;

    if (form.weigenOut)
        appendNumber(text, "vg", form_bits::maskOf(form, form_bits::kWiegandFormats));
    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kWiegandSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kWiegandVoltages);
}

void appendSerialGroup(const config::FormValue &form, QString &text)
{
    const QString line =
        QStringList{form.baudRate, form.dataBit, form.checkBit, form.stopBit}.join(QLatin1Char('-'));
    const bool secondUart =
        series::checkedSeries(form, &series::Facts::secondUart) && (form.ttlOut || form.ttlchoose);
    entries::appendQuoted(text, secondUart ? "p_uart2" : "p_uart1", line);
}

} // namespace config
