// Connect and save as a user drives them, through the real device library
// and the reader simulator, over the link this program was built for (TCP or
// the simulator's pseudo-terminal). The program opens its channel once per
// process, so one simulator serves every case here, restarted on a fresh
// state for each; a restart keeps its port and its terminal's name.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "core/cause_words.h"
#include "device/device_link.h"
#include "records/record_store.h"
#include "recordwindow/record_window.h"
#include "script/script_fixture.h"
#include "support/debug_log.h"
#include "support/message_box_answerer.h"
#include "support/reader_sim.h"
#include "support/widget_probe.h"
#include "trvo/trvo.h"
#include "widgets/device_chooser.h"
#include "window/code_actions.h"
#include "window/config_file_controller.h"
#include "window/device_session.h"
#include "window/reader_review.h"
#include "window/widget.h"

namespace {

const QString kFactoryPassword = QStringLiteral("Tarvo#Factory#16");
const QString kFirmware = QStringLiteral("TRVO-TEST 2.3.4");
// What the reader holds at the start of each case; unlike the window's
// start state, so that an import shows.
const QByteArray kReaderConfig = "prefix='TV-',interval=450,devnum=7,ochannel=1,dchannel=1,w_mode=1";
const QStringList kSimArguments = {"--late-ms", "3000"}; // later than a write waits
const qint64 kGenerousMs = 4000;                         // for reads of 300 ms and writes of 2500 ms

const QString kConnected = QStringLiteral("连接状态 / 连接设备成功");
const QString kConnectFailed = QStringLiteral("连接状态 / 连接设备失败");
const QString kSaved = QStringLiteral("保存状态 / 保存成功");
const QString kSaveFailed = QStringLiteral("保存状态 / 保存失败，请重试");
const QString kSaveUnknown = QStringLiteral("保存状态 / 无法确认读卡器是否已保存，请重新连接后核对");
const QString kAsk = QStringLiteral("连接设备 / 窗口中的配置尚未保存。连接后要载入读卡器的配置吗？");
const QString kLoadReader = QStringLiteral("载入读卡器配置");
const QString kKeepForm = QStringLiteral("保留窗口配置");

// What one click brought about.
struct Outcome
{
    QStringList boxes;         // "title / text" of each box, in order
    QStringList details;       // the informative text of each box
    QString statusWhileBusy;   // the status field under the busy cursor
    bool visibleAtBox = false; // the window, when the first box showed
    qint64 msToFirstBox = -1;  // from the click
    bool boxUnderBusyCursor = false;
    QStringList log;     // debug lines written meanwhile
    QStringList busyLog; // those of them written under the busy cursor
    bool busyCursorLeft = false;
};

bool busyCursorShown()
{
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

// A real click on a button of the shown window; the boxes take the answers
// given, in order, then Ok. atBox looks at each box before it is answered.
Outcome click(Widget &window, const char *button, const QStringList &answers = {},
              const std::function<void(QMessageBox *)> &atBox = {})
{
    Outcome outcome;
    MessageBoxAnswerer answerer;
    for (const QString &answer : answers)
        answerer.queue(answer);
    DebugLog log;
    QElapsedTimer clock;
    clock.start();
    answerer.onSeen([&](QMessageBox *box) {
        if (outcome.msToFirstBox < 0)
            outcome.msToFirstBox = clock.elapsed();
        outcome.boxUnderBusyCursor |= QApplication::overrideCursor() != nullptr;
        outcome.details << box->informativeText();
        outcome.visibleAtBox |= window.isVisible();
        if (atBox)
            atBox(box);
    });
    log.onLine([&](const QString &line) {
        if (!busyCursorShown())
            return;
        if (outcome.busyLog.isEmpty())
            outcome.statusWhileBusy = formChild<QLabel>(window, "labelState")->text();
        outcome.busyLog << line;
    });
    QTest::mouseClick(formChild<QAbstractButton>(window, button), Qt::LeftButton);
    outcome.boxes = answerer.summary();
    outcome.log = DebugLog::lines();
    outcome.busyCursorLeft = QApplication::overrideCursor() != nullptr;
    return outcome;
}

QString text(Widget &window, const char *name)
{
    if (auto *edit = window.findChild<QLineEdit *>(QLatin1String(name)))
        return edit->text();
    return formChild<QLabel>(window, name)->text();
}

// What the form shows: every field's text and every button's state.
QStringList formState(Widget &window)
{
    QStringList state;
    for (const QLineEdit *edit : window.findChildren<QLineEdit *>())
        state << edit->objectName() + '=' + edit->text();
    for (const QLabel *label : window.findChildren<QLabel *>())
        state << label->objectName() + '=' + label->text();
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        state << button->objectName() + '=' + QString::number(button->isChecked());
    return state;
}

void setText(Widget &window, const char *field, const QString &value)
{
    formChild<QLineEdit>(window, field)->setText(value);
}

// Picks link in the chooser as a user does: a click on the entry beside
// 连接设备, the port's path or the host typed in, a click on OK.
void choose(Widget &window, const QString &link)
{
    bool filled = false;
    QTimer::singleShot(0, [&] {
        auto *chooser = qobject_cast<DeviceChooser *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        const QStringList parts = link.split(':');
        if (parts.first() == "tcp") {
            QTest::mouseClick(formChild<QRadioButton>(*chooser, "networkChoice"), Qt::LeftButton, {},
                              QPoint(8, formChild<QRadioButton>(*chooser, "networkChoice")->height() / 2));
            formChild<QLineEdit>(*chooser, "host")->clear();
            QTest::keyClicks(formChild<QLineEdit>(*chooser, "host"), parts.at(1));
            formChild<QSpinBox>(*chooser, "tcpPort")->setValue(parts.at(2).toInt());
        } else {
            formChild<QLineEdit>(*chooser, "portPath")->clear();
            QTest::keyClicks(formChild<QLineEdit>(*chooser, "portPath"), link.section(':', 1));
        }
        filled = chooser->link().startsWith(link);
        QTest::mouseClick(formChild<QDialogButtonBox>(*chooser, "buttons")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::mouseClick(formChild<QToolButton>(window, "readerChooser"), Qt::LeftButton);
    QVERIFY(filled);
}

// A second program that holds the serial port open through the library.
class PortHolder
{
public:
    explicit PortHolder(const QString &link)
    {
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            const char opened = trvo_channel_open_link(link.toUtf8().constData()) ? 'y' : 'n';
            (void)!::write(ready[1], &opened, 1);
            ::pause();
            ::_exit(0);
        }
        (void)!::read(ready[0], &opened_, 1);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~PortHolder()
    {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    bool holds() const { return opened_ == 'y'; }

private:
    pid_t pid_ = -1;
    char opened_ = 'n';
};

} // namespace

class DeviceLinkTest : public QObject
{
    Q_OBJECT

private:
    ReaderSim sim;
    ScriptDir scriptDir;       // the import reads ./update_config.lua
    QTemporaryDir settingsDir; // the remembered choice of reader
    QTemporaryDir dataDir;     // the record of saves

    QString setting() const
    {
        return QStringLiteral(TARVO_TEST_LINK) == "tcp" ? sim.tcpSetting() : sim.serialSetting();
    }

    // Restarts the simulator from the state a case begins with.
    bool resetReader(const QString &firmware = kFirmware)
    {
        sim.kill();
        const QJsonObject state{{"config", QString::fromUtf8(kReaderConfig)},
                                {"password", kFactoryPassword},
                                {"firmware", firmware}};
        QFile file(sim.statePath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(QJsonDocument(state).toJson()) <= 0)
            return false;
        file.close();
        return sim.start(kSimArguments);
    }

    QString storedConfig() const
    {
        QFile file(sim.statePath());
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object().value("config").toString();
    }

    // A window that a first connect has filled from the reader.
    bool connectWindow(Widget &window)
    {
        window.show();
        return click(window, "connectBtn").boxes == QStringList{kConnected};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scriptDir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir.path()));
        // Started once to learn its port; each case starts it afresh.
        QVERIFY(sim.start(kSimArguments));
        useDeviceSetting(setting());
    }

    void init() { QVERIFY(resetReader()); }

    // Each case ends with the shipped script in place again, and with the
    // reader named by TRVO_DEVICE and nothing remembered.
    void cleanup()
    {
        useDeviceSetting(setting());
        QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config")).clear();
        QFile::remove("update_config.lua");
        QVERIFY(scriptDir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)));
    }

    // First in the process: the channel is not open yet.
    void connectWorksOnceTheReaderIsThere()
    {
        sim.kill();
        Widget window;
        window.show();
        QVERIFY(!formChild<DeviceSession>(window, "deviceSession")->reader().isOpen());
        const QString stateBefore = text(window, "labelState");

        const Outcome absent = click(window, "connectBtn");
        QCOMPARE(absent.boxes, QStringList{kConnectFailed});
        QVERIFY(absent.msToFirstBox < kGenerousMs);
        QVERIFY(!formChild<DeviceSession>(window, "deviceSession")->reader().isOpen());
        QCOMPARE(text(window, "labelState"), stateBefore);
        QVERIFY(!formChild<QToolButton>(window, "saveBtn")->isEnabled());
        QVERIFY(!absent.boxUnderBusyCursor);
        QVERIFY(!absent.busyCursorLeft);

        QVERIFY(resetReader());
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
        QVERIFY(formChild<DeviceSession>(window, "deviceSession")->reader().isOpen());
    }

    // The connect fills the labels and the form and opens the save; a second
    // connect re-reads the reader on the channel already open.
    void connectLoadsTheReader()
    {
        Widget window;
        window.show();
        WidgetProbe probe(window);

        const Outcome first = click(window, "connectBtn");
        QCOMPARE(first.boxes, QStringList{kConnected});
        QCOMPARE(text(window, "deviceversion"), kFirmware);
        QCOMPARE(text(window, "labelState"), QStringLiteral("设备已连接"));
        QCOMPARE(text(window, "linePrefix"), QStringLiteral("TV-"));
        QCOMPARE(text(window, "lineIntervaltime"), QStringLiteral("450"));
        QCOMPARE(text(window, "devnum"), QStringLiteral("7"));
        QVERIFY(formChild<QToolButton>(window, "saveBtn")->isEnabled());
        QCOMPARE(probe.readerText(), kReaderConfig);
        // The device work ran under the busy cursor, the box did not.
        QVERIFY(first.busyLog.contains("i am here"));
        QVERIFY(!first.boxUnderBusyCursor);
        QVERIFY(!first.busyCursorLeft);

        setText(window, "linePrefix", "edited here");
        const Outcome second = click(window, "connectBtn", {kLoadReader});
        QCOMPARE(second.boxes, (QStringList{kAsk, kConnected}));
        QVERIFY(second.log.contains(QStringLiteral("设备已连接")));
        QVERIFY(formChild<DeviceSession>(window, "deviceSession")->reader().isOpen());
        QCOMPARE(text(window, "linePrefix"), QStringLiteral("TV-"));
    }

    // The reader verifies the signed text: the configuration password
    // decides. A Chinese prefix travels as UTF-8, the bytes the signature covers.
    void saveWritesTheForm_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("prefixAfter");
        QTest::newRow("right password") << kFactoryPassword << kSaved << QStringLiteral("新前缀-7");
        QTest::newRow("wrong password")
            << QStringLiteral("0123456789abcdef") << kSaveFailed << QStringLiteral("TV-");
    }

    void saveWritesTheForm()
    {
        QFETCH(QString, password);
        QFETCH(QString, box);
        QFETCH(QString, prefixAfter);
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", password);
        setText(window, "linePrefix", QStringLiteral("新前缀-7"));

        const Outcome save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{box});
        QVERIFY(!save.boxUnderBusyCursor);
        QVERIFY(!save.busyCursorLeft);
        QVERIFY(WidgetProbe(window).configText().isEmpty());
        QCOMPARE(storedConfig().contains("prefix='新前缀-7'"), prefixAfter != "TV-");

        setText(window, "linePrefix", "edited here");
        QCOMPARE(click(window, "connectBtn", {kLoadReader}).boxes, (QStringList{kAsk, kConnected}));
        QCOMPARE(text(window, "linePrefix"), prefixAfter);
    }

    // A new password and the Wi-Fi password reach the reader, but never a
    // log in clear: neither the save's nor that of the next connect.
    void saveKeepsANewPasswordOutOfTheLog()
    {
        const QString newPassword = QStringLiteral("Fresh-Pass-00016");
        const QString wifiPassword = QStringLiteral("Wlan-Key-77");
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        formChild<QAbstractButton>(window, "changepwcheck")->setChecked(true);
        setText(window, "newpw", newPassword);
        setText(window, "confimpw", newPassword);
        formChild<QAbstractButton>(window, "wifiOut")->setChecked(true);
        setText(window, "wifiname", "office");
        setText(window, "wifipasswd", wifiPassword);

        const Outcome save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{kSaved});
        QVERIFY(storedConfig().contains("psk='" + wifiPassword + "'"));
        QVERIFY(!save.log.filter(QStringLiteral("com_passwd")).isEmpty());
        const QStringList logs = save.log + click(window, "connectBtn").log;
        for (const QString &secret : {newPassword, wifiPassword})
            QVERIFY2(logs.filter(secret).isEmpty(), qPrintable(logs.join('\n')));
    }

    // Each way a reader may misbehave, on a window that a first connect has
    // filled: the failure box in bounded time, the window as it was, no busy
    // cursor left behind, and the next connect works again.
    void misbehavingReader_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("versionShown"); // after a connect that succeeds

        const char *modes[] = {"noanswer", "late",  "garbage", "short",        "oversize",
                               "badcrc",   "close", "refuse",  "unterminated", "empty"};
        // A reader that stores the text but answers it late, cut short,
        // garbled or not at all is found to hold it when read back.
        const QStringList storedAnyway = {"late", "short", "badcrc", "unterminated", "empty"};
        for (const char *mode : modes) {
            QTest::addRow("connect, %s", mode) << QString(mode) << "connectBtn" << kConnectFailed << "";
            QTest::addRow("save, %s", mode)
                << QString(mode) + ":1"
                << "saveBtn" << (storedAnyway.contains(mode) ? kSaved : kSaveFailed) << "";
        }
        // The text read, the version fails: the window stays as it was.
        QTest::newRow("connect, version refused") << "refuse:12"
                                                  << "connectBtn" << kConnectFailed << "";
        // A version without its NUL, or none at all, is shown as far as it goes.
        QTest::newRow("connect, version unterminated") << "unterminated:12"
                                                       << "connectBtn" << kConnected << kFirmware;
        QTest::newRow("connect, version empty") << "empty:12"
                                                << "connectBtn" << kConnected << "";
    }

    void misbehavingReader()
    {
        QFETCH(QString, fault);
        QFETCH(QString, button);
        QFETCH(QString, box);
        QFETCH(QString, versionShown);
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        setText(window, "linePrefix", "edited here");
        formChild<QLabel>(window, "deviceversion")->setText("before");
        formChild<QLabel>(window, "labelState")->setText("before");
        QVERIFY(sim.control("fault " + fault, "fault " + fault));

        // The edit is unsaved work: a connect asks first.
        const bool asks = button == "connectBtn";
        const Outcome outcome = click(window, button.toLatin1(), {kLoadReader});
        QCOMPARE(outcome.boxes, asks ? (QStringList{kAsk, box}) : QStringList{box});
        QVERIFY(outcome.msToFirstBox < kGenerousMs);
        QVERIFY(!outcome.boxUnderBusyCursor);
        QVERIFY(!outcome.busyCursorLeft);
        QVERIFY(WidgetProbe(window).configText().isEmpty());
        if (box == kConnected) {
            QCOMPARE(text(window, "deviceversion"), versionShown);
        } else {
            QCOMPARE(text(window, "linePrefix"), QStringLiteral("edited here"));
            // A failed connect knows no version; a save that the reader
            // answered, even with a refusal, leaves it.
            QCOMPARE(text(window, "deviceversion"),
                     button == "connectBtn" ? QString() : QStringLiteral("before"));
            // A connect that fails on a connected channel says it is gone.
            QCOMPARE(text(window, "labelState"),
                     button == "connectBtn" ? QStringLiteral("连接已断开") : QStringLiteral("before"));
            QVERIFY(formChild<QToolButton>(window, "saveBtn")->isEnabled());
        }

        // The edit stays unsaved unless the reader took it or replaced it.
        QVERIFY(sim.control("fault none", "fault none"));
        const bool stillEdited = box != kSaved && box != kConnected;
        QCOMPARE(click(window, "connectBtn", {kLoadReader}).boxes,
                 stillEdited ? (QStringList{kAsk, kConnected}) : QStringList{kConnected});
        QCOMPARE(text(window, "deviceversion"), kFirmware);
    }

    // A version is the reader's to choose, markup included: it is shown as
    // text, at once, cut to the label, and whole in the tooltip.
    void versionIsShownAsPlainText_data()
    {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("shown");
        const QString styled = QStringLiteral("<h1 style='font-size:120px'>TRVO</h1>");
        QTest::newRow("styled") << styled << styled;
        // Deep enough to overflow the stack of a rich-text layout.
        QTest::newRow("nested tables") << QString("<table><tr><td>").repeated(4000)
                                       << QString("<table><tr><td>").repeated(5).left(63) + QChar(0x2026);
    }

    void versionIsShownAsPlainText()
    {
        QFETCH(QString, firmware);
        QFETCH(QString, shown);
        QVERIFY(resetReader(firmware));
        Widget window;
        window.show();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
        window.grab(); // lays the label out
        QVERIFY(clock.elapsed() < kGenerousMs);

        auto *version = formChild<QLabel>(window, "deviceversion");
        QCOMPARE(version->textFormat(), Qt::PlainText);
        QCOMPARE(version->text(), shown);
        QTextDocument tooltip;
        tooltip.setHtml(version->toolTip());
        QCOMPARE(version->toolTip().isEmpty() ? shown : tooltip.toPlainText(), firmware);
    }

    // Without the script's answers a connect would show the window's own
    // values as the reader's, and a save would write them over it.
    void connectFailsWhenTheImportCannotRun_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no script at all
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("找不到配置脚本 update_config.lua");
        QTest::newRow("does not load") << QByteArray("this is not lua")
                                       << QStringLiteral("配置脚本 update_config.lua 无法加载");
        QTest::newRow("updatecfg fails")
            << QByteArray("function updatecfg(text) error('cannot read') end\n"
                          "function getvalue_num(key) return 1 end\n"
                          "function getvalue_str(key) return 'from the script' end\n")
            << QStringLiteral("配置脚本 update_config.lua 无法读取设备的配置");
    }

    void connectFailsWhenTheImportCannotRun()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, cause);
        QFile::remove("update_config.lua");
        if (!script.isEmpty())
            QVERIFY(scriptDir.write(script));
        Widget window;
        window.show();
        const QStringList formBefore = formState(window);

        QString detail;
        MessageBoxAnswerer answerer;
        answerer.onSeen([&](QMessageBox *box) { detail = box->informativeText(); });
        QTest::mouseClick(formChild<QAbstractButton>(window, "connectBtn"), Qt::LeftButton);
        QCOMPARE(answerer.summary(), QStringList{kConnectFailed});
        QCOMPARE(detail.section('\n', 0, 0), cause);
        QCOMPARE(formState(window), formBefore);
        QVERIFY(!formChild<QToolButton>(window, "saveBtn")->isEnabled());
    }

    // The reader picked in the chooser is the one the next connect opens,
    // with TRVO_DEVICE unset; remembered, it is named in the boxes.
    void chooserChoiceReachesTheConnect()
    {
        Widget window;
        QVERIFY(connectWindow(window));
        qunsetenv("TRVO_DEVICE");
        choose(window, setting());
        QVERIFY(!formChild<DeviceSession>(window, "deviceSession")->reader().isOpen()); // the old channel closed
        QCOMPARE(text(window, "labelState"), QStringLiteral("未连接"));

        const Outcome connected = click(window, "connectBtn");
        QCOMPARE(connected.boxes, QStringList{kConnected});
        QVERIFY(connected.details.first().contains(setting()));
        QCOMPARE(connected.statusWhileBusy, QStringLiteral("正在连接…"));
        QVERIFY(formChild<QLabel>(window, "labelState")->toolTip().contains(setting()));

        // A new window finds the choice again; TRVO_DEVICE, when set, decides.
        Widget next;
        QCOMPARE(formChild<DeviceSession>(next, "deviceSession")->link().left(setting().size()), setting());
        useDeviceSetting("tcp:127.0.0.1:1");
        QCOMPARE(formChild<DeviceSession>(next, "deviceSession")->link(), QStringLiteral("tcp:127.0.0.1:1"));
    }

    // Each way a connect fails names its cause below the box's text.
    void connectSaysWhy_data()
    {
        QTest::addColumn<QString>("link"); // {pty} for the simulator's terminal; empty: TRVO_DEVICE
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("holdPort");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing port") << "serial:/dev/tarvo-no-such-port"
                                      << "none" << false << "找不到该串口";
        QTest::newRow("port held") << "serial:{pty}"
                                   << "none" << true << "另一个程序占用";
        QTest::newRow("refused") << "tcp:127.0.0.1:1"
                                 << "none" << false << "连接被拒绝";
        QTest::newRow("no answer") << ""
                                   << "noanswer" << false << "没有应答";
        QTest::newRow("garbage") << ""
                                 << "garbage" << false << "应答无法识别";
    }

    void connectSaysWhy()
    {
        QFETCH(QString, link);
        QFETCH(QString, fault);
        QFETCH(bool, holdPort);
        QFETCH(QString, cause);
        link.replace("{pty}", sim.ptyLink());
        Widget window;
        window.show();
        if (!link.isEmpty()) {
            qunsetenv("TRVO_DEVICE");
            choose(window, link);
        }
        const PortHolder holder(holdPort ? link : QString("tcp:127.0.0.1:1"));
        QCOMPARE(holder.holds(), holdPort);
        QVERIFY(sim.control("fault " + fault, "fault " + fault));

        const Outcome failed = click(window, "connectBtn");
        QCOMPARE(failed.boxes, QStringList{kConnectFailed});
        QVERIFY2(failed.details.first().contains(cause), qPrintable(failed.details.first()));
        QVERIFY(link.isEmpty() || failed.details.first().contains(link));
    }

    // A save is reported stored only when the reader, read back, holds
    // what was sent; unanswered, the read-back decides.
    void saveIsVerified_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("newPassword");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("detail"); // a part of it
        QTest::newRow("late, stored") << "late:1" << false << kSaved << "读回的配置与发送的一致";
        QTest::newRow("stored something else")
            << "alter:1" << false << kSaveFailed << "亮度调节 brightness: 200 → 201";
        QTest::newRow("vanished") << "vanish:1" << false << kSaveUnknown << "没有应答";
        QTest::newRow("vanished, new password") << "vanish:1" << true << kSaveUnknown << "新的配置密码可能已生效";
        QTest::newRow("late, new password") << "late:1" << true << kSaveUnknown << "新的配置密码可能已生效";
        QTest::newRow("answered, new password") << "none" << true << kSaved << "";
        QTest::newRow("wrong password") << "refuse-by-password" << false << kSaveFailed << "配置密码错误";
        QTest::newRow("stored something else, new password")
            << "alter:1" << true << kSaveFailed << "新的配置密码已经生效";
        QTest::newRow("empty read-back") << "empty:2" << false << kSaveUnknown << "empty";
        QTest::newRow("unterminated read-back") << "unterminated:2" << false << kSaveUnknown << "not terminated";
    }

    void saveIsVerified()
    {
        QFETCH(QString, fault);
        QFETCH(bool, newPassword);
        QFETCH(QString, box);
        QFETCH(QString, detail);
        Widget window;
        QVERIFY(connectWindow(window));
        const bool wrongPassword = fault == "refuse-by-password";
        setText(window, "manpw", wrongPassword ? QStringLiteral("0123456789abcdef") : kFactoryPassword);
        setText(window, "linePrefix", QStringLiteral("verified"));
        if (newPassword) {
            formChild<QAbstractButton>(window, "changepwcheck")->setChecked(true);
            setText(window, "newpw", QStringLiteral("Fresh-Pass-00016"));
            setText(window, "confimpw", QStringLiteral("Fresh-Pass-00016"));
        }
        if (!wrongPassword)
            QVERIFY(sim.control("fault " + fault, "fault " + fault));

        const Outcome save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{box});
        QVERIFY2(save.details.first().contains(detail), qPrintable(save.details.first()));
        QCOMPARE(save.statusWhileBusy, QStringLiteral("正在保存…"));
        // A reader that vanished is no longer connected; one that answered is.
        QCOMPARE(text(window, "labelState"),
                 fault.startsWith("vanish") ? QStringLiteral("连接已断开") : QStringLiteral("设备已连接"));
        QVERIFY(!save.busyCursorLeft);
    }

    // A close request that arrives during a call waits for the call and its
    // box, then closes the window.
    void closeDuringACallWaitsForIt()
    {
        Widget window;
        QVERIFY(connectWindow(window));
        QCoreApplication::postEvent(&window, new QCloseEvent);
        const Outcome connected = click(window, "connectBtn");
        QCOMPARE(connected.boxes, QStringList{kConnected});
        QVERIFY(connected.visibleAtBox);
        QVERIFY(!window.isVisible());
    }

    // A connect that loads other settings greys the code shown before it; one
    // that loads what the form holds already leaves it usable.
    void connectMarksAStaleCode_data()
    {
        QTest::addColumn<QString>("prefixBefore");
        QTest::addColumn<bool>("usableAfter");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("other settings") << "edited here" << false << QStringList{kAsk, kConnected};
        QTest::newRow("the same settings") << "TV-" << true << QStringList{kConnected};
    }

    void connectMarksAStaleCode()
    {
        QFETCH(QString, prefixBefore);
        QFETCH(bool, usableAfter);
        QFETCH(QStringList, boxes);
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        setText(window, "linePrefix", prefixBefore);
        QCOMPARE(click(window, "pushButton").boxes, QStringList());
        CodeActions &actions = *formChild<CodeActions>(window, "codeActions");
        QVERIFY(actions.usable());

        QCOMPARE(click(window, "connectBtn", {kLoadReader}).boxes, boxes);
        QCOMPARE(actions.usable(), usableAfter);
    }

    // A connect asks before it would replace unsaved edits or an open file,
    // and does what the answer says; untouched, it loads without a question.
    void connectAsksBeforeReplacingWork_data()
    {
        QTest::addColumn<QString>("edit");  // typed into the prefix before the connect
        QTest::addColumn<bool>("openFile"); // a file with the prefix 文件-1
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("prefixAfter");
        QTest::addColumn<QString>("versionAfter");
        const QStringList connected{kAsk, kConnected};
        QTest::newRow("untouched") << "" << false << "" << QStringList{kConnected} << "TV-" << kFirmware;
        QTest::newRow("edited, load") << "窗口-1" << false << kLoadReader << connected << "TV-" << kFirmware;
        QTest::newRow("edited, keep") << "窗口-1" << false << kKeepForm << connected << "窗口-1" << kFirmware;
        QTest::newRow("edited, cancel") << "窗口-1" << false << "取消" << QStringList{kAsk} << "窗口-1"
                                        << "";
        QTest::newRow("file, load") << "" << true << kLoadReader << connected << "TV-" << kFirmware;
        QTest::newRow("file, keep") << "" << true << kKeepForm << connected << "文件-1" << kFirmware;
        QTest::newRow("file edited, keep") << "窗口-1" << true << kKeepForm << connected << "窗口-1" << kFirmware;
    }

    void connectAsksBeforeReplacingWork()
    {
        QFETCH(QString, edit);
        QFETCH(bool, openFile);
        QFETCH(QString, answer);
        QFETCH(QStringList, boxes);
        QFETCH(QString, prefixAfter);
        QFETCH(QString, versionAfter);
        Widget window;
        window.show();
        QTemporaryDir dir;
        if (openFile) {
            setText(window, "linePrefix", QStringLiteral("文件-1"));
            QVERIFY(window.configFiles().saveAs(dir.filePath("prepared.tcfg")));
        }
        if (!edit.isEmpty())
            setText(window, "linePrefix", edit);

        QCOMPARE(click(window, "connectBtn", {answer}).boxes, boxes);
        QCOMPARE(text(window, "linePrefix"), prefixAfter);
        QCOMPARE(text(window, "deviceversion"), versionAfter);
        QCOMPARE(formChild<QToolButton>(window, "saveBtn")->isEnabled(), !versionAfter.isEmpty());
    }

    // A save of a form that did not come from the reader lists the settings
    // it changes there and writes only when told to; a form loaded from the
    // reader and edited saves at once and says what changed.
    void saveReviewsWhatTheReaderDoesNotHold_data()
    {
        QTest::addColumn<QString>("connectAnswer");
        QTest::addColumn<bool>("openAfterConnect");
        QTest::addColumn<QString>("reviewAnswer");
        QTest::addColumn<QStringList>("reviewed"); // the review's settings; empty: no review
        QTest::addColumn<QStringList>("boxes");    // after the review
        QTest::addColumn<QString>("prefixStored");
        QTest::addColumn<QString>("savedDetail");
        const QStringList fileAndReader{"扫码前缀", "间隔时间(毫秒)", "设备号"};
        const QString written = QStringLiteral("写入读卡器");
        QTest::newRow("file kept, written")
            << kKeepForm << false << written << fileAndReader << QStringList{kSaved} << "文件-1"
            << "扫码前缀：TV- → 文件-1\n间隔时间(毫秒)：450 → 300\n设备号：7 → 13";
        QTest::newRow("file kept, cancelled")
            << kKeepForm << false << "取消" << fileAndReader << QStringList() << "TV-"
            << "";
        QTest::newRow("file opened after loading")
            << kLoadReader << true << written << fileAndReader << QStringList{kSaved} << "文件-1"
            << "设备号：7 → 12";
        QTest::newRow("loaded and edited")
            << kLoadReader << false << "" << QStringList() << QStringList{kSaved} << "编辑-2"
            << "扫码前缀：TV- → 编辑-2";
    }

    void saveReviewsWhatTheReaderDoesNotHold()
    {
        QFETCH(QString, connectAnswer);
        QFETCH(bool, openAfterConnect);
        QFETCH(QString, reviewAnswer);
        QFETCH(QStringList, reviewed);
        QFETCH(QStringList, boxes);
        QFETCH(QString, prefixStored);
        QFETCH(QString, savedDetail);
        Widget window;
        window.show();
        QTemporaryDir dir;
        const QString file = dir.filePath("prepared.tcfg");
        setText(window, "linePrefix", QStringLiteral("文件-1"));
        setText(window, "lineIntervaltime", QStringLiteral("300"));
        setText(window, "devnum", QStringLiteral("12"));
        QVERIFY(window.configFiles().saveAs(file));
        setText(window, "devnum", QStringLiteral("13"));

        QCOMPARE(click(window, "connectBtn", {connectAnswer}).boxes, (QStringList{kAsk, kConnected}));
        if (openAfterConnect)
            QVERIFY(window.configFiles().open(file));
        else if (connectAnswer == kLoadReader)
            setText(window, "linePrefix", QStringLiteral("编辑-2"));
        setText(window, "manpw", kFactoryPassword);

        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto *review = qobject_cast<SaveReviewDialog *>(QApplication::activeModalWidget());
            if (!review)
                return;
            auto *table = formChild<QTableWidget>(*review, "changeTable");
            for (int row = 0; row < table->rowCount(); ++row)
                seen << table->item(row, 0)->text();
            auto *write = formChild<QPushButton>(*review, "writeButton");
            QPushButton *answer =
                write->text() == reviewAnswer ? write : formChild<QPushButton>(*review, "cancelButton");
            QTest::mouseClick(answer, Qt::LeftButton);
        });
        const Outcome save = click(window, "saveBtn");
        // Every key the save sends that the reader lacks or holds otherwise,
        // once each; the success box lists the same rows.
        for (const QString &setting : reviewed)
            QVERIFY2(seen.contains(setting), qPrintable(seen.join(',')));
        QCOMPARE(seen.isEmpty(), reviewed.isEmpty());
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), seen.size());
        QCOMPARE(save.boxes, boxes);
        QVERIFY2(storedConfig().contains("prefix='" + prefixStored + "'"), qPrintable(storedConfig()));
        // The box lists exactly the changes where they fit; a long list is
        // cut after its bound, with how many there are.
        const QStringList lines = save.details.value(0).split('\n', Qt::SkipEmptyParts);
        static const QRegularExpression count(QStringLiteral("^…等 (\\d+) 项$"));
        const QRegularExpressionMatch cut = count.match(lines.value(kShownChanges));
        if (cut.hasMatch())
            QVERIFY(lines.size() == kShownChanges + 1 && cut.captured(1).toInt() > kShownChanges);
        else if (!savedDetail.isEmpty())
            QCOMPARE(lines, savedDetail.split('\n'));
    }

    // Every save leaves its record with its result; a store that cannot
    // keep it changes nothing of the save, and the box says so.
    void savesAreRecorded_data()
    {
        QTest::addColumn<QString>("store");    // healthy, corrupt, or blocked (a folder in its place)
        QTest::addColumn<QStringList>("note"); // what each save's box adds about the record
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QStringList>("shown");  // the results in the record window, newest first
        QTest::addColumn<QString>("windowNote"); // what the record window says of the store, once
        const QStringList results{"confirmed", "confirmed", "failed"};
        const QStringList shown{"失败", "已确认", "已确认"};
        QTest::newRow("healthy") << "healthy" << QStringList{"", "", ""} << results << shown << "";
        QTest::newRow("corrupt") << "corrupt" << QStringList{"配置记录已损坏，已移至", "", ""} << results << shown
                                 << "配置记录曾损坏，已移至";
        QTest::newRow("blocked") << "blocked"
                                 << QStringList{"配置记录未能保存：", "配置记录未能保存：", "配置记录未能保存："}
                                 << QStringList() << QStringList() << "无法读取配置记录";
    }

    void savesAreRecorded()
    {
        QFETCH(QString, store);
        QFETCH(QStringList, note);
        QFETCH(QStringList, results);
        const QString path = records::defaultPath();
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        QDir().mkpath(store == "blocked" ? path : QFileInfo(path).absolutePath());
        if (store == "corrupt") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')));
        }
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        const QStringList prefixes{"记录-1", "记录-2", "记录-3"};
        QString failedDetail;
        for (int i = 0; i < 3; ++i) {
            setText(window, "linePrefix", prefixes[i]);
            if (i == 2)
                sim.kill();
            const Outcome save = click(window, "saveBtn");
            QCOMPARE(save.boxes, QStringList{i == 2 ? kSaveFailed : kSaved});
            const QString detail = save.details.value(0);
            failedDetail = detail;
            QVERIFY2(note[i].isEmpty() ? !detail.contains("配置记录") : detail.contains(note[i]),
                     qPrintable(detail));
        }

        std::vector<records::Record> saved;
        QVERIFY(store == "blocked" || !records::Store(path).read(QDateTime(), &saved));
        QStringList found;
        for (const records::Record &record : saved) {
            found << records::resultName(record.result);
            QVERIFY(!record.configuration.contains(kFactoryPassword.toUtf8()));
        }
        QCOMPARE(found, results);
        if (!saved.empty()) {
            QCOMPARE(saved[0].firmware, kFirmware);
            // The second save changes the prefix alone on a reader that
            // holds the first: exactly what it sends and the reader lacked.
            QCOMPARE(saved[1].changes, QStringLiteral("扫码前缀：记录-1 → 记录-2"));
            QVERIFY(saved[2].configuration.contains("记录-3"));
            // The record keeps why as data, worded as the box said it.
            QVERIFY(!saved[2].causeParts.empty());
            QVERIFY2(failedDetail.startsWith(recordCause(saved[2])), qPrintable(failedDetail));
        }

        QFETCH(QStringList, shown);
        QFETCH(QString, windowNote);
        window.show();
        for (const bool again : {false, true}) {
            QApplication::setActiveWindow(&window);
            QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
            RecordWindow *records = window.findChild<RecordWindow *>();
            QVERIFY(records);
            formChild<QComboBox>(*records, "viewChooser")
                ->setCurrentIndex(1); // every save, not the reader's state
            const QAbstractItemModel *rows = formChild<QTableView>(*records, "recordTable")->model();
            QStringList found;
            for (int row = 0; row < rows->rowCount(); ++row)
                found << rows->index(row, RecordTable::Result).data().toString().section("：", 0, 0);
            QCOMPARE(found, shown);
            const QString note = formChild<QLabel>(*records, "noteLine")->text();
            QVERIFY2(windowNote.isEmpty() || (again && store == "corrupt") ? !note.contains("已移至")
                                                                           : note.contains(windowNote),
                     qPrintable(note));
            delete records;
        }
    }

    // The place typed in the success box or in the review goes with that
    // save's record as one line of plain text, and is offered for the next.
    void placeGoesWithTheRecord()
    {
        const QString path = records::defaultPath();
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        setText(window, "linePrefix", QStringLiteral("位置-1"));
        QStringList offered;
        const auto typePlace = [&](const QString &typed) {
            return [&offered, typed](QMessageBox *box) {
                auto *place = box->findChild<QLineEdit *>();
                offered << (place ? place->text() : QStringLiteral("(none)"));
                if (place && !typed.isNull())
                    place->setText(typed);
            };
        };
        QCOMPARE(click(window, "saveBtn", {}, typePlace(QStringLiteral("3号楼\t东门\x01\n"))).boxes,
                 QStringList{kSaved});

        QTemporaryDir dir;
        setText(window, "linePrefix", QStringLiteral("位置-2"));
        QVERIFY(window.configFiles().saveAs(dir.filePath("other.tcfg")));
        QVERIFY(window.configFiles().open(dir.filePath("other.tcfg")));
        setText(window, "manpw", kFactoryPassword);
        QTimer::singleShot(0, [&] {
            auto *review = qobject_cast<SaveReviewDialog *>(QApplication::activeModalWidget());
            QVERIFY(review);
            offered << review->placeEdit()->text();
            review->placeEdit()->setText(QStringLiteral("  B栋   大厅 "));
            QTest::mouseClick(formChild<QPushButton>(*review, "writeButton"), Qt::LeftButton);
        });
        QCOMPARE(click(window, "saveBtn", {}, typePlace(QString())).boxes, QStringList{kSaved});
        QCOMPARE(offered, (QStringList{"", "3号楼 东门", "B栋 大厅"}));

        std::vector<records::Record> saved;
        QVERIFY(!records::Store(path).read(QDateTime(), &saved));
        QStringList places;
        for (const records::Record &record : saved)
            places << record.place;
        QCOMPARE(places, (QStringList{"3号楼 东门", "B栋 大厅"}));
    }

    // The config code shown on screen, held up to the reader, configures it
    // just as a save does.
    void readerAppliesTheShownConfigCode()
    {
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        setText(window, "linePrefix", QStringLiteral("扫码-1"));
        QCOMPARE(click(window, "pushButton").boxes, QStringList());

        QTemporaryDir dir;
        const QString picture = dir.filePath("code.png");
        QVERIFY(formChild<QLabel>(window, "label")->pixmap(Qt::ReturnByValue).save(picture, "PNG"));
        QVERIFY(sim.control("scan " + picture, "config applied (scan)"));

        setText(window, "linePrefix", "edited here");
        QCOMPARE(click(window, "connectBtn", {kLoadReader}).boxes, (QStringList{kAsk, kConnected}));
        QCOMPARE(text(window, "linePrefix"), QStringLiteral("扫码-1"));
    }
};

QTEST_MAIN(DeviceLinkTest)
#include "test_device_link.moc"
