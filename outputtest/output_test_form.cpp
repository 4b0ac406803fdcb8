#include "outputtest/output_test_form.h"


namespace {

using output_test::Channel;

Channel chosenChannel(const config::FormValue &form)
{
    if (form.serialOut)
        return Channel::Serial;
    if (form.ttlOut)
        return Channel::Ttl;
    if (form.weigenOut)
        return Channel::Wiegand;
    if (form.wifiOut)
        return form.httpO || form.httpOx ? Channel::Http : Channel::Tcp;
    if (form.ethernetOut)
        return form.wiredhttp || form.wiredhttpx ? Channel::Http : Channel::Tcp;
    return Channel::Keyboard;
}

output_test::CardNumberForm cardNumberForm(const config::FormValue &form)
{
    if (form.zjformout)
        return output_test::CardNumberForm::Direct;
    if (form.hexformout)
        return output_test::CardNumberForm::Hexadecimal;
    return output_test::CardNumberForm::Decimal;
}

} // namespace

output_test::Settings outputTestSettings(const config::FormValue &form)
{
    output_test::Settings settings;
    settings.channel = chosenChannel(form);
    settings.tcpPort = form.tcpport.toUShort();
    settings.httpPort = output_test::httpPortOf(form.httpaddr);
    settings.baudRate = form.baudRate.toInt();
    settings.dataBits = form.dataBit.toInt();
    const QString parity = form.checkBit;
    settings.parity = parity.isEmpty() ? 'N' : parity.at(0).toLatin1();
    settings.stopBits = form.stopBit.toInt();
    const bool scanHex = form.hex_qhz;
    settings.scanPrefix = {form.linePrefix, scanHex};
    settings.scanSuffix = {form.lineSuffix, scanHex};
    const bool cardHex = form.nfcpreform;
    settings.cardPrefix = {form.nfcprefix, cardHex};
    settings.cardSuffix = {form.nfcsuffix, cardHex};
    settings.carriageReturn = form.enterCheck;
    settings.lineFeed = form.wrapCheck;
    if (form.heart_on) {
        settings.heartbeat = form.heart_content.toUtf8();
        settings.heartbeatSeconds = form.heart_time.toInt();
    }
    settings.cardNumberForm = cardNumberForm(form);
    settings.wiegandBits = form.vg34 ? 34 : 26;
    return settings;
}
