// The code on screen goes stale the moment the form stops saying what it
// says, and only then: taken away under a note, its actions closed, until the
// next code. Each row acts on one representative input of a page as a user
// would, after the code is shown.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "support/debug_log.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "tools/qrread/qr_reader.h"
#include "window/code_actions.h"

namespace {

const QString kPassword = QStringLiteral("Tarvo-0123456789");
const QString kNewPassword = QStringLiteral("New-pass-0123456");

// "click:name" clicks a button as a user does; any other step is fillForm's.
void act(Widget &w, const QStringList &steps)
{
    for (const QString &step : steps) {
        if (step.startsWith("click:"))
            QTest::mouseClick(formChild<QAbstractButton>(w, qPrintable(step.mid(6))), Qt::LeftButton);
        else
            fillForm(w, {step});
    }
}

struct Window
{
    explicit Window(const QStringList &setup)
    {
        w.show();
        QApplication::setActiveWindow(&w);
        act(w, QStringList{"manpw=" + kPassword} + setup);
    }
    void generate() { act(w, {"click:pushButton"}); }
    CodeActions &actions() { return *formChild<CodeActions>(w, "codeActions"); }
    // What a scanner reads off the label as the user sees it, as it is or
    // cut to black and white at the level a camera might choose.
    QByteArray scanned()
    {
        const QImage seen =
            formChild<QLabel>(w, "label")->grab().toImage().convertToFormat(QImage::Format_Grayscale8);
        QByteArray read = readQrCode(seen);
        for (const int level : {64, 128, 192, 224, 240, 250}) {
            QImage cut = seen;
            for (int y = 0; y < cut.height(); ++y)
                for (uchar *pixel = cut.scanLine(y), *end = pixel + cut.width(); pixel != end; ++pixel)
                    *pixel = *pixel < level ? 0 : 255;
            if (read.isNull())
                read = readQrCode(cut);
        }
        return read;
    }

    MessageBoxAnswerer answerer;
    Widget w;
};

} // namespace

class CodeFreshnessTest : public QObject
{
    Q_OBJECT

private slots:
    void changeMarksTheCodeStale_data()
    {
        QTest::addColumn<QStringList>("setup"); // before the code
        QTest::addColumn<QStringList>("change");
        QTest::addColumn<QStringList>("revert"); // none: the change changes nothing
        // Steps separated by spaces.
        const auto row = [](const char *name, const QString &setup, const QString &change,
                            const QString &revert) {
            const auto steps = [](const QString &s) { return s.split(' ', Qt::SkipEmptyParts); };
            QTest::newRow(name) << steps(setup) << steps(change) << steps(revert);
        };
        const QString wiegand = "click:weigenOut click:wgoption";
        const QString wifi = "click:wifiOut click:wifioption";
        const QString changing =
            "click:commandLinkButton click:changepwcheck newpw=" + kNewPassword + " confimpw=" + kNewPassword;

        row("general: prefix", "", "linePrefix=AB-", "linePrefix=");
        // Where the build logs that it leaves the NFC group out.
        row("general: prefix, RN450 over serial", "click:tarvo_RN450 click:serialOut", "linePrefix=AB-",
            "linePrefix=");
        row("general: symbology", "", "click:pdf417Check", "click:pdf417Check");
        row("general: brightness", "", "brightadjust=120", "brightadjust=200");
        row("general: output channel", "", "click:serialOut", "click:keyboardOut");
        row("general: baud rate", "click:serialOut", "baudRate=9600", "baudRate=115200");
        row("general: work mode", "", "click:developmode", "click:scanmode");
        row("general: signing password", "", "manpw=Tarvo-9876543210", "manpw=" + kPassword);
        row("general: a page button", "", "click:nfc_option", "");
        row("NFC: on", "click:nfc_option", "click:nfcable", "click:nfcable");
        row("NFC: length", "click:nfc_option click:nfcable", "outlen=4", "outlen=8");
        row("NFC: back to general", "click:nfc_option", "click:nfc_return", "");
        row("Wiegand: format", wiegand, "click:vg34", "click:vg26");
        row("Wiegand: output high", wiegand, "click:outputhight_2", "click:outputhight_2");
        row("network: Wi-Fi name", wifi, "wifiname=office", "wifiname=");
        row("network: HTTP", wifi, "click:httpO", "click:tcpO");
        row("network: declined voltage", wifi + " click:outputhight", "click:lowvoltage", "");
        row("password: change asked", "click:commandLinkButton", "click:changepwcheck", "click:oldpwcheck");
        row("password: new one", changing, "newpw=Other-pass-01234", "newpw=" + kNewPassword);
        row("password: its confirmation", changing, "confimpw=Other-pass-01234", "");
    }

    // A change marks at once and a revert does not unmark; the next code is
    // fresh again. A page button, a declined box or the confirmation field
    // changes nothing the code says. Watching writes nothing to the debug
    // log, where a build writes its text.
    void changeMarksTheCodeStale()
    {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, change);
        QFETCH(QStringList, revert);
        const bool marks = !revert.isEmpty();
        Window window(setup);
        window.generate();
        QVERIFY2(window.actions().usable(), qPrintable(window.answerer.summary().join('\n')));
        const QByteArray first = window.scanned();
        QVERIFY(!first.isEmpty());

        {
            DebugLog log;
            act(window.w, change);
            QVERIFY2(log.lines().isEmpty(), qPrintable(log.lines().join('\n')));
        }
        QCOMPARE(window.actions().usable(), !marks);
        QCOMPARE(formChild<QAction>(window.w, "exportCode")->isEnabled(), !marks);
        QCOMPARE(window.scanned().isNull(), marks);
        if (!marks)
            return;
        act(window.w, revert);
        QVERIFY(!window.actions().usable());
        QVERIFY(window.scanned().isNull());

        window.generate();
        QVERIFY(window.actions().usable());
        QCOMPARE(window.scanned(), first);
    }

    // This program has no printing part beside it, nor one built in: a
    // print says that it failed and why, and the window goes on.
    void printWithoutItsPartSaysWhy()
    {
        Window window({});
        window.generate();
        window.answerer.queue(MessageBoxAnswerer::Ok);
        QTest::keyClick(&window.w, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(window.answerer.seen().size(), 1);
        const MessageBoxAnswerer::Seen &box = window.answerer.seen().first();
        QCOMPARE(box.title, QStringLiteral("打印配置码"));
        QCOMPARE(box.text, QStringLiteral("配置码未能打印"));
        QVERIFY2(!box.detail.isEmpty(), "the box gives no reason");
        QVERIFY(window.actions().usable());
    }
};

QTEST_MAIN(CodeFreshnessTest)
#include "test_code_freshness.moc"
