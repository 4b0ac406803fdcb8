// The code on screen goes stale the moment the form stops saying what it
// says, and only then: greyed under a note, its actions closed, until the
// next code. Each row acts on one representative input of a page as a user
// would, after the code is shown.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/code_actions.h"
#include "config/form_setup.h"
#include "support/debug_log.h"
#include "support/message_box_answerer.h"
#include "tools/qrread/qr_reader.h"

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
    CodeActions &actions() { return WidgetProbe(w).codeActions(); }
    // What a scanner reads off the label as the user sees it.
    QByteArray scanned() { return readQrCode(formChild<QLabel>(w, "label")->grab().toImage()); }

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
        QTest::addColumn<QStringList>("revert"); // empty: the change changes nothing
        const QStringList nfcPage{"click:nfc_option"};
        const QStringList wiegand{"click:weigenOut", "click:wgoption"};
        const QStringList wifi{"click:wifiOut", "click:wifioption"};
        const QStringList passwordPage{"click:commandLinkButton"};
        const QStringList changing = passwordPage
            + QStringList{"click:changepwcheck", "newpw=" + kNewPassword, "confimpw=" + kNewPassword};

        QTest::newRow("general: prefix") << QStringList() << QStringList{"linePrefix=AB-"}
                                         << QStringList{"linePrefix="};
        QTest::newRow("general: symbology") << QStringList() << QStringList{"click:pdf417Check"}
                                            << QStringList{"click:pdf417Check"};
        QTest::newRow("general: brightness") << QStringList() << QStringList{"brightadjust=120"}
                                             << QStringList{"brightadjust=200"};
        QTest::newRow("general: output channel") << QStringList() << QStringList{"click:serialOut"}
                                                 << QStringList{"click:keyboardOut"};
        QTest::newRow("general: baud rate") << QStringList{"click:serialOut"}
                                            << QStringList{"baudRate=9600"}
                                            << QStringList{"baudRate=115200"};
        // Where the build logs that it leaves the NFC group out.
        QTest::newRow("general: prefix, RN450 over serial")
            << QStringList{"click:tarvo_RN450", "click:serialOut"} << QStringList{"linePrefix=AB-"}
            << QStringList{"linePrefix="};
        QTest::newRow("general: work mode") << QStringList() << QStringList{"click:developmode"}
                                            << QStringList{"click:scanmode"};
        QTest::newRow("general: signing password") << QStringList()
                                                   << QStringList{"manpw=Tarvo-9876543210"}
                                                   << QStringList{"manpw=" + kPassword};
        QTest::newRow("general: a page button") << QStringList() << nfcPage << QStringList();
        QTest::newRow("NFC: on") << nfcPage << QStringList{"click:nfcable"}
                                 << QStringList{"click:nfcable"};
        QTest::newRow("NFC: length") << nfcPage + QStringList{"click:nfcable"} << QStringList{"outlen=4"} << QStringList{"outlen=8"};
        QTest::newRow("NFC: back to general") << nfcPage << QStringList{"click:nfc_return"}
                                              << QStringList();
        QTest::newRow("Wiegand: format") << wiegand << QStringList{"click:vg34"}
                                         << QStringList{"click:vg26"};
        QTest::newRow("Wiegand: output high") << wiegand << QStringList{"click:outputhight_2"}
                                              << QStringList{"click:outputhight_2"};
        QTest::newRow("network: Wi-Fi name") << wifi << QStringList{"wifiname=office"}
                                             << QStringList{"wifiname="};
        QTest::newRow("network: HTTP") << wifi << QStringList{"click:httpO"}
                                       << QStringList{"click:tcpO"};
        QTest::newRow("network: declined voltage")
            << wifi + QStringList{"click:outputhight"} << QStringList{"click:lowvoltage"}
            << QStringList();
        QTest::newRow("password: change asked")
            << passwordPage << QStringList{"click:changepwcheck"} << QStringList{"click:oldpwcheck"};
        QTest::newRow("password: new one") << changing << QStringList{"newpw=Other-pass-01234"}
                                           << QStringList{"newpw=" + kNewPassword};
        QTest::newRow("password: its confirmation") << changing
                                                    << QStringList{"confimpw=Other-pass-01234"}
                                                    << QStringList();
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
        const QString first = window.actions().signedText();
        QVERIFY2(window.actions().usable(), qPrintable(window.answerer.summary().join('\n')));
        QCOMPARE(window.scanned(), first.toUtf8());

        {
            DebugLog log;
            act(window.w, change);
            QVERIFY2(log.lines().isEmpty(), qPrintable(log.lines().join('\n')));
        }
        QCOMPARE(window.actions().usable(), !marks);
        QCOMPARE(window.actions().exportAction()->isEnabled(), !marks);
        QCOMPARE(window.scanned().isNull(), marks);
        if (!marks)
            return;
        act(window.w, revert);
        QVERIFY(!window.actions().usable());
        QVERIFY(window.scanned().isNull());

        window.generate();
        QVERIFY(window.actions().usable());
        QCOMPARE(window.actions().signedText(), first);
        QCOMPARE(window.scanned(), first.toUtf8());
    }
};

QTEST_MAIN(CodeFreshnessTest)
#include "test_code_freshness.moc"
