// The window itself: its slot table, its fixed size, page navigation by real
// clicks, and quitting.
#include <QCommandLinkButton>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/widget.h"

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void slotTableInOrder()
    {
        const QStringList expected = {
            "ButtonClicked",
            "on_quitBtn_clicked",
            "on_pushButton_clicked",
            "on_connectBtn_clicked",
            "on_saveBtn_clicked",
            "GetconfigState",
            "Getinitkeyvalue",
            "on_developmode_clicked",
            "on_scanmode_clicked",
            "on_serialchoose_clicked",
            "on_ttlchoose_clicked",
            "on_serialxieyi_clicked",
            "on_ttlxieyi_clicked",
            "on_weigenOut_clicked",
            "on_keyboardOut_clicked",
            "on_serialOut_clicked",
            "on_ttlOut_clicked",
            "on_wifiOut_clicked",
            "on_ethernetOut_clicked",
            "on_outputhight_clicked",
            "on_lowvoltage_clicked",
            "on_highvoltage_clicked",
            "on_nfc_option_clicked",
            "on_wgoption_clicked",
            "on_ethoption_clicked",
            "on_wifioption_clicked",
            "on_nfc_return_clicked",
            "on_wg_return_clicked",
            "on_wifi_return_clicked",
            "Ordinary_Config",
            "Nfc_Config",
            "Net_Config",
            "Wg_Config",
            "Serial_Config",
            "on_usbhidchoose_clicked",
            "on_serialdragxieyi_clicked",
            "on_tarvoxy_clicked",
            "on_tarvo_ZB_clicked",
            "on_tarvo_RN450_clicked",
            "on_tarvo_E200FK_clicked",
            "on_tarvo_RN310_clicked",
            "on_tarvo_PL_clicked",
            "on_tarvo_HD5000_clicked",
            "on_tarvo_KS_clicked",
            "on_tarvo_WT_clicked",
            "on_oldpwcheck_clicked",
            "on_changepwcheck_clicked",
            "on_commandLinkButton_clicked",
            "on_pwreturn_clicked",
            "get_hmac",
            "on_tarvo_rseven_clicked",
            "on_outputhight_2_clicked",
        };
        const QMetaObject &meta = Widget::staticMetaObject;
        QCOMPARE(QString(meta.className()), QString("Widget"));
        QCOMPARE(meta.methodCount() - meta.methodOffset(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            const QMetaMethod method = meta.method(meta.methodOffset() + i);
            QCOMPARE(QString(method.name()), expected.at(i));
            QCOMPARE(method.methodType(), QMetaMethod::Slot);
            QCOMPARE(method.access(), i == 0 ? QMetaMethod::Public : QMetaMethod::Private);
            if (expected.at(i) == QLatin1String("get_hmac")) {
                QCOMPARE(QByteArray(method.methodSignature()), QByteArray("get_hmac(QString,char*)"));
                QCOMPARE(QByteArray(method.typeName()), QByteArray("int"));
            } else {
                QCOMPARE(method.parameterCount(), 0);
                QCOMPARE(QByteArray(method.typeName()), QByteArray("void"));
            }
        }
        // The window answers its own class name and hands others to QWidget.
        Widget w;
        QCOMPARE(w.qt_metacast("Widget"), static_cast<void *>(&w));
        QCOMPARE(w.qt_metacast("QWidget"), static_cast<void *>(static_cast<QWidget *>(&w)));
    }

    // Each "on_<name>_clicked" slot hears the clicked() of the form's widget
    // of that name; the two whose widget the form lacks hear nothing.
    void clickSlotsHearTheirWidgets()
    {
        Widget w;
        const QMetaObject &meta = Widget::staticMetaObject;
        const QStringList unheard = {"on_serialxieyi_clicked", "on_ttlxieyi_clicked"};
        int heard = 0;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod slot = meta.method(i);
            const QString name = QString::fromLatin1(slot.name());
            if (!name.startsWith("on_") || !name.endsWith("_clicked"))
                continue;
            const QString widgetName = name.mid(3, name.size() - 3 - 8);
            auto *widget = w.findChild<QAbstractButton *>(widgetName);
            QCOMPARE(widget == nullptr, unheard.contains(name));
            if (!widget)
                continue;
            // Only a connection that exists can be taken away.
            QVERIFY2(QObject::disconnect(widget, SIGNAL(clicked()), &w, qPrintable("1" + slot.methodSignature())),
                     qPrintable(name));
            ++heard;
        }
        QCOMPARE(heard, 41);
    }

    void titleAndFixedSize()
    {
        Widget w;
        w.show();
        QCOMPARE(w.windowTitle(), QString("Tarvo配置工具V2.1.20"));
        QCOMPARE(w.objectName(), QString("Widget"));
        QCOMPARE(w.size(), QSize(830, 604));
        QCOMPARE(w.minimumSize(), QSize(830, 604));
        QCOMPARE(w.maximumSize(), QSize(830, 604));
        w.resize(1000, 800);
        QCOMPARE(w.size(), QSize(830, 604));
    }

    void pageButtonsThereAndBack_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("returner");
        QTest::newRow("NFC") << "nfc_option" << 0 << "nfc_return";
        QTest::newRow("Wiegand") << "wgoption" << 1 << "wg_return";
        QTest::newRow("Ethernet") << "ethoption" << 2 << "wifi_return";
        QTest::newRow("Wi-Fi") << "wifioption" << 2 << "wifi_return";
        QTest::newRow("password") << "commandLinkButton" << 3 << "pwreturn";
    }

    void pageButtonsThereAndBack()
    {
        QFETCH(QString, opener);
        QFETCH(int, page);
        QFETCH(QString, returner);
        Widget w;
        w.show();
        auto *open = formChild<QCommandLinkButton>(w, opener.toLatin1().constData());
        // Three page buttons start hidden until an output channel asks for them.
        open->setVisible(true);
        auto *stack = formChild<QStackedWidget>(w, "stacked_widget");
        QTest::mouseClick(open, Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), page);
        auto *back = formChild<QCommandLinkButton>(w, returner.toLatin1().constData());
        QVERIFY(back->isVisible());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(stack->currentIndex(), 4);
    }

    // Tab runs through the form as it reads, each part once: series,
    // password, work mode, output channel, the options page, the buttons.
    void tabOrderReadsAsTheForm()
    {
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Ui_Widget &form = WidgetProbe(w).form();
        const QList<QPair<QString, QWidget *>> parts = {
            {"series", form.groupBox_6},      {"password", form.manpw},      {"work mode", form.groupBox_9},
            {"output", form.output_groupbox}, {"page", form.stacked_widget}, {"buttons", &w}};
        form.tarvo_ZB->setFocus();
        QStringList visited;
        for (int stop = 0; stop < 300; ++stop) {
            QWidget *focus = QApplication::focusWidget();
            for (const auto &part : parts) {
                if (part.second == focus || part.second->isAncestorOf(focus)) {
                    if (visited.isEmpty() || visited.last() != part.first)
                        visited << part.first;
                    break;
                }
            }
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == form.tarvo_ZB)
                break;
        }
        QCOMPARE(visited, QStringList({"series", "password", "work mode", "output", "page", "buttons"}));
    }

    // The shortcuts click their buttons, which do nothing while off.
    void shortcutsClickTheirButtons()
    {
        qputenv("TRVO_DEVICE", "tcp:127.0.0.1:1"); // no reader there
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        Ui_Widget &form = WidgetProbe(w).form();
        MessageBoxAnswerer answerer;
        form.manpw->setText("0123456789abcdef");
        QTest::keyClick(&w, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(!form.label->pixmap(Qt::ReturnByValue).isNull());
        QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(answerer.seen().isEmpty());
        QTest::keyClick(&w, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(answerer.seen().size(), 1);
        QCOMPARE(answerer.seen().first().text, QStringLiteral("连接设备失败"));
        QVERIFY(
            form.saveBtn->toolTip().contains(QKeySequence("Ctrl+Shift+D").toString(QKeySequence::NativeText)));
        qunsetenv("TRVO_DEVICE");
    }

    void quitEndsTheEventLoopWithZero()
    {
        Widget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTimer::singleShot(0, &w,
                           [&w] { QTest::mouseClick(formChild<QToolButton>(w, "quitBtn"), Qt::LeftButton); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
