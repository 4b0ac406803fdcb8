// The dialog that picks the reader: what it lists, what a user's clicks and
// typing turn into, and how a remembered choice comes back.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "support/widget_child.h"
#include "widgets/device_chooser.h"

class DeviceChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void rememberedChoiceComesBack_data()
    {
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("shown"); // what link() gives afterwards
        QTest::newRow("serial, all given") << "serial:/dev/ttyUSB0:9600:7E1"
                                           << "serial:/dev/ttyUSB0:9600:7E1";
        QTest::newRow("serial, defaults") << "serial:/dev/ttyS1"
                                          << "serial:/dev/ttyS1:115200:8N1";
        QTest::newRow("serial, by-id with colons") << "serial:/dev/serial/by-id/usb-Tarvo_R:1-if00:57600"
                                                   << "serial:/dev/serial/by-id/usb-Tarvo_R:1-if00:57600:8N1";
        QTest::newRow("tcp") << "tcp:192.168.1.50:47811"
                             << "tcp:192.168.1.50:47811";
        QTest::newRow("tcp, IPv6") << "tcp:[::1]:5000"
                                   << "tcp:[::1]:5000";
        QTest::newRow("nothing remembered") << ""
                                            << "";
        QTest::newRow("unreadable") << "usb:3"
                                    << "";
    }

    void rememberedChoiceComesBack()
    {
        QFETCH(QString, remembered);
        QFETCH(QString, shown);
        DeviceChooser chooser(QString{});
        chooser.setLink(remembered);
        QCOMPARE(chooser.link(), shown);
        // Without a port or host there is nothing to accept.
        QCOMPARE(formChild<QDialogButtonBox>(chooser, "buttons")->button(QDialogButtonBox::Ok)->isEnabled(),
                 !shown.isEmpty());
    }

    // A port clicked in the list is taken by its stable name where it has
    // one; the line settings and a switch to the network follow clicks.
    void clicksMakeTheLink()
    {
        DeviceChooser chooser(QString{});
        chooser.show();
        chooser.showPorts(
            {{"/dev/ttyUSB0", "/dev/serial/by-id/usb-Tarvo_Reader-if00", "Reader", "Tarvo", "A1", "0403:6001"},
             {"/dev/ttyS0", "", "", "", "", ""}});
        QCOMPARE(formChild<QTableWidget>(chooser, "portTable")->item(0, 5)->text(), QStringLiteral("0403:6001"));

        QTableWidget *table = formChild<QTableWidget>(chooser, "portTable");
        const auto clickRow = [table](int row) {
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualItemRect(table->item(row, 0)).center());
        };
        clickRow(0);
        QCOMPARE(chooser.link(), QStringLiteral("serial:/dev/serial/by-id/usb-Tarvo_Reader-if00:115200:8N1"));
        clickRow(1);
        formChild<QComboBox>(chooser, "baudRate")->setCurrentText("9600");
        formChild<QComboBox>(chooser, "lineFormat")->setCurrentText("8E1");
        QCOMPARE(chooser.link(), QStringLiteral("serial:/dev/ttyS0:9600:8E1"));

        // A refresh keeps the chosen row.
        chooser.showPorts({{"/dev/ttyACM0", "", "", "", "", ""}, {"/dev/ttyS0", "", "", "", "", ""}});
        QCOMPARE(table->currentRow(), 1);

        QTest::mouseClick(formChild<QRadioButton>(chooser, "networkChoice"), Qt::LeftButton, {},
                          QPoint(8, formChild<QRadioButton>(chooser, "networkChoice")->height() / 2));
        formChild<QLineEdit>(chooser, "host")->clear();
        QTest::keyClicks(formChild<QLineEdit>(chooser, "host"), "reader.local");
        formChild<QSpinBox>(chooser, "tcpPort")->setValue(5000);
        QCOMPARE(chooser.link(), QStringLiteral("tcp:reader.local:5000"));
    }

    void stableNamesResolveToThePort()
    {
        QTemporaryDir dir;
        QFile port(dir.filePath("ttyUSB7"));
        QVERIFY(port.open(QIODevice::WriteOnly));
        QDir().mkpath(dir.filePath("by-id"));
        QVERIFY(QFile::link(dir.filePath("ttyS3"), dir.filePath("by-id/usb-Other-if00")));
        QVERIFY(QFile::link("../ttyUSB7", dir.filePath("by-id/usb-Tarvo_Reader-if00")));
        QCOMPARE(device::stableNameOf(port.fileName(), dir.filePath("by-id")),
                 dir.filePath("by-id/usb-Tarvo_Reader-if00"));
        QCOMPARE(device::stableNameOf(dir.filePath("ttyS9"), dir.filePath("by-id")), QString());
    }

    // When TRVO_DEVICE is set it decides, and the dialog says so.
    void environmentSettingIsNamed()
    {
        DeviceChooser quiet(QString{});
        QVERIFY(formChild<QLabel>(quiet, "environmentNote")->isHidden());
        DeviceChooser told(QStringLiteral("tcp:10.0.0.9:47811"));
        QVERIFY(!formChild<QLabel>(told, "environmentNote")->isHidden());
        QVERIFY(formChild<QLabel>(told, "environmentNote")->text().contains("tcp:10.0.0.9:47811"));
    }
};

QTEST_MAIN(DeviceChooserTest)
#include "test_device_chooser.moc"
