// Every window and dialog opens whole on its screen, and a box's title is
// never cut, in either language (TARVO_TEST_LANG). CTest runs this on an X
// server of its own (Xvfb) with a screen
// 1000 pixels high at scale 1, and one of 850 x 625 logical pixels at scale 2,
// narrower than the record and output test windows ask for:
// the main window is put in the screen's lower right corner, where a tool
// window centred on it would run off the screen.
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "program/language.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "widgets/screen_fit.h"
#include "window/widget.h"

// The output test, a part the program loads, is linked in here.
Q_IMPORT_PLUGIN(OutputTestPlugin)

namespace {

QString shown(const QRect &frame, const QRect &screen)
{
    return QStringLiteral("%1x%2 at %3,%4 on %5x%6")
        .arg(frame.width())
        .arg(frame.height())
        .arg(frame.x())
        .arg(frame.y())
        .arg(screen.width())
        .arg(screen.height());
}

// The window the keys open over the main window, or the modal dialog the
// click opens, as it is once shown.
QRect shownFrame(Widget &window, const QKeySequence &keys, const QString &toolTip)
{
    QRect frame;
    if (!toolTip.isEmpty()) {
        QTimer::singleShot(0, [&frame] {
            QWidget *dialog = QApplication::activeModalWidget();
            frame = dialog ? dialog->frameGeometry() : QRect();
            if (dialog)
                dialog->close();
        });
        for (QToolButton *button : window.findChildren<QToolButton *>())
            if (button->toolTip() == toolTip)
                button->click();
        return frame;
    }
    QApplication::setActiveWindow(&window);
    QTest::keySequence(&window, keys);
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top != &window && top->isVisible() && top->isWindow() && !qobject_cast<QMenu *>(top))
            frame = top->frameGeometry();
    return frame;
}

} // namespace

class WindowFitTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        bool known = false;
        const Language language = chooseLanguage({}, qEnvironmentVariable("TARVO_TEST_LANG"), &known);
        QVERIFY2(known, "TARVO_TEST_LANG names zh or en");
        QVERIFY(installLanguage(language));
    }

    void opensWholeOnTheScreen_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("toolTip"); // of the button that opens a modal dialog
        QTest::addColumn<bool>("code");       // shown before the keys
        QTest::newRow("main window") << QKeySequence() << QString() << false;
        QTest::newRow("record window") << QKeySequence(Qt::CTRL | Qt::Key_H) << QString() << false;
        QTest::newRow("batch write") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W) << QString() << false;
        QTest::newRow("output test") << QKeySequence(Qt::CTRL | Qt::Key_T) << QString() << false;
        QTest::newRow("device chooser")
            << QKeySequence() << QCoreApplication::translate("DeviceSession", "选择设备…") << false;
        QTest::newRow("code shown large") << QKeySequence(QKeySequence::ZoomIn) << QString() << true;
    }

    void opensWholeOnTheScreen()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, toolTip);
        QFETCH(bool, code);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(available.height() <= 1000, "the test needs a screen too small for a careless window");
        MessageBoxAnswerer answerer;
        Widget window;
        window.move(available.bottomRight() - QPoint(100, 100));
        fitOnScreen(&window); // as the program does before it shows its window
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY2(available.contains(window.frameGeometry()),
                 qPrintable(shown(window.frameGeometry(), available)));
        if (keys.isEmpty() && toolTip.isEmpty())
            return;
        // Over a main window left in the corner, a centred window would run off.
        window.move(available.bottomRight() - QPoint(200, 200));
        if (code) {
            fillForm(window, {"manpw=0123456789abcdef"});
            QTest::mouseClick(formChild<QPushButton>(window, "pushButton"), Qt::LeftButton);
        }
        const QRect frame = shownFrame(window, keys, toolTip);
        QVERIFY(!frame.isEmpty());
        QVERIFY2(available.contains(frame), qPrintable(shown(frame, available)));
    }

    // A refused code's boxes: each as wide as its title, set bold, needs
    // beside a title bar's icon and three buttons, each as wide as the bar is high.
    void boxTitleShownWhole()
    {
        MessageBoxAnswerer answerer;
        QStringList cut;
        answerer.onSeen([&cut](QMessageBox *box) {
            QFont titleFont = box->font();
            titleFont.setBold(true);
            const int titleBar = box->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, box);
            if (box->width() < QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 4 * titleBar)
                cut << box->windowTitle();
        });
        Widget window;
        window.show();
        fillForm(window, {"manpw=short"});
        QTest::mouseClick(formChild<QPushButton>(window, "pushButton"), Qt::LeftButton);
        QCOMPARE(answerer.seen().size(), 2);
        QCOMPARE(cut, QStringList());
    }
};

QTEST_MAIN(WindowFitTest)
#include "test_window_fit.moc"
