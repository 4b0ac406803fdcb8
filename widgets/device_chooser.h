#ifndef TARVO_WIDGETS_DEVICE_CHOOSER_H
#define TARVO_WIDGETS_DEVICE_CHOOSER_H

// The dialog in which the user picks the reader: a serial port (listed with
// what identifies it, refreshed while the dialog is open) with its line
// settings, or a reader on the network. Its result is a link description in
// the device library's syntax (tcp:HOST:PORT, serial:PATH:BAUD:FORMAT).

#include <QDialog>
#include <QString>
#include <QStringList>

#include "device/serial_ports.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

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
    void showPorts(const QList<device::SerialPort> &ports);

private:
    void buildLayout();
    void followPortsAndFields();
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
    QList<device::SerialPort> shown_;
};

#endif
