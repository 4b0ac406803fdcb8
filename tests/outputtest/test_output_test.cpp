// The output test from the installer's side: the simulated reader is
// configured over the link, then sends codes and cards that the window
// receives over TCP, HTTP and its serial line, with the form's prefix and
// suffix marked.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "core/form_source.h"
#include "outputtest/keyboard_capture.h"
#include "outputtest/log_colours.h"
#include "outputtest/output_test_form.h"
#include "outputtest/output_test_window.h"
#include "receivers/output_log.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/reader_sim.h"
#include "window/config_file_controller.h"
#include "window/widget.h"

// The window opens the test through its part, linked in here.
Q_IMPORT_PLUGIN(OutputTestPlugin)

using output_test::Affix;
using output_test::Channel;
using output_test::OutputLog;
using output_test::Settings;

namespace {

// How long a message may take to arrive: a bound against a hang, not a speed
// check (a sanitizer build on a busy machine is many times slower).
constexpr int kArrival = 30000;

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}

// The cells that say where prefix, data, suffix and end stand.
QStringList markedCells(const OutputLog &log, int row)
{
    QStringList cells;
    for (int column : {OutputLog::Prefix, OutputLog::Data, OutputLog::Suffix, OutputLog::End})
        cells << log.index(row, column).data().toString();
    return cells;
}

// The messages the test window has received.
OutputLog &logOf(OutputTestWindow &test)
{
    return *formChild<OutputLog>(test, "messageLog");
}

// The form as a tool window sees it, changed by the test.
class HeldForm : public FormSource
{
public:
    config::FormValue form;
    const config::FormValue &value() const override { return form; }
    void change() { emit changed(); }
};

// A form whose output goes to the channel, on the port for TCP and HTTP.
void chooseChannel(HeldForm &held, Channel channel, quint16 port = 0)
{
    config::FormValue &form = held.form;
    form.serialOut = channel == Channel::Serial;
    form.weigenOut = channel == Channel::Wiegand;
    form.wifiOut = channel == Channel::Tcp || channel == Channel::Http;
    form.httpO = channel == Channel::Http;
    form.tcpport = QString::number(port);
    form.httpaddr = QString("http://127.0.0.1:%1/scan").arg(port);
}

// Starts receiving on loopback only, as 仅本机 and 开始接收 do.
void startOnLoopback(OutputTestWindow &test)
{
    auto *where = test.findChild<QComboBox *>("listenAddress");
    where->setCurrentIndex(where->findText("仅本机"));
    QTest::mouseClick(formChild<QPushButton>(test, "startButton"), Qt::LeftButton);
}

QStringList savedLines(const QString &path)
{
    QFile saved(path);
    return saved.open(QIODevice::ReadOnly) ? QString::fromUtf8(saved.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
}

} // namespace

Q_DECLARE_METATYPE(Settings)
Q_DECLARE_METATYPE(Channel)

class OutputTestTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(
            QFile::copy(QStringLiteral(TARVO_SHIPPED_SCRIPT), dir.filePath(QStringLiteral("update_config.lua"))));
        QDir::setCurrent(dir.path());
    }

    void affixesAreMarked_data()
    {
        QTest::addColumn<Settings>("settings");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QStringList>("cells");
        Settings chars;
        chars.scanPrefix = {"AB", false};
        chars.scanSuffix = {"XY", false};
        chars.carriageReturn = true;
        QTest::newRow("char") << chars << QByteArray("AB12345XY\r") << QStringList{"AB", "12345", "XY", "⏎"};
        QTest::newRow("char, suffix missing")
            << chars << QByteArray("AB12345\r") << QStringList{"AB", "12345", "缺少 XY", "⏎"};
        QTest::newRow("char, no terminator")
            << chars << QByteArray("AB12345XY") << QStringList{"AB", "12345", "XY", "缺少 ⏎"};
        QTest::newRow("affixes only, no data")
            << chars << QByteArray("ABXY\r") << QStringList{"AB", "", "XY", "⏎"};
        Settings hex;
        hex.scanPrefix = {"02", true};
        hex.scanSuffix = {"0d0A", true};
        QTest::newRow("hex") << hex
                             << QByteArray("\x02"
                                           "987\r\n")
                             << QStringList{"\\x02", "987", "⏎␊", ""};
        QTest::newRow("hex, prefix missing")
            << hex << QByteArray("987\r\n") << QStringList{"缺少 \\x02", "987", "⏎␊", ""};
        Settings cards = chars;
        cards.cardPrefix = {"C:", false};
        cards.cardSuffix = {"3B", true};
        QTest::newRow("NFC beside scan")
            << cards << QByteArray("C:0012345678;\r") << QStringList{"C:", "0012345678", ";", "⏎"};
        QTest::newRow("scan beside NFC") << cards << QByteArray("AB9XY\r") << QStringList{"AB", "9", "XY", "⏎"};
        QTest::newRow("NFC prefix only")
            << cards << QByteArray("C:42\r") << QStringList{"C:", "42", "缺少 ;", "⏎"};
        Settings unsound;
        unsound.scanPrefix = {"0G", true};
        QTest::newRow("unsound hex marks nothing")
            << unsound << QByteArray("0G1") << QStringList{"", "0G1", "", ""};
    }

    void affixesAreMarked()
    {
        QFETCH(Settings, settings);
        QFETCH(QByteArray, message);
        OutputLog log;
        log.setSettings(settings);
        log.append({QDateTime::currentDateTime(), "test", message, QString()});
        QTRY_COMPARE_WITH_TIMEOUT(log.rowCount(), 1, kArrival);
        QTEST(markedCells(log, 0), "cells");
    }

    // The window paints the affixes' grounds and the heartbeats' and notes'
    // letters; a code's letters and its data keep the view's own colours.
    void logIsPainted_data()
    {
        QTest::addColumn<QByteArray>("message"); // empty for a note
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("role");
        QTest::addColumn<QColor>("colour");
        const QByteArray code("AB12345XY\r");
        QTest::newRow("prefix found") << code << int(OutputLog::Prefix) << int(Qt::BackgroundRole)
                                      << QColor(0xd4, 0xf5, 0xd4);
        QTest::newRow("suffix missing") << QByteArray("AB12345\r") << int(OutputLog::Suffix)
                                        << int(Qt::BackgroundRole) << QColor(0xf8, 0xd0, 0xd0);
        QTest::newRow("terminator missing")
            << QByteArray("AB1XY") << int(OutputLog::End) << int(Qt::BackgroundRole) << QColor(0xf8, 0xd0, 0xd0);
        QTest::newRow("data") << code << int(OutputLog::Data) << int(Qt::BackgroundRole) << QColor();
        QTest::newRow("code's letters") << code << int(OutputLog::Data) << int(Qt::ForegroundRole) << QColor();
        QTest::newRow("heartbeat") << QByteArray("HB") << int(OutputLog::Data) << int(Qt::ForegroundRole)
                                   << QColor(0x90, 0x90, 0x90);
        QTest::newRow("heartbeat's affixes")
            << QByteArray("HB") << int(OutputLog::Prefix) << int(Qt::BackgroundRole) << QColor();
        QTest::newRow("note") << QByteArray() << int(OutputLog::Data) << int(Qt::ForegroundRole)
                              << QColor(0x20, 0x50, 0xa0);
    }

    void logIsPainted()
    {
        QFETCH(QByteArray, message);
        QFETCH(int, column);
        QFETCH(int, role);
        QFETCH(QColor, colour);
        Settings settings;
        settings.scanPrefix = {"AB", false};
        settings.scanSuffix = {"XY", false};
        settings.carriageReturn = true;
        settings.heartbeat = "HB";
        OutputLog log;
        log.setSettings(settings);
        LogColours painted;
        painted.setSourceModel(&log);
        QAbstractItemModelTester tester(&painted, QAbstractItemModelTester::FailureReportingMode::QtTest);
        if (message.isEmpty())
            log.note("restarted");
        else
            log.append({QDateTime::currentDateTime(), "test", message, QString()});
        QTRY_COMPARE_WITH_TIMEOUT(painted.rowCount(), 1, kArrival);
        const QVariant shown = painted.index(0, column).data(role);
        QCOMPARE(shown.isValid(), colour.isValid());
        if (colour.isValid())
            QCOMPARE(shown.value<QBrush>().color(), colour);
        QCOMPARE(painted.index(0, column).data(), log.index(0, column).data());
    }

    // The log keeps the newest messages, by count and by the memory they
    // hold (details counted as well as bytes), and counts what it dropped.
    void logKeepsTheNewest_data()
    {
        QTest::addColumn<int>("messages");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("detailChars");
        QTest::addColumn<int>("kept");
        QTest::newRow("count") << OutputLog::kMessageLimit + 25 << 8 << 0 << OutputLog::kMessageLimit;
        QTest::newRow("bytes") << 20 << 1024 * 1024 << 0 << 15;
        QTest::newRow("details") << 20 << 8 << 512 * 1024 << 15;
    }

    void logKeepsTheNewest()
    {
        QFETCH(int, messages);
        QFETCH(int, size);
        QFETCH(int, detailChars);
        QFETCH(int, kept);
        OutputLog log;
        QAbstractItemModelTester tester(&log, QAbstractItemModelTester::FailureReportingMode::QtTest);
        log.note("note");
        for (int i = 0; i < messages; ++i)
            log.append({QDateTime::currentDateTime(), "test", QByteArray::number(i).leftJustified(size, '.'),
                        QString(detailChars, 'h')});
        QTRY_COMPARE_WITH_TIMEOUT(log.rowCount(), kept, kArrival);
        QCOMPARE(log.dropped(), messages + 1 - kept); // the note went first
        QVERIFY(
            log.index(0, OutputLog::Data).data().toString().startsWith(QString::number(messages - kept) + '.'));
    }

    // Wi-Fi TCP output to the window's port: codes arrive with their affixes
    // marked, heartbeats are counted apart, the reply goes back.
    void tcpOutputEndToEnd()
    {
        const quint16 port = freePort();
        Widget window;
        fillForm(window, {"wifiOut", "tcpO", "tcpaddr=127.0.0.1", "tcpport=" + QString::number(port), "heart_on",
                          "heart_time=1", "heart_content=HB"});
        configureReader(window);

        OutputTestWindow *test = openTest(window);
        QVERIFY(test);
        QCOMPARE(openTest(window), test); // once open, the shortcut only raises it
        QCOMPARE(window.findChildren<OutputTestWindow *>().size(), 1);
        QCOMPARE(formChild<QSpinBox>(*test, "portField")->value(), int(port));
        QCOMPARE(formChild<QPushButton>(*test, "startButton")->text(),
                 QString("开始接收")); // nothing listens before the click
        startOnLoopback(*test);
        formChild<QLineEdit>(*test, "replyField")->setText("OK");
        QTest::keyClick(formChild<QLineEdit>(*test, "replyField"),
                        Qt::Key_Return); // ends the typing, not the receiving
        QCOMPARE(formChild<QPushButton>(*test, "startButton")->text(), QString("停止"));
        QVERIFY2(formChild<QLabel>(*test, "statusLine")->text().contains("仅本机"),
                 qPrintable(formChild<QLabel>(*test, "statusLine")->text()));
        // A heartbeat that arrives proves the reader connected: a code sent
        // while its first connection was still being refused would be lost.
        QTRY_VERIFY_WITH_TIMEOUT(logOf(*test).heartbeats() >= 1, kArrival);
        QVERIFY(sim.control("code 12345", "output sent tcp"));
        const QStringList expected{"AB", "12345", "XY", ""};
        QTRY_VERIFY_WITH_TIMEOUT(rowWith(logOf(*test), expected) >= 0, kArrival);
        QTest::qWait(100);
        QVERIFY(sim.waitForLine("output reply: OK"));
        QVERIFY(logOf(*test)
                    .index(rowWith(logOf(*test), expected), OutputLog::Source)
                    .data()
                    .toString()
                    .startsWith("127.0.0.1:"));
    }

    void httpOutputEndToEnd()
    {
        const quint16 port = freePort();
        Widget window;
        fillForm(window, {"ethernetOut", "wiredhttp", QString("httpaddr=http://127.0.0.1:%1/scan").arg(port)});
        configureReader(window);

        OutputTestWindow *test = openTest(window);
        QVERIFY(test);
        startOnLoopback(*test);
        formChild<QLineEdit>(*test, "replyField")->setText("OK");
        QVERIFY(sim.control("code 12345", "output http 200"));
        QVERIFY(sim.lines().last().endsWith(": OK"));
        QTRY_COMPARE_WITH_TIMEOUT(logOf(*test).rowCount(), 1, kArrival);
        QCOMPARE(markedCells(logOf(*test), 0), QStringList({"AB", "12345", "XY", ""}));
        QVERIFY(logOf(*test).index(0, OutputLog::Source).data().toString().endsWith(" POST /scan"));
        QVERIFY(logOf(*test).details(0).contains("Content-Type: text/plain"));
    }

    // Serial output on the simulator's terminal: a card number in the
    // form's decimal form between the NFC affixes, with CR and LF.
    void serialOutputEndToEnd()
    {
        Widget window;
        fillForm(window, {"serialOut", "nfcable", "nfcprefix=5B", "nfcsuffix=5D", "nfcpreform", "enterCheck",
                          "wrapCheck"});
        configureReader(window);

        OutputTestWindow *test = openTest(window);
        QVERIFY(test);
        formChild<QComboBox>(*test, "serialPortField")->setEditText(sim.ptyLink());
        QTest::mouseClick(formChild<QPushButton>(*test, "startButton"), Qt::LeftButton);
        QVERIFY2(formChild<QLabel>(*test, "statusLine")->text().contains(sim.ptyLink()),
                 qPrintable(formChild<QLabel>(*test, "statusLine")->text()));
        // Read forwards 04 A1 B2 C3 turns round to C3B2A104.
        QVERIFY(sim.control("card 04A1B2C3", "output sent pty"));
        QTRY_COMPARE_WITH_TIMEOUT(logOf(*test).rowCount(), 1, kArrival);
        QCOMPARE(markedCells(logOf(*test), 0), QStringList({"[", "3283263748", "]", "⏎␊"}));
    }

    // A keyboard reader's code ends at Enter, with the pace of its keys.
    void keyboardCodeIsCaptured()
    {
        HeldForm form;
        form.form.linePrefix = "AB";
        form.form.enterCheck = true;
        OutputTestWindow test(form, nullptr);
        QTest::keyClicks(formChild<KeyboardCapture>(test, "keyboardCapture"), "AB42");
        QTest::keyClick(formChild<KeyboardCapture>(test, "keyboardCapture"), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        QCOMPARE(markedCells(logOf(test), 0), QStringList({"AB", "42", "", "⏎"}));
        QVERIFY(logOf(test).details(0).contains("按键间隔"));
    }

    // The test starts on what the form says, from the button set of the
    // chosen channel only, with the NFC affixes' own text or hex form.
    void settingsFollowTheForm_data()
    {
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<Channel>("channel");
        QTest::addColumn<QByteArray>("cardPrefix");
        QTest::newRow("keyboard") << QStringList{"keyboardOut"} << Channel::Keyboard << QByteArray("3B");
        QTest::newRow("ttl") << QStringList{"ttlOut"} << Channel::Ttl << QByteArray("3B");
        QTest::newRow("wiegand") << QStringList{"weigenOut"} << Channel::Wiegand << QByteArray("3B");
        QTest::newRow("wifi http") << QStringList{"wifiOut", "httpO", "wiredtcp"} << Channel::Http
                                   << QByteArray("3B");
        QTest::newRow("ethernet tcp beside wifi http")
            << QStringList{"ethernetOut", "httpO", "wiredtcpx"} << Channel::Tcp << QByteArray("3B");
        QTest::newRow("ethernet http, hex NFC affixes")
            << QStringList{"ethernetOut", "tcpO", "wiredhttpx", "nfcpreform"} << Channel::Http << QByteArray(";");
    }

    void settingsFollowTheForm()
    {
        QFETCH(QStringList, checked);
        Widget window;
        fillForm(window, checked + QStringList{"nfcprefix=3B", "httpaddr=http://10.0.0.1:8088/up"});
        const Settings settings = outputTestSettings(WidgetProbe(window).formValue());
        QTEST(settings.channel, "channel");
        QTEST(settings.cardPrefix.bytes(), "cardPrefix");
        QCOMPARE(int(settings.httpPort), 8088);
    }

    // Enter and Tab end a code and stay visible; a pause ends one too.
    void keyboardTerminators_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("end");
        QTest::newRow("enter") << int(Qt::Key_Return) << "⏎";
        QTest::newRow("tab") << int(Qt::Key_Tab) << "⇥";
        QTest::newRow("pause") << 0 << "";
    }

    void keyboardTerminators()
    {
        QFETCH(int, key);
        HeldForm form;
        OutputTestWindow test(form, nullptr);
        QTest::keyClicks(formChild<KeyboardCapture>(test, "keyboardCapture"), "42");
        if (key != 0)
            QTest::keyClick(formChild<KeyboardCapture>(test, "keyboardCapture"), Qt::Key(key));
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        QFETCH(QString, end);
        QVERIFY(logOf(test).details(0).contains("文本：42" + end + "\n"));
    }

    void busyPortIsSaidAndClosingFreesIt_data()
    {
        QTest::addColumn<Channel>("channel");
        QTest::newRow("tcp") << Channel::Tcp;
        QTest::newRow("http") << Channel::Http;
    }

    void busyPortIsSaidAndClosingFreesIt()
    {
        QFETCH(Channel, channel);
        HeldForm form;
        const quint16 port = freePort();
        chooseChannel(form, channel, port);
        {
            QTcpServer other;
            QVERIFY(other.listen(QHostAddress::LocalHost, port));
            OutputTestWindow busy(form, nullptr);
            startOnLoopback(busy);
            const QString said = formChild<QLabel>(busy, "statusLine")->text();
            QVERIFY2(said.contains(QString::fromLocal8Bit(std::strerror(EADDRINUSE))), qPrintable(said));
            QVERIFY2(said.contains("换一个端口"), qPrintable(said));
        }
        auto *first = new OutputTestWindow(form, nullptr);
        startOnLoopback(*first);
        QVERIFY(formChild<QLabel>(*first, "statusLine")->text().contains("正在"));
        first->close(); // deletes itself
        QTest::qWait(0);
        OutputTestWindow second(form, nullptr);
        startOnLoopback(second);
        QVERIFY2(formChild<QLabel>(second, "statusLine")->text().contains("正在"),
                 qPrintable(formChild<QLabel>(second, "statusLine")->text()));
    }

    // Where to listen, chosen on its list, is where the next window
    // listens unless chosen otherwise.
    void listenChoiceIsRemembered_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("remembered");
        QTest::newRow("this computer only") << int(Qt::Key_End) << "仅本机";
        QTest::newRow("every interface") << int(Qt::Key_Home) << "所有网卡";
    }

    void listenChoiceIsRemembered()
    {
        QFETCH(int, key);
        HeldForm form;
        chooseChannel(form, Channel::Tcp, freePort());
        {
            OutputTestWindow first(form, nullptr);
            QTest::keyClick(formChild<QComboBox>(first, "listenAddress"), Qt::Key(key));
        }
        OutputTestWindow second(form, nullptr);
        QTEST(formChild<QComboBox>(second, "listenAddress")->currentText(), "remembered");
    }

    // A serial port that is not there is said with the reason and a hint.
    void missingSerialPortIsSaid()
    {
        HeldForm form;
        chooseChannel(form, Channel::Serial);
        OutputTestWindow test(form, nullptr);
        formChild<QComboBox>(test, "serialPortField")->setEditText(dir.filePath("no-such-port"));
        QTest::mouseClick(formChild<QPushButton>(test, "startButton"), Qt::LeftButton);
        const QString said = formChild<QLabel>(test, "statusLine")->text();
        QVERIFY2(said.contains("no-such-port") && said.contains("检查读头的连线"), qPrintable(said));
        QCOMPARE(formChild<QPushButton>(test, "startButton")->text(), QString("开始接收"));
    }

    // Choosing Wiegand stops the receiver, frees its port and names the
    // format the reader sends in.
    void wiegandIsExplained()
    {
        HeldForm form;
        const quint16 port = freePort();
        chooseChannel(form, Channel::Tcp, port);
        form.form.vg34 = true;
        form.form.hexformout = true;
        OutputTestWindow test(form, nullptr);
        startOnLoopback(test);
        QVERIFY(formChild<QLabel>(test, "statusLine")->text().contains("正在"));
        formChild<QComboBox>(test, "channelChoice")->setCurrentText("韦根");
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, port));
        const QString note = test.findChild<QStackedWidget *>()->currentWidget()->property("text").toString();
        QVERIFY2(note.contains("韦根34") && note.contains("转16进制输出"), qPrintable(note));
    }

    // The form changes while the test receives: the receiver moves to the
    // new port (once the form is still, not to a busy port typed on the
    // way) or takes the new terminator; the log keeps what came and says
    // why it moved.
    void formChangeMovesTheReceiver_data()
    {
        QTest::addColumn<bool>("typedPastBusy");
        QTest::addColumn<bool>("newPort");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("end");
        QTest::newRow("port") << false << true << "端口"
                              << "⏎";
        QTest::newRow("port typed past a busy one") << true << true << "端口"
                                                    << "⏎";
        QTest::newRow("terminator, CR to LF") << false << false << "结束符"
                                              << "␊";
    }

    void formChangeMovesTheReceiver()
    {
        QFETCH(bool, typedPastBusy);
        QFETCH(bool, newPort);
        HeldForm form;
        const quint16 before = freePort();
        chooseChannel(form, Channel::Tcp, before);
        form.form.enterCheck = true;
        OutputTestWindow test(form, nullptr);
        startOnLoopback(test);
        QTcpSocket reader;
        reader.connectToHost(QHostAddress::LocalHost, before);
        QVERIFY(reader.waitForConnected(5000));
        reader.write("A1\r");
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        QTcpServer busy;
        QVERIFY(busy.listen(QHostAddress::LocalHost, 0));
        if (typedPastBusy) {
            form.form.tcpport = QString::number(busy.serverPort());
            form.change();
            QTest::qWait(50);
        }
        quint16 after = before;
        while (newPort && (after == before || after == busy.serverPort()))
            after = freePort();
        form.form.tcpport = QString::number(after);
        form.form.enterCheck = newPort;
        form.form.wrapCheck = !newPort;
        form.change();
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 2, kArrival);
        QTcpSocket moved;
        moved.connectToHost(QHostAddress::LocalHost, after);
        QVERIFY(moved.waitForConnected(5000));
        moved.write(newPort ? "B2\r" : "B2\n");
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 3, kArrival);
        QCOMPARE(logOf(test).index(0, OutputLog::Data).data().toString(), QString("A1"));
        const QString note = logOf(test).index(1, OutputLog::Data).data().toString();
        QFETCH(QString, said);
        QVERIFY2(note.contains(said) && (!newPort || note.contains(QString::number(after))), qPrintable(note));
        QCOMPARE(logOf(test).index(2, OutputLog::Data).data().toString(), QString("B2"));
        QTEST(logOf(test).index(2, OutputLog::End).data().toString(), "end");
    }

    // A request path holding a line feed, terminal escapes, a bell and a
    // right-to-left override stays one line with each shown as an escape,
    // in the table, the copy and the saved file.
    void forgedPathStaysOneVisibleLine()
    {
        HeldForm form;
        const quint16 port = freePort();
        chooseChannel(form, Channel::Http, port);
        OutputTestWindow test(form, nullptr);
        startOnLoopback(test);
        QTcpSocket peer;
        peer.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(peer.waitForConnected(5000));
        peer.write("GET /a%0AFAKE%20LINE%1B[31m%1B]0;t%07%E2%80%AEgnp.exe HTTP/1.1\r\nHost: x\r\n"
                   "X-Forged: \x1B]0;t\x07\xE2\x80\xAE"
                   "exe\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        QVERIFY(test.saveTo(dir.filePath("forged.txt")));
        const QStringList lines = savedLines(dir.filePath("forged.txt"));
        QCOMPARE(lines.size(), 1);
        QTest::mouseClick(copyButton(test), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), lines.first());
        QVERIFY2(logOf(test).details(0).contains("X-Forged: \\x1B]0;t\\x07U+202Eexe\n"),
                 qPrintable(logOf(test).details(0)));
        for (const QString &shown : {lines.first(), logOf(test).index(0, OutputLog::Source).data().toString(),
                                     logOf(test).details(0).section('\n', 1, 1)}) {
            QVERIFY2(shown.contains("/a\\x0AFAKE LINE\\x1B[31m\\x1B]0;t\\x07U+202Egnp.exe"), qPrintable(shown));
            for (QChar hidden : {QChar('\n'), QChar(0x1B), QChar(0x07), QChar(0x202E)})
                QVERIFY2(!shown.contains(hidden), qPrintable(shown));
        }
    }

    // A 13-digit EAN in a window of the usual size is shown whole in its row.
    void codeIsShownWhole()
    {
        HeldForm form;
        OutputTestWindow test(form, nullptr);
        test.show();
        QVERIFY(QTest::qWaitForWindowExposed(&test));
        logOf(test).append({QDateTime::currentDateTime(), "peer", "6901234567892", QString()});
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        auto *table = formChild<QTableView>(test, "messageTable");
        const int needed = table->fontMetrics().horizontalAdvance("6901234567892") + 12;
        QVERIFY2(table->columnWidth(OutputLog::Data) >= needed,
                 qPrintable(QString::number(table->columnWidth(OutputLog::Data))));
    }

    // What is copied and saved is one line a message, tab-separated, with
    // the whole message in hexadecimal at the end.
    void messagesAreCopiedAndSaved()
    {
        HeldForm form;
        form.form.linePrefix = "AB";
        OutputTestWindow test(form, nullptr);
        logOf(test).append({QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 6)), "peer", "AB1", QString()});
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 1, kArrival);
        const QString line = "03:04:05.006\tpeer\tAB\t1\t\t\t41 42 31";
        QVERIFY(test.saveTo(dir.filePath("messages.txt")));
        QCOMPARE(savedLines(dir.filePath("messages.txt")), QStringList{line});
        QTest::mouseClick(copyButton(test), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), line);
    }

    // A save that cannot be done whole leaves the old file as it was and
    // says why in the box: a device or a pipe is no file to save to (and
    // stays what it is), and a full
    // disk (a tiny tmpfs when one can be mounted, else a read-only folder)
    // takes nothing.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("device") << "/dev/full"
                                << "";
        QTest::newRow("null device") << "/dev/null"
                                     << "";
        QTest::newRow("pipe") << "pipe"
                              << "";
        QTest::newRow("full disk") << "full/messages.txt" << QString::fromLocal8Bit(std::strerror(ENOSPC));
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        const bool onDisk = target.startsWith("full/");
        if (target == "pipe") {
            target = dir.filePath(target);
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        }
        if (onDisk) {
            target = dir.filePath(target);
            QVERIFY(QDir(dir.path()).mkpath("full"));
            const bool mounted =
                QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir.filePath("full")}) == 0;
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
            old.close();
            if (!mounted) {
                QFile::setPermissions(dir.filePath("full"), QFile::ReadOwner | QFile::ExeOwner);
                reason = QString::fromLocal8Bit(std::strerror(EACCES));
            }
        }
        HeldForm form;
        OutputTestWindow test(form, nullptr);
        for (int i = 0; i < 2000; ++i)
            logOf(test).append({QDateTime::currentDateTime(), "peer", QByteArray(60, 'c'), QString()});
        QTRY_COMPARE_WITH_TIMEOUT(logOf(test).rowCount(), 2000, kArrival);
        MessageBoxAnswerer answerer;
        QString detail;
        answerer.onSeen([&detail](QMessageBox *box) { detail = box->informativeText(); });
        QVERIFY(!test.saveTo(target));
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY2(!detail.isEmpty() && detail.contains(reason), qPrintable(detail));
        struct stat after;
        QVERIFY(::stat(QFile::encodeName(target).constData(), &after) == 0);
        QCOMPARE(S_ISREG(after.st_mode), onDisk); // a device or a pipe is left what it was
        if (onDisk) {
            QCOMPARE(savedLines(target), QStringList{"old"});
            QProcess::execute("umount", {dir.filePath("full")});
            QFile::setPermissions(dir.filePath("full"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

private:
    // The form's output with prefix AB and suffix XY, saved to a file and
    // written to a fresh simulated reader by the program, as on site.
    void configureReader(Widget &window)
    {
        fillForm(window, {"linePrefix=AB", "lineSuffix=XY", "char_qhz"});
        QVERIFY(window.configFiles().saveAs(dir.filePath("reader.tcfg")));
        sim.kill();
        QFile::remove(sim.statePath());
        QVERIFY(sim.start());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TARVO_CONFIG_PASSWORD", "Tarvo#Factory#16");
        program.setProcessEnvironment(environment);
        program.start(TARVO_PROGRAM, {"--write", "reader.tcfg", "--device", sim.tcpSetting()});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.readAllStandardOutput(), (sim.tcpSetting() + " ok\n").toUtf8());
        QVERIFY(sim.waitForLine("config applied (link)"));
    }

    // The test window as Ctrl+T opens it on the form.
    static OutputTestWindow *openTest(Widget &window)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        return window.findChild<OutputTestWindow *>(QStringLiteral("outputTestWindow"));
    }

    static QPushButton *copyButton(OutputTestWindow &test)
    {
        for (QPushButton *button : test.findChildren<QPushButton *>())
            if (button->text() == "复制")
                return button;
        return nullptr;
    }

    static int rowWith(const OutputLog &log, const QStringList &cells)
    {
        for (int row = 0; row < log.rowCount(); ++row)
            if (markedCells(log, row) == cells)
                return row;
        return -1;
    }

    QTemporaryDir dir;
    ReaderSim sim;
};

QTEST_MAIN(OutputTestTest)
#include "test_output_test.moc"
