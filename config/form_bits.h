#ifndef TARVO_CONFIG_FORM_BITS_H
#define TARVO_CONFIG_FORM_BITS_H

// How buttons of the form map to the numbers of the configuration text.
// The group builders read these tables to write a mask or a value, and the
// reader import reads the same tables to set the buttons back, so that one
// table serves both directions.

#include <cstddef>

#include "config/form_value.h"

// A button of the form and the bits it stands for in a mask entry.
struct MaskBit
{
    config::Flag button;
    int bits;
};

// A button of the form and the value an entry holds when it is checked.
struct ValueButton
{
    config::Flag button;
    int value;
};

// A work mode: its bit in w_mode and the values of its chk_env and usb_mode
// entries.
struct WorkMode
{
    config::Flag button;
    int bits;
    int checkEnvironment;
    int usbMode;
};

namespace form_bits {

using W = config::FormValue;

// de_type: symbologies, in the order the builder reads them. "条码" stands
// for five linear symbologies at once.
inline constexpr MaskBit kSymbologies[] = {
    {&W::qrCheck, 1},       {&W::code128Check, 64}, {&W::databarCheck, 128}, {&W::databar_expCheck, 256},
    {&W::pdf417Check, 512}, {&W::dmCheck, 1024},    {&W::itfCheck, 2048},    {&W::isbn10Check, 4096},
    {&W::upceCheck, 8192},  {&W::upcaCheck, 16384}, {&W::barCheck, 62},
};

// ascan: what the reader does after a scan.
inline constexpr MaskBit kScanFeedback[] = {
    {&W::buzzers, 1},    {&W::lightoff, 2},    {&W::redlight, 4},
    {&W::greenlight, 8}, {&W::pay_light, 256}, {&W::pay_light_play, 512},
};

// decoder: decoding enhancement.
inline constexpr MaskBit kDecoder[] = {
    {&W::qrup, 3},
    {&W::barup, 16},
};

// ft: scan output format, in rising bit order.
inline constexpr MaskBit kScanOutputFormats[] = {
    {&W::wgchartohex, 1},     {&W::wgchartohexf, 2}, {&W::wgcharhextohex, 4},
    {&W::wgcharhextohexf, 8}, {&W::tentopidvid, 16}, {&W::tentopidvidf, 32},
};

// w_mode: work modes, in rising bit order, each with the chk_env and
// usb_mode values it writes (usb_mode only for the KS series).
inline constexpr WorkMode kWorkModes[] = {
    {&W::scanmode, 1, 0, 1}, {&W::developmode, 2, 0, 1}, {&W::ganyingmode, 32, 0, 1},
    {&W::paymode, 64, 0, 0}, {&W::gunmode, 128, 1, 1},
};

// dchannel: configuration (development) channels, in rising bit order.
inline constexpr MaskBit kConfigChannels[] = {
    {&W::usbhidchoose, 1},     {&W::serialchoose, 2}, {&W::ttlchoose, 4},
    {&W::serialdragxieyi, 32}, {&W::tarvoxy, 64},
};

// owifi: Wi-Fi transfer method. HTTP is the low bit here, TCP in eth.
inline constexpr MaskBit kWifiMethods[] = {
    {&W::httpO, 1},
    {&W::httpOx, 2},
    {&W::tcpO, 4},
    {&W::tcpOx, 8},
};

// eth: wired transfer method.
inline constexpr MaskBit kEthernetMethods[] = {
    {&W::wiredtcp, 1},
    {&W::wiredtcpx, 2},
    {&W::wiredhttp, 4},
    {&W::wiredhttpx, 8},
};

// awifi_s: signals after a successful network transfer.
inline constexpr MaskBit kUploadSuccessActions[] = {
    {&W::Sbeepaction, 1},       {&W::Slightoffaction, 2}, {&W::Slightredaction, 4},
    {&W::Slightgreenaction, 8}, {&W::outputhight, 16},
};

// awifi_s on the Wiegand page: only the output-high bit.
inline constexpr MaskBit kWiegandSuccessActions[] = {
    {&W::outputhight_2, 16},
};

// awifi_f: signals after a failed network transfer.
inline constexpr MaskBit kUploadFailureActions[] = {
    {&W::Fbeepaction, 1},
    {&W::Flightoffaction, 2},
    {&W::Flightredaction, 4},
    {&W::Flightgreenaction, 8},
};

// anfc: what the reader does after a card.
inline constexpr MaskBit kCardActions[] = {
    {&W::nfc_beep, 1},
    {&W::nfc_lightoff, 2},
    {&W::nfc_flared, 4},
    {&W::nfc_flagreen, 8},
};

// vg: Wiegand format.
inline constexpr MaskBit kWiegandFormats[] = {
    {&W::vg26, 1},
    {&W::vg34, 2},
};

// chorc: how prefix and suffix are given.
inline constexpr ValueButton kAffixFormats[] = {
    {&W::char_qhz, 1},
    {&W::hex_qhz, 2},
};

// s_mode: single or interval scanning.
inline constexpr ValueButton kScanModes[] = {
    {&W::singlemode, 1},
    {&W::intermode, 0},
};

// ord: byte order of an ordinary card's number.
inline constexpr ValueButton kCardOrders[] = {
    {&W::zxout, 0},
    {&W::fxout, 1},
};

// idord: byte order of an identity card's number.
inline constexpr ValueButton kIdCardOrders[] = {
    {&W::idfx, 1},
    {&W::idzx, 0},
};

// horc: how the NFC prefix and suffix are read.
inline constexpr ValueButton kCardAffixFormats[] = {
    {&W::nfcpreform, 1},
    {&W::nfcsuffform, 0},
};

// nft: card number output format.
inline constexpr ValueButton kCardNumberFormats[] = {
    {&W::zjformout, 0},
    {&W::hexformout, 1},
    {&W::tenformout, 2},
};

// heart_en: heartbeat on or off.
inline constexpr ValueButton kHeartbeat[] = {
    {&W::heart_on, 1},
    {&W::heart_off, 0},
};

// ip_mode: static or dynamic address of the wired interface.
inline constexpr ValueButton kIpModes[] = {
    {&W::jtip, 1},
    {&W::dtip, 0},
};

// volctl on the network page, and on the Wiegand page.
inline constexpr ValueButton kNetworkVoltages[] = {
    {&W::lowvoltage, 1},
    {&W::highvoltage, 0},
};
inline constexpr ValueButton kWiegandVoltages[] = {
    {&W::lowvoltage_2, 1},
    {&W::highvoltage_2, 0},
};

// The OR of the bits of the checked buttons of a table (any table whose
// entries have a button and bits).
template <class Entry, std::size_t N>
int maskOf(const config::FormValue &ui, const Entry (&table)[N])
{
    int mask = 0;
    for (const Entry &entry : table)
        if (ui.*entry.button)
            mask |= entry.bits;
    return mask;
}

// Whether a mask holds every bit of an entry.
template <class Entry>
bool holds(int mask, const Entry &entry)
{
    return (mask & entry.bits) == entry.bits;
}

// The value of the first checked button of a table, or fallback when none is.
template <std::size_t N>
int checkedValue(const config::FormValue &ui, const ValueButton (&table)[N], int fallback)
{
    for (const ValueButton &entry : table)
        if (ui.*entry.button)
            return entry.value;
    return fallback;
}

// Whether any of the listed buttons is checked.
template <std::size_t N>
bool anyChecked(const config::FormValue &ui, config::Flag const (&buttons)[N])
{
    for (config::Flag button : buttons)
        if (ui.*button)
            return true;
    return false;
}

} // namespace form_bits

#endif
