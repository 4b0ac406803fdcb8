#include "app/output_test_form.h"

#include "ui_widget.h"

namespace {

using output_test::Channel;

Channel chosenChannel(const Ui_Widget &form)
{
    if (form.serialOut->isChecked())
        return Channel::Serial;
    if (form.ttlOut->isChecked())
        return Channel::Ttl;
    if (form.weigenOut->isChecked())
        return Channel::Wiegand;
    if (form.wifiOut->isChecked())
        return form.httpO->isChecked() || form.httpOx->isChecked() ? Channel::Http : Channel::Tcp;
    if (form.ethernetOut->isChecked())
        return form.wiredhttp->isChecked() || form.wiredhttpx->isChecked() ? Channel::Http : Channel::Tcp;
    return Channel::Keyboard;
}

output_test::CardNumberForm cardNumberForm(const Ui_Widget &form)
{
    if (form.zjformout->isChecked())
        return output_test::CardNumberForm::Direct;
    if (form.hexformout->isChecked())
        return output_test::CardNumberForm::Hexadecimal;
    return output_test::CardNumberForm::Decimal;
}

} // namespace

output_test::Settings outputTestSettings(const Ui_Widget &form)
{
    output_test::Settings settings;
    settings.channel = chosenChannel(form);
    settings.tcpPort = form.tcpport->text().toUShort();
    settings.httpPort = output_test::httpPortOf(form.httpaddr->text());
    settings.baudRate = form.baudRate->currentText().toInt();
    settings.dataBits = form.dataBit->currentText().toInt();
    const QString parity = form.checkBit->currentText();
    settings.parity = parity.isEmpty() ? 'N' : parity.at(0).toLatin1();
    settings.stopBits = form.stopBit->currentText().toInt();
    const bool scanHex = form.hex_qhz->isChecked();
    settings.scanPrefix = {form.linePrefix->text(), scanHex};
    settings.scanSuffix = {form.lineSuffix->text(), scanHex};
    const bool cardHex = form.nfcpreform->isChecked();
    settings.cardPrefix = {form.nfcprefix->text(), cardHex};
    settings.cardSuffix = {form.nfcsuffix->text(), cardHex};
    settings.carriageReturn = form.enterCheck->isChecked();
    settings.lineFeed = form.wrapCheck->isChecked();
    if (form.heart_on->isChecked()) {
        settings.heartbeat = form.heart_content->text().toUtf8();
        settings.heartbeatSeconds = form.heart_time->text().toInt();
    }
    settings.cardNumberForm = cardNumberForm(form);
    settings.wiegandBits = form.vg34->isChecked() ? 34 : 26;
    return settings;
}
