#ifndef TARVO_DEVICE_SERIAL_PORTS_H
#define TARVO_DEVICE_SERIAL_PORTS_H

#include <QList>
#include <QString>

namespace device {

// One serial port as the system lists it.
struct SerialPort
{
    QString location;   // /dev/ttyUSB0
    QString stableName; // /dev/serial/by-id/... when one names the port, else empty
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString usbId; // "0403:6001", empty when not a USB port
};

// The stable name in byIdFolder that resolves to location; empty when none.
QString stableNameOf(const QString &location, const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));

// The serial ports the system knows now.
QList<SerialPort> listSerialPorts();

} // namespace device

#endif
