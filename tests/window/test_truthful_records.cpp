// What a save says it changed is what it changed on the reader: the review,
// the success box, the record and --history name the same keys; after
// another reader is chosen nothing of the last one is shown, compared with
// or recorded. Driven by real clicks against two simulated readers.
#include <QApplication>
#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "records/record_store.h"
#include "review/save_review.h"
#include "script/script_fixture.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/reader_sim.h"
#include "support/widget_child.h"
#include "widgets/device_chooser.h"
#include "window/widget.h"

namespace {

const QString kFactoryPassword = QStringLiteral("Tarvo#Factory#16");
const QString kSaved = QStringLiteral("保存状态 / 保存成功");
const QString kKeepForm = QStringLiteral("保留窗口配置");
const QString kCancel = QStringLiteral("取消");
const QString kWifiPassword = QStringLiteral("Halle-Wlan-77");
// Wired, with a static address and its card output set up.
const QByteArray kStaticEthernet = "ochannel=32,eth=1,ip_mode=1,ip='192.168.1.100',mask='255.255.255.0',"
                                   "gateway='192.168.1.1',houttime=3000,nfc=1,st=1,len=4,nft=1,prefix='ETH-'";
const QByteArray kOtherReader = "ochannel=1,prefix='C-HELD',interval=700,devnum=3";
// The keys a Wi-Fi save over TCP has no business changing on that reader.
const QStringList kWiredKeys{"ip", "mask", "gateway", "st", "nft", "houttime"};

struct Clicked
{
    QStringList boxes;   // "title / text"
    QStringList details; // informative texts
    QList<QStringList> buttons;
    QStringList reviewRows; // setting, reader's value, new value, tab-separated
};

// A real click; the boxes take the answers given, then Ok; a review is
// answered with 写入读卡器 (or with reviewAnswer).
Clicked click(QWidget &window, const char *button, const QStringList &answers = {},
              const QString &reviewAnswer = QStringLiteral("writeButton"))
{
    Clicked clicked;
    MessageBoxAnswerer answerer;
    for (const QString &answer : answers)
        answerer.queue(answer);
    answerer.onSeen([&](QMessageBox *box) {
        clicked.details << box->informativeText();
        QStringList texts;
        for (QAbstractButton *each : box->buttons())
            texts << each->text();
        clicked.buttons << texts;
    });
    QTimer review;
    QObject::connect(&review, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->findChild<QTableWidget *>("changeTable"))
            return;
        auto *table = formChild<QTableWidget>(*dialog, "changeTable");
        for (int row = 0; row < table->rowCount(); ++row)
            clicked.reviewRows << QStringList{table->item(row, 0)->text(), table->item(row, 2)->text(),
                                              table->item(row, 3)->text()}
                                      .join('\t');
        QTest::mouseClick(formChild<QPushButton>(*dialog, reviewAnswer.toLatin1().constData()), Qt::LeftButton);
    });
    review.start(20);
    QTest::mouseClick(formChild<QAbstractButton>(window, button), Qt::LeftButton);
    clicked.boxes = answerer.summary();
    return clicked;
}

// Picks link in the chooser beside 连接设备 as a user does.
void choose(QWidget &window, const QString &link)
{
    QTimer::singleShot(0, [link] {
        auto *chooser = qobject_cast<DeviceChooser *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        const QStringList parts = link.split(':');
        auto *choice =
            formChild<QRadioButton>(*chooser, parts.first() == "tcp" ? "networkChoice" : "serialChoice");
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        if (parts.first() == "tcp") {
            formChild<QLineEdit>(*chooser, "host")->setText(parts.at(1));
            formChild<QSpinBox>(*chooser, "tcpPort")->setValue(parts.at(2).toInt());
        } else {
            formChild<QLineEdit>(*chooser, "portPath")->setText(parts.at(1));
        }
        QTest::mouseClick(formChild<QDialogButtonBox>(*chooser, "buttons")->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::mouseClick(formChild<QToolButton>(window, "readerChooser"), Qt::LeftButton);
}

// The entries of a reader's text by key, values as written.
QMap<QString, QString> entriesOf(const QString &text)
{
    QMap<QString, QString> entries;
    static const QRegularExpression entry(QStringLiteral("(\\w+)=('(?:[^']|'(?!,\\w+=|$))*'|[^,]*)"));
    for (auto match = entry.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch one = match.next();
        entries.insert(one.captured(1), one.captured(2));
    }
    return entries;
}

QStringList changedKeys(const QString &before, const QString &after)
{
    const QMap<QString, QString> was = entriesOf(before);
    const QMap<QString, QString> now = entriesOf(after);
    QStringList keys;
    for (auto it = now.begin(); it != now.end(); ++it)
        if (!was.contains(it.key()) || was.value(it.key()) != it.value())
            keys << it.key();
    return keys;
}

QStringList recordedKeys(const records::Record &record)
{
    QStringList keys;
    for (const records::Change &change : record.keyChanges)
        keys << change.key;
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace

class TruthfulRecordsTest : public QObject
{
    Q_OBJECT

private:
    ReaderSim readerA;
    ReaderSim readerC;
    ScriptDir scriptDir;
    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;

    static bool startReader(ReaderSim &sim, const QByteArray &config, const QString &firmware)
    {
        sim.kill();
        const QJsonObject state{{"config", QString::fromUtf8(config)},
                                {"password", kFactoryPassword},
                                {"firmware", firmware}};
        QFile file(sim.statePath());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
               && file.write(QJsonDocument(state).toJson()) > 0 && (file.close(), sim.start());
    }

    static QString held(const ReaderSim &sim)
    {
        QFile file(sim.statePath());
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object().value("config").toString();
    }

    static records::Record lastRecord()
    {
        std::vector<records::Record> all;
        records::Store(records::defaultPath()).read(QDateTime(), &all);
        return all.empty() ? records::Record() : all.back();
    }

    // The last line --history prints, as the built program prints it.
    static QString lastHistoryLine()
    {
        QProcess history;
        history.start(QStringLiteral(TARVO_PROGRAM), {"--history"});
        history.waitForFinished(30000);
        const QStringList lines =
            QString::fromUtf8(history.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return lines.isEmpty() ? QString() : lines.last();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scriptDir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir.path()));
        qunsetenv("TRVO_DEVICE");
        // The program's name, so that --history reads this store.
        QCoreApplication::setApplicationName(QStringLiteral("tarvo-config"));
    }

    void init()
    {
        QVERIFY(startReader(readerA, kStaticEthernet, "TRVO-A 1.0"));
        QVERIFY(startReader(readerC, kOtherReader, "TRVO-C 2.0"));
    }

    void cleanup() { QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config")).clear(); }

    // A Wi-Fi save to a wired reader with a static address: the review, the
    // box, the record and --history list exactly the keys it changed there;
    // the same save again changes none.
    void wifiSaveToStaticEthernetReader_data()
    {
        QTest::addColumn<bool>("overPty");
        QTest::newRow("tcp") << false;
        QTest::newRow("pty") << true;
    }

    void wifiSaveToStaticEthernetReader()
    {
        QFETCH(bool, overPty);
        Widget window;
        window.show();
        choose(window, overPty ? "serial:" + readerA.ptyLink() : readerA.tcpSetting());
        fillForm(window, {"wifiOut", "tcpO", "wifiname=Werkhalle", "wifipasswd=" + kWifiPassword,
                          "tcpaddr=127.0.0.1", "tcpport=9100", "manpw=" + kFactoryPassword});
        QCOMPARE(click(window, "connectBtn", {kKeepForm}).boxes.value(1),
                 QStringLiteral("连接状态 / 连接设备成功"));
        const QString before = held(readerA);
        const Clicked save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{kSaved});
        QStringList changed = changedKeys(before, held(readerA));
        std::sort(changed.begin(), changed.end());
        for (const QString &wired : kWiredKeys)
            QVERIFY2(!changed.contains(wired), qPrintable(changed.join(',')));
        const records::Record record = lastRecord();
        QCOMPARE(recordedKeys(record), changed);
        QCOMPARE(save.reviewRows.size(), changed.size());
        QStringList settings;
        QStringList boxLines;
        for (const QString &row : save.reviewRows) {
            settings << row.section('\t', 0, 0);
            boxLines << QStringLiteral("%1：%2 → %3")
                            .arg(row.section('\t', 0, 0), row.section('\t', 1, 1), row.section('\t', 2, 2));
        }
        QCOMPARE(QSet<QString>(settings.begin(), settings.end()).size(), settings.size());
        // The box lists every change where they fit, else the first and how many.
        if (boxLines.size() > kShownChanges)
            boxLines = boxLines.mid(0, kShownChanges) << QStringLiteral("…等 %1 项").arg(changed.size());
        QCOMPARE(save.details.value(0).split('\n'), boxLines);
        const QString history = lastHistoryLine();
        QStringList recorded;
        for (const QString &line : record.changes.split('\n')) {
            QVERIFY2(history.contains(line), qPrintable(line + " | " + history));
            recorded << line.section(QStringLiteral("："), 0, 0);
        }
        QCOMPARE(QSet<QString>(recorded.begin(), recorded.end()).size(), changed.size());
        QVERIFY(history.contains("Werkhalle") && !history.contains(kWifiPassword));

        const Clicked again = click(window, "saveBtn");
        QCOMPARE(again.boxes, QStringList{kSaved});
        QVERIFY2(!again.details.value(0).contains("→"), qPrintable(again.details.value(0)));
        QVERIFY(lastRecord().keyChanges.empty());
        QVERIFY(!lastHistoryLine().contains("→"));
    }

    // Reader A, then reader C through the chooser: nothing of A stays in
    // view or in the review, the save goes to C and its record names C; a
    // connect to C after a save to A asks before it replaces the form.
    void readerSwitch_data()
    {
        QTest::addColumn<bool>("aOverPty");
        QTest::newRow("A over TCP, C over a pseudo-terminal") << false;
        QTest::newRow("A over a pseudo-terminal, C over TCP") << true;
    }

    void readerSwitch()
    {
        QFETCH(bool, aOverPty);
        const QString linkA = aOverPty ? "serial:" + readerA.ptyLink() : readerA.tcpSetting();
        const QString linkC = aOverPty ? readerC.tcpSetting() : "serial:" + readerC.ptyLink();
        Widget window;
        window.show();
        choose(window, linkA);
        QCOMPARE(click(window, "connectBtn").boxes, QStringList{"连接状态 / 连接设备成功"});
        QCOMPARE(formChild<QLabel>(window, "deviceversion")->text(), QStringLiteral("TRVO-A 1.0"));
        fillForm(window, {"linePrefix=SWITCHED", "manpw=" + kFactoryPassword});

        choose(window, linkC);
        QCOMPARE(formChild<QLabel>(window, "deviceversion")->text(), QString());
        QVERIFY(!formChild<QAbstractButton>(window, "saveBtn")->isEnabled());
        QCOMPARE(click(window, "connectBtn", {kKeepForm}).boxes.value(1),
                 QStringLiteral("连接状态 / 连接设备成功"));
        QCOMPARE(formChild<QLabel>(window, "deviceversion")->text(), QStringLiteral("TRVO-C 2.0"));
        const Clicked save = click(window, "saveBtn");
        QCOMPARE(save.boxes, QStringList{kSaved});
        QVERIFY(save.reviewRows.join('\n').contains("C-HELD"));
        QVERIFY2(!save.reviewRows.join('\n').contains("ETH-"), qPrintable(save.reviewRows.join('\n')));
        QVERIFY(readerC.waitForLine("config applied"));
        QVERIFY(!readerA.waitForLine("config applied", 300));
        const records::Record record = lastRecord();
        QVERIFY2(record.link.startsWith(linkC), qPrintable(record.link));
        QCOMPARE(record.firmware, QStringLiteral("TRVO-C 2.0"));

        choose(window, linkA);
        QCOMPARE(click(window, "connectBtn", {kKeepForm}).boxes.value(1),
                 QStringLiteral("连接状态 / 连接设备成功"));
        QCOMPARE(click(window, "saveBtn").boxes, QStringList{kSaved});
        choose(window, linkC);
        const Clicked asked = click(window, "connectBtn", {kCancel});
        QStringList buttons = asked.buttons.value(0);
        buttons.sort();
        QStringList offered{"载入读卡器配置", kKeepForm, kCancel};
        offered.sort();
        QCOMPARE(buttons, offered);
        QCOMPARE(formChild<QLineEdit>(window, "linePrefix")->text(), QStringLiteral("SWITCHED"));
    }
};

QTEST_MAIN(TruthfulRecordsTest)
#include "test_truthful_records.moc"
