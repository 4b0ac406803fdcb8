// Hostile text from outside (file paths, the settings, the environment,
// reader replies) through every place of the window that shows it: nothing
// renders as markup, nothing crashes, and a spoiled settings file is read
// as far as it is sound.
#include <QLabel>
#include <QMenu>
#include <QTextDocument>
#include <QToolButton>
#include <QtTest>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "ui_widget.h"
#include "widgets/device_chooser.h"
#include "widgets/untrusted_text.h"
#include "window/config_file_controller.h"
#include "window/device_session.h"
#include "window/widget.h"

namespace {

// What a widget that decides by itself shows of the text.
QString rendered(const QString &text, Qt::TextFormat format = Qt::AutoText)
{
    if (format == Qt::PlainText || !Qt::mightBeRichText(text))
        return text.simplified();
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText().simplified();
}

// Whether the start of a hostile text shows as it is, bar the control
// characters, which show as blanks.
bool showsPlainly(const QString &shown, const QString &hostile)
{
    return shown.simplified().contains(plainShown(hostile.left(40)).simplified().left(20));
}

void writeSettings(const QByteArray &lines)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tarvo");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/tarvo-config.conf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + lines + '\n');
}

} // namespace

class UntrustedTextTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QDir::setCurrent(dir.path());
    }

    void hostileTextShowsPlainly_data()
    {
        QTest::addColumn<QString>("hostile");
        QString tables;
        for (int i = 0; i < 4000; ++i)
            tables += QStringLiteral("<table><tr><td>");
        QTest::newRow("4000 nested tables") << tables;
        QTest::newRow("font") << QStringLiteral("<font size=7 color=red>大</font>.tcfg");
        QTest::newRow("control characters") << QStringLiteral("a\x1b[31mred\x07\u202egfct.\r\nb");
        QTest::newRow("5 MB") << QStringLiteral("<b>") + QString(5 * 1024 * 1024, QLatin1Char('x'));
    }

    void hostileTextShowsPlainly()
    {
        QFETCH(QString, hostile);
        qputenv("TRVO_DEVICE", hostile.left(8192).toUtf8());
        writeSettings("recentConfigFiles=" + QStringList({hostile.left(4000), hostile}).join(',').toUtf8());
        Widget window;
        window.show();
        MessageBoxAnswerer answerer;
        QStringList shown;
        answerer.onSeen([&](QMessageBox *box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            shown << box->text() << rendered(box->informativeText());
        });

        QVERIFY(!window.configFiles().open(hostile));
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(showsPlainly(shown.join(' '), hostile));

        const QString tooltip = WidgetProbe(window).form().labelState->toolTip();
        QVERIFY(showsPlainly(rendered(tooltip), hostile));
        QVERIFY(tooltip.size() < 3 * kMostShownChars);

        QMenu *recent = nullptr;
        for (QMenu *menu : window.findChildren<QMenu *>())
            if (menu->title() == QStringLiteral("最近使用的文件"))
                recent = menu;
        QVERIFY(recent);
        emit recent->aboutToShow();
        for (QAction *entry : recent->actions())
            QVERIFY(entry->text().size() <= 2 * 128 && !entry->text().remove("&&").contains('&'));

        // The link, as the device library and the status name it, in a box's detail.
        QTest::mouseClick(WidgetProbe(window).form().connectBtn, Qt::LeftButton);
        QTRY_COMPARE(answerer.seen().size(), 2);
        QVERIFY2(showsPlainly(shown.last(), hostile), qPrintable(shown.last().left(300)));

        DeviceChooser chooser(hostile.left(8192), &window);
        for (QLabel *label : chooser.findChildren<QLabel *>())
            if (label->text().contains(QStringLiteral("TRVO_DEVICE")))
                QCOMPARE(label->textFormat(), Qt::PlainText);
        qunsetenv("TRVO_DEVICE");
    }

    // Each spoiled value is left out, the sound ones are taken.
    void spoiledSettingsAreIgnored_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QString>("link");
        QByteArray many;
        for (int i = 0; i < 200000; ++i)
            many += "/f" + QByteArray::number(i) + ".tcfg,";
        QTest::newRow("other types") << QByteArray("recentConfigFiles=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n"
                                                   "device\\link=@ByteArray(tcp:h:1)")
                                     << QStringList() << "";
        QTest::newRow("200 000 recent files")
            << "recentConfigFiles=" + many + "\ndevice\\link=tcp:h:1"
            << QStringList{"/f0.tcfg", "/f1.tcfg", "/f2.tcfg", "/f3.tcfg", "/f4.tcfg", "/f5.tcfg"} << "tcp:h:1";
        QTest::newRow("5 MB link and path") << "recentConfigFiles=/a.tcfg, /" + QByteArray(5 << 20, 'p')
                                                   + "\ndevice\\link=tcp:" + QByteArray(5 << 20, 'h')
                                            << QStringList{"/a.tcfg"} << "";
        QTest::newRow("one recent file")
            << QByteArray("recentConfigFiles=/a.tcfg") << QStringList{"/a.tcfg"} << "";
        // Qt reads nothing more of the file after such a value, nor do we.
        QTest::newRow("list of an impossible size")
            << QByteArray("device\\link=tcp:h:1\nrecentConfigFiles=@Variant(\\0\\0\\0\\v\\x7f\\xff\\xff\\xff)")
            << QStringList() << "";
        QTest::newRow("the same, spelled with escapes") << QByteArray(
            "device\\link=tcp:h:1\nrecentConfigFiles=\\x40V\\cariant(\\0\\0\\0\\v\\x7f\\xff\\xff\\xff)")
                                                        << QStringList() << "";
        QTest::newRow("the same, after a NUL byte")
            << QByteArray("x=\0", 3) + "\nrecentConfigFiles=@Variant(\\0\\0\\0\\v\\x7f\\xff\\xff\\xff)"
            << QStringList() << "";
    }

    void spoiledSettingsAreIgnored()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, recent);
        QFETCH(QString, link);
        writeSettings(settings);
        Widget window;
        QCOMPARE(window.configFiles().recentFiles(), recent);
        QCOMPARE(formChild<DeviceSession>(window, "deviceSession")->link(), link);
    }

private:
    QTemporaryDir dir;
};

QTEST_MAIN(UntrustedTextTest)
#include "test_untrusted_text.moc"
