#ifndef TARVO_RECEIVERS_OUTPUT_TEST_SETTINGS_H
#define TARVO_RECEIVERS_OUTPUT_TEST_SETTINGS_H

// What the output test needs to know of a configuration: where the reader
// sends, and what it puts around each code and card number. Filled once
// from the form when the test opens.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace output_test {

enum class Channel { Keyboard, Serial, Ttl, Wiegand, Tcp, Http };

// A prefix or suffix as the form holds it: text, or hexadecimal digits in pairs.
struct Affix
{
    QString text;
    bool hex = false;

    // The bytes the reader sends for it; empty when unset or not sound hex.
    QByteArray bytes() const;
};

enum class CardNumberForm { Direct, Hexadecimal, Decimal };

struct Settings
{
    Channel channel = Channel::Keyboard;
    quint16 tcpPort = 0;  // 0 while the form names none
    quint16 httpPort = 0; // from the HTTP address, 80 when it names none

    // The serial line, as the form's combo boxes say it.
    qint32 baudRate = 115200;
    int dataBits = 8;
    char parity = 'N'; // N, O, E
    int stopBits = 1;

    Affix scanPrefix, scanSuffix;
    Affix cardPrefix, cardSuffix;
    bool carriageReturn = false; // after each code
    bool lineFeed = false;

    QByteArray heartbeat; // empty while heartbeats are off
    int heartbeatSeconds = 0;

    CardNumberForm cardNumberForm = CardNumberForm::Decimal;
    int wiegandBits = 26;

    // What ends a message on the wire: CR, LF or both, in that order.
    QByteArray terminator() const;
    // Whether a message is the heartbeat, with or without the terminator.
    bool isHeartbeat(const QByteArray &message) const;
};

// The port of an HTTP address ("http://host:port/path", the scheme optional):
// the one it names, else 80; 0 when the address names no sound port.
quint16 httpPortOf(const QString &address);

} // namespace output_test

#endif
