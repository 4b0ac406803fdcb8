#ifndef TARVO_WIDGETS_DEVICE_CHOOSER_H
#define TARVO_WIDGETS_DEVICE_CHOOSER_H

// The dialog in which the user picks the reader: a serial port (listed with
// what identifies it, refreshed while the dialog is open) with its line
// settings, or a reader on the network. Its result is a link description in
// the device library's syntax (tcp:HOST:PORT, serial:PATH:BAUD:FORMAT).

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

// One serial port as the dialog lists it.
struct SerialPortRow
{
    QString location;    // /dev/ttyUSB0
    QString stableName;  // /dev/serial/by-id/... when one names the port, else empty
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString usbId;       // "0403:6001", empty when not a USB port
};

// The stable name in byIdFolder that resolves to location; empty when none.
QString stableNameOf(const QString &location, const QString &byIdFolder = QStringLiteral("/dev/serial/by-id"));

// The serial ports the system knows now.
QList<SerialPortRow> listSerialPorts();

class DeviceChooser : public QDialog
{
    Q_OBJECT

public:
    // environmentLink: the value of TRVO_DEVICE, which decides when set.
    explicit DeviceChooser(const QString &environmentLink, QWidget *parent = nullptr);

    // Shows a remembered choice; an empty or unreadable one leaves the defaults.
    void setLink(const QString &link);
    // The choice as a link description; empty while it names no port or host.
    QString link() const;

    // Fills the port list, keeping the row chosen; called every second while shown.
    void showPorts(const QList<SerialPortRow> &ports);

    // Parts for tests (tests/app/test_device_chooser.cpp).
    QRadioButton *serialChoice() const { return serialChoice_; }
    QRadioButton *networkChoice() const { return networkChoice_; }
    QTableWidget *portTable() const { return ports_; }
    QLineEdit *portPath() const { return path_; }
    QComboBox *baudRate() const { return baud_; }
    QComboBox *lineFormat() const { return format_; }
    QLineEdit *host() const { return host_; }
    QSpinBox *tcpPort() const { return port_; }
    QLabel *environmentNote() const { return environmentNote_; }
    QPushButton *okButton() const;

private:
    void buildLayout();
    void takeRow();
    void updateAcceptable();

    QLabel *environmentNote_;
    QRadioButton *serialChoice_;
    QTableWidget *ports_;
    QLineEdit *path_;
    QComboBox *baud_;
    QComboBox *format_;
    QRadioButton *networkChoice_;
    QLineEdit *host_;
    QSpinBox *port_;
    QDialogButtonBox *buttons_;
    QList<SerialPortRow> shown_;
};

#endif
