// The form as built from its description: exclusive radio sets, the
// independent check boxes, combo items and the password fields.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QtTest>

#include "support/widget_probe.h"
#include "window/form_binding.h"
#include "window/widget.h"

namespace {

// Radio buttons that exclude each other; every radio button of the form
// belongs to exactly one of these sets.
const QList<QStringList> kRadioSets = {
    {"scanmode", "developmode", "ganyingmode", "paymode", "gunmode"},
    {"keyboardOut", "ttlOut", "serialOut", "wifiOut", "ethernetOut", "weigenOut"},
    {"usbhidchoose", "serialchoose", "ttlchoose", "serialdragxieyi", "tarvoxy"},
    {"char_qhz", "hex_qhz"},
    {"qrup", "barup"},
    {"singlemode", "intermode"},
    {"wgchartohex", "wgchartohexf", "tentopidvid", "wgcharhextohex", "wgcharhextohexf", "tentopidvidf"},
    {"nfcpreform", "nfcsuffform"},
    {"zjformout", "hexformout", "tenformout"},
    {"fxout", "zxout"},
    {"idfx", "idzx"},
    {"vg26", "vg34"},
    {"tcpO", "httpO", "tcpOx", "httpOx"},
    {"wiredtcp", "wiredtcpx", "wiredhttp", "wiredhttpx"},
    {"heart_on", "heart_off"},
    {"dtip", "jtip"},
};

QMap<QString, bool> radioStates(Widget &w)
{
    QMap<QString, bool> states;
    for (QRadioButton *radio : w.findChildren<QRadioButton *>())
        states.insert(radio->objectName(), radio->isChecked());
    return states;
}

QStringList items(QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

} // namespace

class FormTest : public QObject
{
    Q_OBJECT

private slots:
    void everyRadioButtonBelongsToOneSet()
    {
        Widget w;
        QStringList listed;
        for (const QStringList &set : kRadioSets)
            listed << set;
        QStringList actual = radioStates(w).keys();
        listed.sort();
        actual.sort();
        QCOMPARE(actual, listed);
    }

    void radioSetsExcludeOnlyEachOther_data()
    {
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<QString>("pick");
        for (const QStringList &set : kRadioSets)
            for (const QString &pick : set)
                QTest::newRow(qPrintable(pick)) << set << pick;
    }

    void radioSetsExcludeOnlyEachOther()
    {
        QFETCH(QStringList, set);
        QFETCH(QString, pick);
        Widget w;
        // Another button of the set is on before the pick, which must turn it off.
        const QString other = set.first() == pick ? set.last() : set.first();
        formChild<QRadioButton>(w, qPrintable(other))->setChecked(true);
        const QMap<QString, bool> before = radioStates(w);
        formChild<QRadioButton>(w, qPrintable(pick))->setChecked(true);
        const QMap<QString, bool> after = radioStates(w);
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            if (it.key() == pick)
                QVERIFY(it.value());
            else if (set.contains(it.key()))
                QVERIFY2(!it.value(), qPrintable(it.key()));
            else
                QVERIFY2(it.value() == before.value(it.key()), qPrintable(it.key()));
        }
    }

    void seriesAndPasswordBoxesAreIndependent()
    {
        Widget w;
        const QStringList boxes = {"tarvo_ZB",     "tarvo_RN450", "tarvo_WT",     "tarvo_E200FK",
                                   "tarvo_rseven", "tarvo_RN310", "tarvo_PL",     "tarvo_HD5000",
                                   "tarvo_KS",     "oldpwcheck",  "changepwcheck"};
        for (const QString &name : boxes)
            formChild<QCheckBox>(w, qPrintable(name))->setChecked(true);
        for (const QString &name : boxes)
            QVERIFY2(formChild<QCheckBox>(w, qPrintable(name))->isChecked(), qPrintable(name));
    }

    void comboItemsInOrder()
    {
        Widget w;
        QCOMPARE(items(formChild<QComboBox>(w, "baudRate")),
                 QStringList({"300", "2400", "4800", "9600", "19200", "38400", "57600", "115200"}));
        QCOMPARE(items(formChild<QComboBox>(w, "checkBit")), QStringList({"N", "O", "E"}));
        QCOMPARE(items(formChild<QComboBox>(w, "dataBit")), QStringList({"5", "6", "7", "8"}));
        QCOMPARE(items(formChild<QComboBox>(w, "stopBit")), QStringList({"1", "2"}));
        QCOMPARE(items(formChild<QComboBox>(w, "outbit")), QStringList({"1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(items(formChild<QComboBox>(w, "outlen")), QStringList({"8", "7", "6", "5", "4", "3", "2", "1"}));
        for (QComboBox *combo : w.findChildren<QComboBox *>())
            QVERIFY2(!combo->isEditable(), qPrintable(combo->objectName()));
    }

    void passwordFieldsTakeSixteenInClear_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("manpw") << "manpw";
        QTest::newRow("newpw") << "newpw";
        QTest::newRow("confimpw") << "confimpw";
    }

    void passwordFieldsTakeSixteenInClear()
    {
        QFETCH(QString, field);
        Widget w;
        w.show();
        QLineEdit *edit = formChild<QLineEdit>(w, qPrintable(field));
        edit->setVisible(true);
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("0123456789abcdefXYZ"));
        QCOMPARE(edit->text(), QString("0123456789abcdef"));
        QCOMPARE(edit->maxLength(), 16);
        QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        QCOMPARE(edit->displayText(), edit->text());
    }

    void otherLineEditsKeepTheDefaultLimit()
    {
        Widget w;
        const int defaultLimit = QLineEdit().maxLength();
        for (QLineEdit *edit : w.findChildren<QLineEdit *>()) {
            const QString name = edit->objectName();
            if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
                continue;
            if (name == "manpw" || name == "newpw" || name == "confimpw")
                continue;
            QVERIFY2(edit->maxLength() == defaultLimit, qPrintable(name));
            QCOMPARE(edit->echoMode(), QLineEdit::Normal);
        }
    }

    void wifiMethodGroupTitleKeepsItsBlank()
    {
        Widget w;
        QCOMPARE(formChild<QGroupBox>(w, "wifi1_group")->title(), QString("WIFI输出方式 "));
    }

    // The value's table names each input as the form does, with its caption,
    // its set of radio buttons and its combo box's items.
    void valueTableMatchesTheForm()
    {
        Widget w;
        const Ui_Widget &form = WidgetProbe(w).form();
        for (const config::FieldInfo &field : config::formFields()) {
            const QString name = QLatin1String(field.name);
            QWidget *widget = field.flag ? static_cast<QWidget *>(binding::button(form, field.flag))
                                         : formChild<QWidget>(w, field.name);
            QCOMPARE(widget->objectName(), name);
            if (field.flag)
                QCOMPARE(binding::button(form, field.flag)->text(), QString::fromUtf8(field.words));
            if (field.kind == config::FieldInfo::Radio)
                for (const config::FieldInfo &other : config::formFields())
                    if (other.kind == config::FieldInfo::Radio)
                        QVERIFY2((other.set == field.set)
                                     == (binding::button(form, other.flag)->parent() == widget->parent()),
                                 qPrintable(name + " / " + QLatin1String(other.name)));
            if (field.kind == config::FieldInfo::Combo) {
                auto *combo = static_cast<QComboBox *>(widget);
                QStringList items;
                for (int i = 0; i < combo->count(); ++i)
                    items << combo->itemText(i);
                QCOMPARE(items, config::comboItems(field.text));
            }
        }
    }

    // Any value the form can hold comes back as it was shown.
    void valueShownComesBack()
    {
        Widget w;
        Ui_Widget &form = WidgetProbe(w).form();
        QRandomGenerator random(20261208);
        for (int round = 0; round < 50; ++round) {
            config::FormValue value;
            for (const config::FieldInfo &field : config::formFields()) {
                if (field.kind == config::FieldInfo::Radio && random.bounded(3) == 0)
                    value.check(field.flag);
                else if (field.kind == config::FieldInfo::Check)
                    value.*field.flag = random.bounded(2);
                else if (field.kind == config::FieldInfo::Text)
                    value.*field.text = QString::number(random.generate(), 36).left(random.bounded(17));
                else if (field.kind == config::FieldInfo::Combo)
                    value.*field.text =
                        config::comboItems(field.text).at(random.bounded(config::comboItems(field.text).size()));
                else if (field.kind == config::FieldInfo::Number)
                    value.*field.number = random.bounded(config::kBrightnessMin, config::kBrightnessMax + 1);
            }
            binding::show(value, form);
            QVERIFY2(binding::read(form) == value, qPrintable(QString("round %1").arg(round)));
        }
    }
};

QTEST_MAIN(FormTest)
#include "test_form.moc"
