// The window as the program runs it: the output test and printing are not
// linked in. The window starts without them, without the test's HTTP server
// and without Qt PrintSupport, and loads each from beside the program when
// first asked; the form's changes reach the test there.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "script/script_fixture.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/when_open.h"
#include "window/widget.h"

namespace {

bool mapped(const QString &library)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library.toUtf8());
}

} // namespace

class OutputTestPartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(script.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))); }

    void loadedOnFirstOpening()
    {
        Widget window;
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const char *library : {"tarvo-config-outputtest", "libmicrohttpd", "libQt5Network"})
            QVERIFY2(!mapped(library), library);

        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        auto *test = window.findChild<QWidget *>(QStringLiteral("outputTestWindow"));
        QVERIFY(test);
        QVERIFY(test->isVisible());
        QVERIFY(mapped("tarvo-config-outputtest"));

        QTest::mouseClick(formChild<QRadioButton>(window, "wifiOut"), Qt::LeftButton);
        QTest::mouseClick(formChild<QRadioButton>(window, "tcpO"), Qt::LeftButton);
        auto *port = formChild<QLineEdit>(window, "tcpport");
        port->selectAll();
        QTest::keyClicks(port, QStringLiteral("9123"));
        QTRY_COMPARE(test->findChild<QSpinBox *>(QStringLiteral("portField"))->value(), 9123);
        // Once open, the shortcut raises the same test.
        QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(window.findChildren<QWidget *>(QStringLiteral("outputTestWindow")).size(), 1);
    }

    // Ctrl+P loads printing and opens its dialog; a cancel says nothing.
    void printingLoadedAtFirstPrint()
    {
        MessageBoxAnswerer answerer;
        Widget window;
        window.show();
        QApplication::setActiveWindow(&window);
        fillForm(window, {"manpw=Tarvo-0123456789"});
        QTest::mouseClick(formChild<QPushButton>(window, "pushButton"), Qt::LeftButton);
        QVERIFY(!mapped("libQt5PrintSupport"));

        QByteArray dialogClass;
        whenOpen<QDialog>([&](QDialog *dialog) {
            dialogClass = dialog->metaObject()->className();
            dialog->reject();
        });
        QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(dialogClass, QByteArray("QPrintDialog"));
        QVERIFY(mapped("tarvo-config-print"));
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
    }

private:
    ScriptDir script;
};

QTEST_MAIN(OutputTestPartTest)
#include "test_output_test_part.moc"
