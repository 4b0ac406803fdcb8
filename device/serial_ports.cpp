#include "device/serial_ports.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

QString hex4(quint16 value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

} // namespace

namespace device {

QString stableNameOf(const QString &location, const QString &byIdFolder)
{
    const QString target = QFileInfo(location).canonicalFilePath();
    if (target.isEmpty())
        return QString();
    const QDir folder(byIdFolder);
    for (const QString &name : folder.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo(folder.filePath(name)).canonicalFilePath() == target)
            return folder.filePath(name);
    }
    return QString();
}

QList<SerialPort> listSerialPorts()
{
    QList<SerialPort> rows;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts()) {
        SerialPort row{port.systemLocation(), stableNameOf(port.systemLocation()),
                       port.description(),    port.manufacturer(),
                       port.serialNumber(),   QString()};
        if (port.hasVendorIdentifier() && port.hasProductIdentifier())
            row.usbId = hex4(port.vendorIdentifier()) + ':' + hex4(port.productIdentifier());
        rows << row;
    }
    return rows;
}

} // namespace device
