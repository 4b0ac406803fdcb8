// The window as a user first sees it: every check, text, selection, hidden
// and disabled widget that the constructor sets, and nothing else.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSlider>
#include <QStackedWidget>
#include <QtTest>

#include "support/widget_probe.h"
#include "window/widget.h"

namespace {

const QStringList kChecked = {
    "tarvo_ZB",    "scanmode",   "keyboardOut", "usbhidchoose",    "qrCheck",
    "ledControl",  "intermode",  "qrup",        "buzzers",         "wgchartohex",
    "tcpO",        "wiredtcp",   "heart_on",    "Slightoffaction", "Flightredaction",
    "nfcsuffform", "tenformout", "nfc_beep",    "fxout",           "idfx",
    "vg26",        "oldpwcheck",
};

const QStringList kHidden = {
    "develop_groupbox", "serial_groupbox", "wgoption", "wifioption", "ethoption", "pay_light",
    "pay_light_play",   "newpw",           "confimpw", "a",          "z",         "ganyingmode",
    "paymode",          "gunmode",
};

const QStringList kDisabled = {"saveBtn", "lowvoltage", "highvoltage"};

// Pages of the stacked widget other than the current one are hidden by the
// stack itself, not by the constructor.
const QStringList kInactivePages = {"page", "page_3", "page_4", "page_5"};

// The form's own widgets: named children, without Qt's internal helpers.
QList<QWidget *> formWidgets(Widget &window)
{
    QList<QWidget *> widgets;
    for (QWidget *child : window.findChildren<QWidget *>()) {
        const QString name = child->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        widgets << child;
    }
    return widgets;
}

} // namespace

class StartStateTest : public QObject
{
    Q_OBJECT

private slots:
    void checksExactlyTheStartSet()
    {
        Widget w;
        QStringList checked;
        for (QAbstractButton *button : w.findChildren<QAbstractButton *>())
            if (button->isChecked())
                checked << button->objectName();
        checked.sort();
        QStringList expected = kChecked;
        expected.sort();
        QCOMPARE(checked, expected);
        QVERIFY(!formChild<QCheckBox>(w, "changepwcheck")->isChecked());
    }

    void hidesExactlyTheStartSet()
    {
        Widget w;
        w.show();
        QStringList hidden;
        for (QWidget *widget : formWidgets(w))
            if (widget->isHidden() && !kInactivePages.contains(widget->objectName()))
                hidden << widget->objectName();
        hidden.sort();
        QStringList expected = kHidden;
        expected.sort();
        QCOMPARE(hidden, expected);
        QVERIFY(formChild<QWidget>(w, "nfc_option")->isVisible());
        QVERIFY(formChild<QWidget>(w, "commandLinkButton")->isVisible());
    }

    void disablesExactlyTheStartSet()
    {
        Widget w;
        QStringList disabled;
        for (QWidget *widget : formWidgets(w))
            if (!widget->isEnabled())
                disabled << widget->objectName();
        disabled.sort();
        QStringList expected = kDisabled;
        expected.sort();
        QCOMPARE(disabled, expected);
    }

    void lineEditTexts()
    {
        const QMap<QString, QString> expected = {
            {"lineIntervaltime", "300"}, {"devnum", "0"},    {"beepinterval", "30"}, {"lightoffinterval", "200"},
            {"tcpdelay", "2"},           {"httpdelay", "2"}, {"heart_time", "60"},
        };
        Widget w;
        for (QLineEdit *edit : w.findChildren<QLineEdit *>()) {
            const QString name = edit->objectName();
            if (name.startsWith(QLatin1String("qt_")) || name.isEmpty())
                continue;
            if (name == QLatin1String("heart_content")) {
                QCOMPARE(edit->text().size(), 13);
                QVERIFY(!edit->text().contains(QLatin1Char(' ')));
                continue;
            }
            QCOMPARE(edit->text(), expected.value(name));
        }
    }

    void comboSelectionsAndSlider()
    {
        Widget w;
        QCOMPARE(formChild<QComboBox>(w, "baudRate")->currentText(), QString("115200"));
        QCOMPARE(formChild<QComboBox>(w, "baudRate")->currentIndex(), 7);
        QCOMPARE(formChild<QComboBox>(w, "dataBit")->currentText(), QString("8"));
        QCOMPARE(formChild<QComboBox>(w, "dataBit")->currentIndex(), 3);
        QCOMPARE(formChild<QComboBox>(w, "checkBit")->currentText(), QString("N"));
        QCOMPARE(formChild<QComboBox>(w, "stopBit")->currentText(), QString("1"));
        QCOMPARE(formChild<QComboBox>(w, "outbit")->currentText(), QString("1"));
        QCOMPARE(formChild<QComboBox>(w, "outlen")->currentText(), QString("8"));

        QSlider *slider = formChild<QSlider>(w, "brightadjust");
        QCOMPARE(slider->minimum(), 0);
        QCOMPARE(slider->maximum(), 255);
        QCOMPARE(slider->value(), 200);
        QCOMPARE(slider->orientation(), Qt::Horizontal);
    }

    void pageAndLabels()
    {
        Widget w;
        QStackedWidget *stack = formChild<QStackedWidget>(w, "stacked_widget");
        QCOMPARE(stack->currentIndex(), 4);
        QCOMPARE(stack->currentWidget()->objectName(), QString("page_2"));
        QCOMPARE(formChild<QLabel>(w, "labelState")->text(), QString("未连接"));
        QCOMPARE(formChild<QLabel>(w, "deviceversion")->text(), QString());
        QLabel *code = formChild<QLabel>(w, "label");
        QCOMPARE(code->text(), QString("二维码显示位置"));
        QVERIFY(code->pixmap(Qt::ReturnByValue).isNull());
    }

    void membersStartEmpty()
    {
        Widget w;
        WidgetProbe probe(w);
        QVERIFY(probe.configText().isEmpty());
        QVERIFY(probe.luaState() == nullptr);
        QVERIFY(probe.readerText().isNull());
    }
};

QTEST_MAIN(StartStateTest)
#include "test_start_state.moc"
