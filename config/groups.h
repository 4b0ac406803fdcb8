#ifndef TARVO_CONFIG_GROUPS_H
#define TARVO_CONFIG_GROUPS_H

// The group builders: each appends the entries of one part of the form to a
// configuration text, every entry with its trailing comma.

#include <QString>

#include "config/form_value.h"

namespace config {

// Symbologies, terminators, light, affixes, scan mode, device number,
// brightness, feedback, decoding, delays and output format.
void appendGeneralGroup(const config::FormValue &form, QString &text);

// "nfc=0," with NFC off, else the card actions, byte orders, output window,
// affixes and output format.
void appendNfcGroup(const config::FormValue &form, QString &text);

// Wi-Fi network and method, TCP server and heartbeat, HTTP server, wired
// method and address, then the transfer actions and voltage.
void appendNetworkGroup(const config::FormValue &form, QString &text);

// Wiegand format (only with Wiegand output), output high and voltage.
void appendWiegandGroup(const config::FormValue &form, QString &text);

// The serial line as baud-data-parity-stop, for the first UART or, when a
// series that has one sends over TTL, for the second.
void appendSerialGroup(const config::FormValue &form, QString &text);

} // namespace config

#endif
