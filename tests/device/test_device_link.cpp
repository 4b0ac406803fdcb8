// Connect and save as a user drives them, through the real device library
// and the reader simulator, over the link this program was built for (TCP or
// the simulator's pseudo-terminal). The program opens its channel once per
// process, so one simulator serves every case here, restarted on a fresh
// state for each; a restart keeps its port and its terminal's name.
#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include "app/widget.h"
#include "device/device_link.h"
#include "device/reader_sim.h"
#include "script/script_fixture.h"
#include "support/debug_log.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"

namespace {

const QString kFactoryPassword = QStringLiteral("Tarvo#Factory#16");
const QString kFirmware = QStringLiteral("TRVO-TEST 2.3.4");
// What the reader holds at the start of each case; unlike the window's
// start state, so that an import shows.
const QByteArray kReaderConfig = "prefix='TV-',interval=450,devnum=7,ochannel=1,dchannel=1,w_mode=1";
const QStringList kSimArguments = {"--late-ms", "3000"}; // later than a write waits
const qint64 kGenerousMs = 4000; // for reads of 300 ms and writes of 2500 ms

const QString kConnected = QStringLiteral("连接状态 / 连接设备成功");
const QString kConnectFailed = QStringLiteral("连接状态 / 连接设备失败");
const QString kSaved = QStringLiteral("保存状态 / 保存成功");
const QString kSaveFailed = QStringLiteral("保存状态 / 保存失败，请重试");

// What one click brought about.
struct Outcome
{
    QStringList boxes;         // "title / text" of each box, in order
    qint64 msToFirstBox = -1;  // from the click
    bool boxUnderBusyCursor = false;
    QStringList log;           // debug lines written meanwhile
    QStringList busyLog;       // those of them written under the busy cursor
    bool busyCursorLeft = false;
};

bool busyCursorShown()
{
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

// A real click on a button of the shown window; every box is answered Ok.
Outcome click(Widget &window, const char *button)
{
    Outcome outcome;
    MessageBoxAnswerer answerer;
    DebugLog log;
    QElapsedTimer clock;
    clock.start();
    answerer.onSeen([&](QMessageBox *) {
        if (outcome.msToFirstBox < 0)
            outcome.msToFirstBox = clock.elapsed();
        outcome.boxUnderBusyCursor |= QApplication::overrideCursor() != nullptr;
    });
    log.onLine([&](const QString &line) {
        if (busyCursorShown())
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

} // namespace

class DeviceLinkTest : public QObject
{
    Q_OBJECT

private:
    ReaderSim sim;
    ScriptDir scriptDir; // the import reads ./update_config.lua

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
        // Started once to learn its port; each case starts it afresh.
        QVERIFY(sim.start(kSimArguments));
        useDeviceSetting(setting());
    }

    void init() { QVERIFY(resetReader()); }

    // Each case ends with the shipped script in place again.
    void cleanup()
    {
        QFile::remove("update_config.lua");
        QVERIFY(scriptDir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)));
    }

    // First in the process: the channel is not open yet.
    void connectWorksOnceTheReaderIsThere()
    {
        QCOMPARE(device_channel, intptr_t(0));
        sim.kill();
        Widget window;
        window.show();
        const QString stateBefore = text(window, "labelState");

        const Outcome absent = click(window, "connectBtn");
        QCOMPARE(absent.boxes, QStringList{kConnectFailed});
        QVERIFY(absent.msToFirstBox < kGenerousMs);
        QCOMPARE(device_channel, intptr_t(0));
        QCOMPARE(text(window, "labelState"), stateBefore);
        QVERIFY(!formChild<QToolButton>(window, "saveBtn")->isEnabled());
        QVERIFY(!absent.boxUnderBusyCursor);
        QVERIFY(!absent.busyCursorLeft);

        QVERIFY(resetReader());
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
        QVERIFY(device_channel != 0);
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
        QCOMPARE(QByteArray(probe.devConfig()), kReaderConfig);
        QCOMPARE(probe.devConfigLen(), kReaderConfig.size() + 1);
        // The device work ran under the busy cursor, the box did not.
        QVERIFY(first.busyLog.contains("i am here"));
        QVERIFY(!first.boxUnderBusyCursor);
        QVERIFY(!first.busyCursorLeft);

        const intptr_t channel = device_channel;
        setText(window, "linePrefix", "edited here");
        const Outcome second = click(window, "connectBtn");
        QCOMPARE(second.boxes, QStringList{kConnected});
        QVERIFY(second.log.contains(QStringLiteral("设备已连接")));
        QCOMPARE(device_channel, channel);
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
        QTest::newRow("wrong password") << QStringLiteral("0123456789abcdef") << kSaveFailed
                                        << QStringLiteral("TV-");
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
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
        QCOMPARE(text(window, "linePrefix"), prefixAfter);
    }

    // A new password reaches the reader, but never a log in clear.
    void saveKeepsANewPasswordOutOfTheLog()
    {
        const QString newPassword = QStringLiteral("Fresh-Pass-00016");
        Widget window;
        QVERIFY(connectWindow(window));
        setText(window, "manpw", kFactoryPassword);
        formChild<QAbstractButton>(window, "changepwcheck")->setChecked(true);
        setText(window, "newpw", newPassword);
        setText(window, "confimpw", newPassword);

        const Outcome save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{kSaved});
        QVERIFY(!save.log.filter(QStringLiteral("com_passwd")).isEmpty());
        QVERIFY2(save.log.filter(newPassword).isEmpty(), qPrintable(save.log.join('\n')));
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

        const char *modes[] = {"noanswer", "late",    "garbage", "short",        "oversize",
                               "badcrc",   "close",   "refuse",  "unterminated", "empty"};
        for (const char *mode : modes) {
            QTest::addRow("connect, %s", mode) << QString(mode) << "connectBtn" << kConnectFailed << "";
            QTest::addRow("save, %s", mode) << QString(mode) + ":1" << "saveBtn" << kSaveFailed << "";
        }
        // The text read, the version fails: the window stays as it was.
        QTest::newRow("connect, version refused") << "refuse:12" << "connectBtn" << kConnectFailed << "";
        // A version without its NUL, or none at all, is shown as far as it goes.
        QTest::newRow("connect, version unterminated")
            << "unterminated:12" << "connectBtn" << kConnected << kFirmware;
        QTest::newRow("connect, version empty") << "empty:12" << "connectBtn" << kConnected << "";
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

        const Outcome outcome = click(window, button.toLatin1());
        QCOMPARE(outcome.boxes, QStringList{box});
        QVERIFY(outcome.msToFirstBox < kGenerousMs);
        QVERIFY(!outcome.boxUnderBusyCursor);
        QVERIFY(!outcome.busyCursorLeft);
        QVERIFY(WidgetProbe(window).configText().isEmpty());
        if (box == kConnected) {
            QCOMPARE(text(window, "deviceversion"), versionShown);
        } else {
            QCOMPARE(text(window, "linePrefix"), QStringLiteral("edited here"));
            QCOMPARE(text(window, "deviceversion"), QStringLiteral("before"));
            QCOMPARE(text(window, "labelState"), QStringLiteral("before"));
            QVERIFY(formChild<QToolButton>(window, "saveBtn")->isEnabled());
        }

        QVERIFY(sim.control("fault none", "fault none"));
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
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
        QTest::newRow("does not load")
            << QByteArray("this is not lua") << QStringLiteral("配置脚本 update_config.lua 无法加载");
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
        QCOMPARE(detail, cause);
        QCOMPARE(formState(window), formBefore);
        QVERIFY(!formChild<QToolButton>(window, "saveBtn")->isEnabled());
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
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{kConnected});
        QCOMPARE(text(window, "linePrefix"), QStringLiteral("扫码-1"));
    }
};

QTEST_MAIN(DeviceLinkTest)
#include "test_device_link.moc"
