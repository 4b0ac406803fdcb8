// The window's side of the field rules, as a user meets it: after a refused
// build the field at fault has the focus with its text selected, on its own
// page, and the label stays as it was; while typing, a field that breaks its
// rule is marked and the mark goes once the text is valid.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/config_file_controller.h"
#include "window/option_pages.h"
#include "window/widget.h"

namespace {

const QString kPassword = "0123456789abcdef";

} // namespace

class FieldFocusTest : public QObject
{
    Q_OBJECT

private slots:
    void refusedFieldHasTheFocus_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("page");
        QTest::newRow("general page") << QStringList{"devnum=12a"} << "devnum" << int(GeneralPage);
        QTest::newRow("network page, from the general page")
            << QStringList{"wifiOut", "tcpaddr=t", "tcpport=808091ab"} << "tcpport" << int(NetworkPage);
        QTest::newRow("NFC page") << QStringList{"nfcable", "nfcprefix=a\tb"} << "nfcprefix" << int(NfcPage);
        // The password refusals bring up their own field.
        QTest::newRow("short password") << QStringList{"manpw=0123"} << "manpw" << int(GeneralPage);
        const QString change = "changepwcheck";
        QTest::newRow("new passwords differ")
            << QStringList{change, "newpw=" + kPassword, "confimpw=x"} << "confimpw" << int(PasswordPage);
        QTest::newRow("short new password")
            << QStringList{change, "newpw=x", "confimpw=x"} << "newpw" << int(PasswordPage);
    }

    void refusedFieldHasTheFocus()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, field);
        QFETCH(int, page);
        Widget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        fillForm(window, QStringList{"manpw=" + kPassword, "linePrefix=first"});
        auto *label = formChild<QLabel>(window, "label");
        auto *generate = formChild<QPushButton>(window, "pushButton");
        {
            MessageBoxAnswerer answerer;
            QTest::mouseClick(generate, Qt::LeftButton);
        }
        const QPixmap firstCode = label->pixmap(Qt::ReturnByValue);
        QVERIFY(!firstCode.isNull());

        // A password change is chosen as the user chooses it, on its page.
        if (steps.removeAll("changepwcheck")) {
            for (const char *name : {"commandLinkButton", "changepwcheck", "pwreturn"})
                QTest::mouseClick(formChild<QAbstractButton>(window, name), Qt::LeftButton);
        }
        fillForm(window, steps);
        const QImage beforeClick = label->pixmap(Qt::ReturnByValue).toImage();
        MessageBoxAnswerer answerer;
        QTest::mouseClick(generate, Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 2); // the refusal, then the code's failure
        QCOMPARE(answerer.seen().first().title, QStringLiteral("注意"));
        auto *edit = formChild<QLineEdit>(window, qPrintable(field));
        // The window's focus, which the keyboard reaches once the boxes are gone.
        QCOMPARE(window.focusWidget(), edit);
        QCOMPARE(edit->selectedText(), edit->text());
        QCOMPARE(formChild<QStackedWidget>(window, "stacked_widget")->currentIndex(), page);
        QCOMPARE(label->pixmap(Qt::ReturnByValue).toImage(), beforeClick);
        QVERIFY(WidgetProbe(window).configText().isEmpty());
    }

    // A configuration file refused for a field brings that field up too.
    void refusedSaveHasTheFieldInFocus()
    {
        Widget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        fillForm(window, {"devnum=12a"});
        QTemporaryDir folder;
        MessageBoxAnswerer answerer;
        QVERIFY(!window.configFiles().saveAs(folder.filePath("refused.tcfg")));
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(window.focusWidget(), formChild<QLineEdit>(window, "devnum"));
    }

    // Typed one key at a time: marked while the text breaks the rule, and
    // in the form's font throughout.
    void typingMarksAndUnmarks_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<bool>>("marks"); // after each key
        QTest::newRow("port") << "tcpport"
                              << "8a\b0" << QList<bool>{false, true, false, false};
        QTest::newRow("mask") << "ip_mask"
                              << "0.0.0.0" << QList<bool>{true, true, true, true, true, true, false};
        QTest::newRow("quote, comma") << "linePrefix"
                                      << "',\bx" << QList<bool>{false, true, false, false};
    }

    void typingMarksAndUnmarks()
    {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QList<bool>, marks);
        Widget window;
        window.show();
        auto *edit = formChild<QLineEdit>(window, qPrintable(field));
        edit->clear();
        const QFont font = edit->font();
        QList<bool> seen;
        for (const QChar key : keys) {
            if (key == '\b')
                QTest::keyClick(edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(edit, QString(key));
            seen << edit->styleSheet().contains("red");
            QCOMPARE(edit->toolTip().isEmpty(), !seen.last());
            QCOMPARE(edit->font().toString(), font.toString());
        }
        QCOMPARE(seen, marks);
    }

    // The mark of a hex affix follows the format buttons too.
    void hexModeMarksTheAffix()
    {
        Widget window;
        fillForm(window, {"char_qhz", "linePrefix=0D0"});
        auto *prefix = formChild<QLineEdit>(window, "linePrefix");
        QVERIFY(prefix->toolTip().isEmpty());
        fillForm(window, {"hex_qhz"});
        QCOMPARE(prefix->toolTip(), QStringLiteral("扫码前缀在hex格式下必须是成对的十六进制数字"));
        fillForm(window, {"char_qhz"});
        QVERIFY(prefix->toolTip().isEmpty());
    }
};

QTEST_MAIN(FieldFocusTest)
#include "test_field_focus.moc"
