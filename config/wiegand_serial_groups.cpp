#include <QStringList>

#include "app/widget.h"
#include "config/entries.h"
#include "config/form_bits.h"
#include "ui_widget.h"

// The Wiegand page: format (only with Wiegand output), output high, voltage.
void Widget::Wg_Config()
{
    using namespace entries;
    const Ui_Widget &form = *ui;
    QString &text = configText;

    if (form.weigenOut->isChecked())
        appendNumber(text, "vg", form_bits::maskOf(form, form_bits::kWiegandFormats));
    appendNumber(text, "awifi_s", form_bits::maskOf(form, form_bits::kWiegandSuccessActions));
    appendCheckedValues(text, form, "volctl", form_bits::kWiegandVoltages);
}

// The serial line as baud-data-parity-stop, for the first UART or, when a
// series that has one sends over TTL, for the second.
void Widget::Serial_Config()
{
    const Ui_Widget &form = *ui;
    const QString line = QStringList{form.baudRate->currentText(), form.dataBit->currentText(),
                                     form.checkBit->currentText(), form.stopBit->currentText()}
                             .join(QLatin1Char('-'));
    const bool secondUart = form_bits::anyChecked(form, form_bits::kSecondUartSeries)
                            && (form.ttlOut->isChecked() || form.ttlchoose->isChecked());
    entries::appendQuoted(configText, secondUart ? "p_uart2" : "p_uart1", line);
}
