// The interlocks as a user meets them, by real clicks on a shown window: the
// product series, the output channels and the scan mode, the configuration
// channels and their notices, the output level and voltage confirmations and
// the password pair.
#include <QAbstractButton>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QStyleOptionButton>
#include <QtTest>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/widget.h"

namespace {

QWidget *widget(Widget &w, const QString &name)
{
    return formChild<QWidget>(w, name.toLatin1().constData());
}

QAbstractButton *button(Widget &w, const QString &name)
{
    return formChild<QAbstractButton>(w, name.toLatin1().constData());
}

bool checked(Widget &w, const QString &name)
{
    return button(w, name)->isChecked();
}

// Shown by the form's own choice, whatever the page its parent stands on.
bool shown(Widget &w, const QString &name)
{
    return !widget(w, name)->isHidden();
}

// Where a user clicks a button: a check box or radio button on its
// indicator and caption (the stretch beyond the caption takes no click).
QPoint clickPoint(QAbstractButton *target)
{
    QStyleOptionButton option;
    option.initFrom(target);
    option.text = target->text();
    if (qobject_cast<QCheckBox *>(target))
        return target->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, target).center();
    if (qobject_cast<QRadioButton *>(target))
        return target->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, target).center();
    return target->rect().center();
}

// Clicks as a user would. A user cannot click what is not on the screen, so
// a hidden button is refused rather than clicked.
bool click(Widget &w, const QString &name)
{
    QAbstractButton *target = button(w, name);
    if (!target->isVisible())
        return false;
    QTest::mouseClick(target, Qt::LeftButton, {}, clickPoint(target));
    return true;
}

int page(Widget &w)
{
    return formChild<QStackedWidget>(w, "stacked_widget")->currentIndex();
}

const QStringList kSeriesBoxes = {
    "tarvo_ZB",     "tarvo_RN450", "tarvo_E200FK", "tarvo_RN310",  "tarvo_PL",
    "tarvo_HD5000", "tarvo_KS",    "tarvo_WT",     "tarvo_rseven",
};

// The widgets that depend on the product series, in the order of the columns below.
const QStringList kSeriesWidgets = {
    "greenlight",        "nfc_flagreen",      "redlight",        "buzzers",          "label_29",
    "beepinterval",      "label_30",          "label_14",        "lightoffinterval", "label_15",
    "Flightgreenaction", "Slightgreenaction", "outputhight",     "lowvoltage",       "highvoltage",
    "keyboardOut",       "serialOut",         "ttlOut",          "wifiOut",          "weigenOut",
    "ethernetOut",       "serialchoose",      "ttlchoose",       "usbhidchoose",     "serialdragxieyi",
    "tarvoxy",           "nfc_option",        "ip_modegroupbox", "pay_light",        "pay_light_play",
    "ganyingmode",       "paymode",           "gunmode",         "developmode",      "ledControl",
    "lightoff",          "groupBox_12",       "wgoption",        "ethoption",        "wifioption",
};

// Per series, one letter per widget above: S shown, H hidden, - untouched.
const QList<QPair<QString, QString>> kSeriesColumns = {
    {"tarvo_ZB", "SSSSSSSSSS SSSSSSSSSS SSSSSSSSHH HHHSSSS---"},
    {"tarvo_RN450", "H-HHHHHHHH HHHHHSSSHH HSSSHSHHHH HHHSSSSHHH"},
    {"tarvo_E200FK", "HHSSSSSSSS HHHHHSSSHH HSSSHSSHHH HHHSSSSHHH"},
    {"tarvo_RN310", "H-SSSSSSSS HHHHHSSSHH HSSSHSHHHH HHHSSSSHHH"},
    {"tarvo_PL", "HHSSSSSSSS HHHHHSSSSS HSSSHSSHHH HHHSSSSHH-"},
    {"tarvo_HD5000", "SSSSSSSSSS SSSSSSSSHH HSSSHSSHHH HHHSSSSHHH"},
    {"tarvo_KS", "H-HSSSSSSS SSHHHSSHHH HSHSHSHHSS HSHSSSSHH-"},
    {"tarvo_WT", "SSSSSSSSSS SSSSSSSHHH HSHSHSHSHH SHSHHHH---"},
    {"tarvo_rseven", "HHHSSSSSSS HHHHHSSSHH HSSSHSHHHH HHH----HHH"},
};

// The options an output channel brings, both on its own click and when the
// scan mode finds it checked.
struct ChannelOptions
{
    QString format;
    QStringList shown;
    QStringList hidden;
};

const QMap<QString, ChannelOptions> kChannelOptions = {
    {"keyboardOut", {"tenformout", {}, {"wgoption", "ethoption", "wifioption", "serial_groupbox"}}},
    {"serialOut", {"tenformout", {"serial_groupbox"}, {"wgoption", "ethoption", "wifioption"}}},
    {"ttlOut", {"tenformout", {"serial_groupbox"}, {"wgoption", "ethoption", "wifioption"}}},
    {"wifiOut",
     {"tenformout",
      {"wifioption", "wifi1_group", "wifi2_group"},
      {"wgoption", "ethoption", "serial_groupbox", "eth1_group"}}},
    {"weigenOut", {"zjformout", {"wgoption"}, {"ethoption", "wifioption"}}},
    {"ethernetOut",
     {"tenformout", {"ethoption", "eth1_group"}, {"wgoption", "wifioption", "wifi1_group", "wifi2_group"}}},
};

// Everything some output channel shows or hides.
const QStringList kChannelWidgets = {
    "wgoption",    "ethoption",   "wifioption", "serial_groupbox",
    "wifi1_group", "wifi2_group", "eth1_group", "ip_modegroupbox",
};

void setAllVisible(Widget &w, const QStringList &names, bool visible)
{
    for (const QString &name : names)
        widget(w, name)->setVisible(visible);
}

// Checks that every widget of `names` is shown or hidden as `options` says,
// and that the others kept `before`.
void verifyVisibility(Widget &w, const QStringList &names, const ChannelOptions &options, bool before)
{
    for (const QString &name : names) {
        const bool expected = options.shown.contains(name) || (!options.hidden.contains(name) && before);
        QVERIFY2(shown(w, name) == expected, qPrintable(name));
    }
}

QMap<QString, bool> checksOutsideSeries(Widget &w)
{
    QMap<QString, bool> checks;
    for (QAbstractButton *b : w.findChildren<QAbstractButton *>())
        if (!kSeriesBoxes.contains(b->objectName()))
            checks.insert(b->objectName(), b->isChecked());
    return checks;
}

// The network page with the voltage choices, reached through the Wi-Fi page
// button (or the Wiegand page through its own), with the output driven high
// so that the choices take clicks.
bool openVoltageChoices(Widget &w, bool wiegand = false)
{
    if (wiegand)
        return click(w, "weigenOut") && click(w, "wgoption") && click(w, "outputhight_2");
    return click(w, "wifiOut") && click(w, "wifioption") && click(w, "outputhight");
}

} // namespace

class InterlocksTest : public QObject
{
    Q_OBJECT

private slots:
    void seriesTable_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("before");
        for (const auto &column : kSeriesColumns)
            for (bool before : {true, false})
                QTest::newRow(qPrintable(column.first + (before ? " over shown" : " over hidden")))
                    << column.first << QString(column.second).remove(' ') << before;
    }

    void seriesTable()
    {
        QFETCH(QString, series);
        QFETCH(QString, column);
        QFETCH(bool, before);
        QCOMPARE(column.size(), kSeriesWidgets.size());
        Widget w;
        w.show();
        // Set directly, so that an untouched widget keeps a state the test knows.
        setAllVisible(w, kSeriesWidgets, before);
        QVERIFY(click(w, "commandLinkButton"));
        const QMap<QString, bool> otherChecks = checksOutsideSeries(w);

        QVERIFY(click(w, series));
        for (int i = 0; i < kSeriesWidgets.size(); ++i) {
            const QChar cell = column.at(i);
            const bool expected = cell == 'S' || (cell == '-' && before);
            QVERIFY2(shown(w, kSeriesWidgets.at(i)) == expected, qPrintable(kSeriesWidgets.at(i)));
        }
        for (const QString &box : kSeriesBoxes)
            QCOMPARE(checked(w, box), box == series);
        // Hidden options keep their checks, and the page stays where it was.
        QCOMPARE(checksOutsideSeries(w), otherChecks);
        QCOMPARE(page(w), 3);
    }

    void seriesBoxesStayExclusive()
    {
        Widget w;
        w.show();
        // Clicking the checked box again must not leave the form without a series.
        const QStringList clicks = {
            "tarvo_ZB",    "tarvo_KS", "tarvo_KS",     "tarvo_RN450", "tarvo_E200FK",
            "tarvo_RN310", "tarvo_PL", "tarvo_HD5000", "tarvo_WT",    "tarvo_rseven",
        };
        for (const QString &series : clicks) {
            QVERIFY2(click(w, series), qPrintable(series));
            QStringList checkedBoxes;
            for (const QString &box : kSeriesBoxes)
                if (checked(w, box))
                    checkedBoxes << box;
            QCOMPARE(checkedBoxes, QStringList{series});
        }
        // R700 after WT keeps what WT hid.
        for (const char *name : {"developmode", "ledControl", "lightoff", "groupBox_12"})
            QVERIFY2(!shown(w, name), name);
    }

    void outputChannel_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<bool>("before");
        for (const QString &channel : kChannelOptions.keys())
            for (bool before : {true, false})
                QTest::newRow(qPrintable(channel + (before ? " over shown" : " over hidden")))
                    << channel << before;
    }

    void outputChannel()
    {
        QFETCH(QString, channel);
        QFETCH(bool, before);
        Widget w;
        w.show();
        setAllVisible(w, kChannelWidgets, before);
        button(w, "hexformout")->setChecked(true);
        QVERIFY(click(w, "commandLinkButton"));

        QVERIFY(click(w, channel));
        ChannelOptions expected = kChannelOptions.value(channel);
        (channel == "ethernetOut" ? expected.shown : expected.hidden) << "ip_modegroupbox";
        verifyVisibility(w, kChannelWidgets, expected, before);
        QVERIFY(checked(w, expected.format));
        QCOMPARE(page(w), 4);
    }

    void scanModeReplaysCheckedChannel_data() { outputChannel_data(); }

    void scanModeReplaysCheckedChannel()
    {
        QFETCH(QString, channel);
        QFETCH(bool, before);
        Widget w;
        w.show();
        // Checked as the reader import leaves it, so that only the scan mode acts.
        button(w, channel)->setChecked(true);
        setAllVisible(w, kChannelWidgets, before);
        button(w, "hexformout")->setChecked(true);
        widget(w, "develop_groupbox")->setVisible(true);
        widget(w, "output_groupbox")->setVisible(false);
        auto *stack = formChild<QStackedWidget>(w, "stacked_widget");
        stack->setCurrentIndex(0);
        stack->setVisible(false);

        QVERIFY(click(w, "scanmode"));
        verifyVisibility(w, kChannelWidgets, kChannelOptions.value(channel), before);
        QVERIFY(checked(w, kChannelOptions.value(channel).format));
        QVERIFY(shown(w, "output_groupbox"));
        QVERIFY(!shown(w, "develop_groupbox"));
        QVERIFY(shown(w, "stacked_widget"));
        QCOMPARE(page(w), 4);
    }

    void nfcPageButton_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("series");
        QTest::addColumn<bool>("expected");
        const QStringList nfcSeries = {"tarvo_HD5000", "tarvo_E200FK", "tarvo_ZB", "tarvo_PL"};
        for (const QString &clicked : kChannelOptions.keys() + QStringList{"scanmode"}) {
            for (const QString &series : kSeriesBoxes + QStringList{QString()}) {
                bool expected = nfcSeries.contains(series);
                if (clicked == "weigenOut")
                    expected = true;
                else if (clicked == "scanmode")
                    expected = expected || series.isEmpty();
                QTest::newRow(qPrintable(clicked + " with " + (series.isEmpty() ? "no series" : series)))
                    << clicked << series << expected;
            }
        }
    }

    void nfcPageButton()
    {
        QFETCH(QString, clicked);
        QFETCH(QString, series);
        QFETCH(bool, expected);
        Widget w;
        w.show();
        // The series is set as the reader import sets it, without its
        // interlock, so that every channel stays on the form to be clicked.
        button(w, "tarvo_ZB")->setChecked(false);
        if (!series.isEmpty())
            button(w, series)->setChecked(true);
        widget(w, "nfc_option")->setVisible(!expected);

        QVERIFY(click(w, clicked));
        QCOMPARE(shown(w, "nfc_option"), expected);
    }

    void configChannelNoticeComesFirst_data()
    {
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("text");
        QTest::newRow("485/232") << "serialchoose"
                                 << "serialOut"
                                 << "配置和传输通道将会被改成485/232,下次连接配置工具需要扫码配置换通道";
        QTest::newRow("TTL") << "ttlchoose"
                             << "ttlOut"
                             << "配置和传输通道将会被改成TTL,下次连接配置工具需要扫码配置换通道";
    }

    void configChannelNoticeComesFirst()
    {
        QFETCH(QString, channel);
        QFETCH(QString, output);
        QFETCH(QString, text);
        Widget w;
        w.show();
        QVERIFY(click(w, "developmode"));
        MessageBoxAnswerer answerer;
        bool outputWhileOpen = true;
        bool portWhileOpen = true;
        answerer.onSeen([&](QMessageBox *) {
            outputWhileOpen = checked(w, output);
            portWhileOpen = shown(w, "serial_groupbox");
        });

        QVERIFY(click(w, channel));
        QCOMPARE(answerer.seen().size(), 1);
        const MessageBoxAnswerer::Seen &box = answerer.seen().first();
        QCOMPARE(box.title, QString("输出提示"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(box.parent, static_cast<QWidget *>(&w));
        QVERIFY(!outputWhileOpen);
        QVERIFY(!portWhileOpen);
        QVERIFY(checked(w, output));
        QVERIFY(shown(w, "serial_groupbox"));
    }

    void serialPortFollowsConfigChannel()
    {
        Widget w;
        w.show();
        widget(w, "output_groupbox")->setVisible(false);
        QVERIFY(click(w, "developmode"));
        QVERIFY(shown(w, "output_groupbox"));
        QVERIFY(shown(w, "develop_groupbox"));
        QVERIFY(!shown(w, "serial_groupbox"));
        QVERIFY(click(w, "tarvoxy"));
        QVERIFY(shown(w, "serial_groupbox"));
        QVERIFY(click(w, "serialdragxieyi"));
        QVERIFY(!shown(w, "serial_groupbox"));

        MessageBoxAnswerer answerer;
        QVERIFY(click(w, "ttlchoose"));
        // The development mode keeps the port settings for a serial channel only.
        QVERIFY(click(w, "developmode"));
        QVERIFY(shown(w, "serial_groupbox"));
        QVERIFY(click(w, "tarvoxy"));
        QVERIFY(click(w, "developmode"));
        QVERIFY(!shown(w, "serial_groupbox"));
    }

    void usbHidChecksKeyboardWithoutItsInterlock()
    {
        Widget w;
        w.show();
        QVERIFY(click(w, "weigenOut"));
        QVERIFY(click(w, "wgoption"));
        QVERIFY(click(w, "developmode"));
        QVERIFY(click(w, "tarvoxy"));

        QVERIFY(click(w, "usbhidchoose"));
        QVERIFY(checked(w, "keyboardOut"));
        QVERIFY(!shown(w, "serial_groupbox"));
        // The keyboard's own interlock would return to page 4, hide the
        // Wiegand page button and switch the card format.
        QCOMPARE(page(w), 1);
        QVERIFY(shown(w, "wgoption"));
        QVERIFY(checked(w, "zjformout"));
    }

    void voltageConfirmation_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("chosenKept");
        const QString low = "是否将ZB52输出电压更改为3.3V？此操作需要确认设备之间电压兼容性";
        const QString high = "是否将ZB52输出电压更改为4.3V？此操作需要确认设备之间电压兼容性";
        const QList<QPair<const char *, int>> replies = {
            {"Yes", MessageBoxAnswerer::Yes},
            {"No", MessageBoxAnswerer::No},
            {"Escape", MessageBoxAnswerer::Escape},
        };
        // The Wiegand page's pair asks as the network page's does.
        for (const QString page : {"", "_2"}) {
            for (const auto &reply : replies) {
                const bool kept = reply.second == MessageBoxAnswerer::Yes;
                QTest::newRow(qPrintable(QString("3.3V%1 ").arg(page) + reply.first))
                    << "lowvoltage" + page << "highvoltage" + page << low << reply.second << kept;
                QTest::newRow(qPrintable(QString("4.3V%1 ").arg(page) + reply.first))
                    << "highvoltage" + page << "lowvoltage" + page << high << reply.second << kept;
            }
        }
    }

    void voltageConfirmation()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, other);
        QFETCH(QString, text);
        QFETCH(int, reply);
        QFETCH(bool, chosenKept);
        Widget w;
        w.show();
        QVERIFY(openVoltageChoices(w, chosen.endsWith("_2")));
        MessageBoxAnswerer answerer;
        answerer.queue(MessageBoxAnswerer::Yes);
        QVERIFY(click(w, other));
        QVERIFY(checked(w, other));
        answerer.clear();
        QAbstractButton *defaultButton = nullptr;
        QAbstractButton *yesButton = nullptr;
        answerer.onSeen([&](QMessageBox *box) {
            defaultButton = box->defaultButton();
            yesButton = box->button(QMessageBox::Yes);
        });

        answerer.queue(MessageBoxAnswerer::Reply(reply));
        QVERIFY(click(w, chosen));
        QCOMPARE(answerer.seen().size(), 1);
        const MessageBoxAnswerer::Seen &box = answerer.seen().first();
        QCOMPARE(box.title, QString("warning"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.parent, static_cast<QWidget *>(nullptr));
        QVERIFY(yesButton && defaultButton == yesButton);
        // Yes keeps the new voltage alone; No and Escape take it back.
        QCOMPARE(checked(w, chosen), chosenKept);
        QCOMPARE(checked(w, other), !chosenKept);
        if (!chosenKept)
            return;

        // A click that unchecks asks nothing and leaves the other voltage as
        // it was, here checked as a reader import may leave it.
        button(w, other)->setChecked(true);
        answerer.clear();
        QVERIFY(click(w, chosen));
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
        QVERIFY(!checked(w, chosen));
        QVERIFY(checked(w, other));
    }

    // Clicks in any order and with any answer leave at most one voltage of
    // a page checked, and so at most one volctl entry in the text.
    void voltagesNeverTwo()
    {
        for (const bool wiegand : {false, true}) {
            Widget w;
            w.show();
            QVERIFY(openVoltageChoices(w, wiegand));
            const QString suffix = wiegand ? "_2" : "";
            MessageBoxAnswerer answerer;
            QRandomGenerator random(wiegand ? 7 : 11);
            for (int step = 0; step < 24; ++step) {
                answerer.queue(random.bounded(2) ? MessageBoxAnswerer::Yes : MessageBoxAnswerer::No);
                QVERIFY(click(w, (random.bounded(2) ? "lowvoltage" : "highvoltage") + suffix));
                QVERIFY(!(checked(w, "lowvoltage" + suffix) && checked(w, "highvoltage" + suffix)));
                WidgetProbe(w).form().manpw->setText("0123456789abcdef");
                QVERIFY(WidgetProbe(w).buildConfigText().count("volctl=") <= 1);
            }
        }
    }

    void outputLevelGatesVoltages_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QString>("channel");
        QTest::addColumn<QString>("pageButton");
        QTest::newRow("network page") << "outputhight"
                                      << "lowvoltage"
                                      << "highvoltage"
                                      << "wifiOut"
                                      << "wifioption";
        QTest::newRow("Wiegand page") << "outputhight_2"
                                      << "lowvoltage_2"
                                      << "highvoltage_2"
                                      << "weigenOut"
                                      << "wgoption";
    }

    void outputLevelGatesVoltages()
    {
        QFETCH(QString, level);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QString, channel);
        QFETCH(QString, pageButton);
        Widget w;
        w.show();
        QVERIFY(click(w, channel));
        QVERIFY(click(w, pageButton));

        QVERIFY(click(w, level));
        QVERIFY(button(w, low)->isEnabled() && button(w, high)->isEnabled());
        // Set directly: a click on the network page's voltages would ask first.
        button(w, low)->setChecked(true);
        button(w, high)->setChecked(true);
        QVERIFY(click(w, level));
        QVERIFY(!button(w, low)->isEnabled() && !button(w, high)->isEnabled());
        QVERIFY(checked(w, low) && checked(w, high));
        QVERIFY(click(w, level));
        QVERIFY(button(w, low)->isEnabled() && button(w, high)->isEnabled());
    }

    void passwordPairKeepsOneChecked()
    {
        Widget w;
        w.show();
        QVERIFY(click(w, "commandLinkButton"));
        for (const QString name :
             {"changepwcheck", "changepwcheck", "oldpwcheck", "oldpwcheck", "changepwcheck"}) {
            QVERIFY(click(w, name));
            const bool change = name == "changepwcheck";
            QCOMPARE(checked(w, "oldpwcheck"), !change);
            QCOMPARE(checked(w, "changepwcheck"), change);
            for (const char *field : {"newpw", "confimpw", "a", "z"})
                QVERIFY2(shown(w, field) == change, field);
        }
    }
};

QTEST_MAIN(InterlocksTest)
#include "test_interlocks.moc"
