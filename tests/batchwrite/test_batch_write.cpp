// The batch write from the window, as a user drives it, against eight
// simulated readers: four over their pseudo-terminals, four over TCP; and
// the check, the search and the site sheet of the same dialog.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>

#include <memory>
#include <vector>

#include "batchwrite/batch_rows.h"
#include "batchwrite/batch_write_dialog.h"
#include "core/form_source.h"
#include "records/record_store.h"
#include "script/script_fixture.h"
#include "support/message_box_answerer.h"
#include "support/reader_sim.h"
#include "support/when_open.h"
#include "support/widget_probe.h"
#include "window/widget.h"

namespace {

const QString kFactoryPassword = QStringLiteral("Tarvo#Factory#16");
const QString kReaderConfig = QStringLiteral("prefix='TV-',interval=450,devnum=7,ochannel=1,dchannel=1,w_mode=1");
const int kReaders = 8;
const int kRunMs = 60000;
// The longest the window may go without painting while readers are written:
// under one save's 400 ms, which a save on the window's thread would take at
// the least, so that a busy machine's pauses are not taken for one. A
// sanitizer build slows every thread several times over, and eight of them
// then starve the window's thread of the machine's cores: there the bound
// only tells a loop that waits on a reader or the disk from a busy machine.
#ifdef TARVO_SANITIZED
const qint64 kLongestGapMs = 1000;
#else
const qint64 kLongestGapMs = 390;
#endif
// Each save takes 400 ms: long enough that a save on the window's thread
// would stall it, and that 停止 comes while the second is under way.
const QStringList kSlowReader = {"--fault", "late:1", "--late-ms", "400"};

// The rows of the links, in their order; a serial port of the machine the
// test runs on may have a row of its own.
// A form that holds the start value and never changes.
struct StartForm : FormSource
{
    const config::FormValue &value() const override { return start; }
    config::FormValue start = config::startValue();
};

QAbstractItemModel *rowsIn(BatchWriteDialog &dialog)
{
    return formChild<QTableView>(dialog, "readerTable")->model();
}

// The row that shows the link, or -1.
int rowShowing(BatchWriteDialog &dialog, const QString &link)
{
    QAbstractItemModel *rows = rowsIn(dialog);
    const QModelIndexList found =
        rows->match(rows->index(0, BatchRows::LinkColumn), Qt::DisplayRole, link, 1, Qt::MatchExactly);
    return found.isEmpty() ? -1 : found.first().row();
}

QStringList rowsOf(BatchWriteDialog &dialog, const QStringList &links, int column)
{
    QAbstractItemModel *rows = rowsIn(dialog);
    QStringList cells;
    for (const QString &link : links) {
        const int row = rowShowing(dialog, link);
        if (row < 0)
            continue;
        const bool checked = rows->index(row, BatchRows::LinkColumn).data(Qt::CheckStateRole) == Qt::Checked;
        cells << rows->index(row, column).data().toString()
                     + (column == BatchRows::LinkColumn && checked ? "+" : "");
    }
    return cells;
}

// Saves are under way while 写入 waits for them.
bool writing(BatchWriteDialog &dialog)
{
    return !formChild<QPushButton>(dialog, "writeButton")->isEnabled();
}

QStringList everyRow(const QString &cell)
{
    return QVector<QString>(kReaders, cell).toList();
}

// Clicks the button and waits for the run to end, with a timer standing in
// for the window's painting: the largest gap between its ticks.
qint64 runToEnd(BatchWriteDialog &dialog, QPushButton *button, const std::function<void()> &meanwhile = {})
{
    QElapsedTimer sinceTick;
    qint64 largestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { largestGap = std::max(largestGap, sinceTick.restart()); });
    // From the run's start: the click itself builds and signs the configuration.
    QTest::mouseClick(button, Qt::LeftButton);
    tick.start(10);
    sinceTick.start();
    if (meanwhile)
        meanwhile();
    QElapsedTimer clock;
    clock.start();
    while (writing(dialog) && clock.elapsed() < kRunMs)
        QTest::qWait(5);
    return writing(dialog) ? -1 : largestGap;
}

} // namespace

class BatchWriteTest : public QObject
{
    Q_OBJECT

private:
    std::vector<std::unique_ptr<ReaderSim>> sims;
    ScriptDir scriptDir; // a save reads the reader back through ./update_config.lua
    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;

    QString linkOf(int reader) const
    {
        return reader < kReaders / 2 ? sims[reader]->serialSetting() : sims[reader]->tcpSetting();
    }

    bool resetReader(ReaderSim &sim, const QStringList &arguments = {})
    {
        sim.kill();
        const QJsonObject state{{"config", kReaderConfig},
                                {"password", kFactoryPassword},
                                {"firmware", "TRVO 1.0"}};
        QFile file(sim.statePath());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
               && file.write(QJsonDocument(state).toJson()) > 0 && (file.close(), sim.start(arguments));
    }

    QString storedConfig(int reader) const
    {
        QFile file(sims[reader]->statePath());
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).object().value("config").toString();
    }

    // The window with a prefix to write, and its dialog opened by the
    // shortcut, the readers typed in (all eight unless others are given).
    BatchWriteDialog *openDialog(Widget &window, const QString &prefix, std::optional<QStringList> typed = {})
    {
        window.show();
        if (!QTest::qWaitForWindowActive(&window))
            return nullptr;
        formChild<QLineEdit>(window, "manpw")->setText(kFactoryPassword);
        formChild<QLineEdit>(window, "linePrefix")->setText(prefix);
        QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        auto *dialog = window.findChild<BatchWriteDialog *>();
        if (!dialog || !dialog->isVisible()) {
            qWarning("no dialog opened by the shortcut");
            return nullptr;
        }
        const QStringList readers = typed.value_or(links());
        if (readers.isEmpty())
            return dialog;
        QTest::keyClicks(formChild<QLineEdit>(*dialog, "addressField"), readers.join(' '));
        QTest::mouseClick(formChild<QPushButton>(*dialog, "addButton"), Qt::LeftButton);
        if (rowsOf(*dialog, readers, BatchRows::LinkColumn).size() != readers.size()) {
            qWarning("readers not added: %s", qPrintable(formChild<QLabel>(*dialog, "statusLine")->text()));
            return nullptr;
        }
        return dialog;
    }

    QStringList links() const
    {
        QStringList all;
        for (int reader = 0; reader < kReaders; ++reader)
            all << linkOf(reader);
        return all;
    }

    QStringList statuses(BatchWriteDialog &dialog) const
    {
        return rowsOf(dialog, links(), BatchRows::StatusColumn);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scriptDir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataDir.path()));
        for (int reader = 0; reader < kReaders; ++reader)
            sims.push_back(std::make_unique<ReaderSim>());
    }

    void init()
    {
        QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config")).clear();
        QDir(dataDir.path()).removeRecursively();
        for (auto &sim : sims)
            QVERIFY(resetReader(*sim, kSlowReader));
    }

    // All eight at once: each row ends 成功, each reader holds the form's
    // configuration and the record has each; the window never stalls. A
    // form the build refuses writes nothing.
    void writesEveryReaderAtOnce()
    {
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("批量-1"));
        QVERIFY(dialog);

        // One reader in two rows (its terminal at another speed) is refused,
        // as is a form the build refuses; neither writes anything.
        const QString twice = linkOf(0) + ":9600";
        QTest::keyClicks(formChild<QLineEdit>(*dialog, "addressField"), twice);
        QTest::keyClick(formChild<QLineEdit>(*dialog, "addressField"), Qt::Key_Return);
        QTest::mouseClick(formChild<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
        QVERIFY2(formChild<QLabel>(*dialog, "statusLine")->text().contains(twice),
                 qPrintable(formChild<QLabel>(*dialog, "statusLine")->text()));
        formChild<QTableView>(*dialog, "readerTable")->selectRow(rowShowing(*dialog, twice));
        QTest::mouseClick(formChild<QPushButton>(*dialog, "removeButton"), Qt::LeftButton);
        QCOMPARE(rowShowing(*dialog, twice), -1);
        formChild<QLineEdit>(window, "manpw")->clear();
        {
            MessageBoxAnswerer answerer;
            QTest::mouseClick(formChild<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
            QCOMPARE(answerer.seen().size(), 1);
        }
        QVERIFY(!writing(*dialog));
        QCOMPARE(statuses(*dialog), everyRow(QString()));
        formChild<QLineEdit>(window, "manpw")->setText(kFactoryPassword);

        const qint64 gap = runToEnd(*dialog, formChild<QPushButton>(*dialog, "writeButton"));
        QVERIFY2(gap >= 0 && gap < kLongestGapMs, qPrintable(QString::number(gap)));
        QCOMPARE(statuses(*dialog), everyRow(QStringLiteral("成功")));
        QCOMPARE(formChild<QProgressBar>(*dialog, "progressBar")->value(), kReaders);
        for (int reader = 0; reader < kReaders; ++reader)
            QVERIFY2(storedConfig(reader).contains("批量-1"), qPrintable(storedConfig(reader)));
        std::vector<records::Record> saved;
        QVERIFY(!records::Store(records::defaultPath()).read(QDateTime(), &saved));
        QCOMPARE(int(saved.size()), kReaders);
    }

    // 停止 after the first outcome: the saves under way finish, no other
    // starts; the readers never started keep what they held.
    void stopLeavesUnstartedReadersUntouched()
    {
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("停止-1"));
        QVERIFY(dialog);
        formChild<QSpinBox>(*dialog, "atOnceField")->setValue(1);
        const qint64 gap = runToEnd(*dialog, formChild<QPushButton>(*dialog, "writeButton"), [&] {
            QTRY_VERIFY_WITH_TIMEOUT(statuses(*dialog).contains(QStringLiteral("成功")), kRunMs);
            QTest::mouseClick(formChild<QPushButton>(*dialog, "stopButton"), Qt::LeftButton);
        });
        QVERIFY(gap >= 0);
        int untouched = 0;
        for (int reader = 0; reader < kReaders; ++reader) {
            const QString status = statuses(*dialog).at(reader);
            QVERIFY2(status.isEmpty() || status == QStringLiteral("成功"), qPrintable(status));
            QCOMPARE(storedConfig(reader) == kReaderConfig, status.isEmpty());
            untouched += status.isEmpty();
        }
        QVERIFY2(untouched >= kReaders - 3, qPrintable(statuses(*dialog).join(',')));
    }

    // Closing the dialog, or the window, while saves run: no further save
    // starts, those under way finish and are recorded, and nothing is left
    // running. The dialog goes once they have.
    void closingWaitsForTheSavesUnderWay_data()
    {
        QTest::addColumn<bool>("windowToo");
        QTest::newRow("the dialog") << false;
        QTest::newRow("the window") << true;
    }

    void closingWaitsForTheSavesUnderWay()
    {
        QFETCH(bool, windowToo);
        auto window = std::make_unique<Widget>();
        BatchWriteDialog *dialog = openDialog(*window, QStringLiteral("关闭-1"));
        QVERIFY(dialog);
        formChild<QSpinBox>(*dialog, "atOnceField")->setValue(2);
        QTest::mouseClick(formChild<QPushButton>(*dialog, "writeButton"), Qt::LeftButton);
        QTRY_VERIFY(statuses(*dialog).contains(QStringLiteral("正在写入…")));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(dialog->isVisible());
        if (windowToo)
            window.reset();
        else
            QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kRunMs);

        int written = 0;
        for (int reader = 0; reader < kReaders; ++reader)
            written += storedConfig(reader).contains("关闭-1");
        // Two at a time: what had started when the dialog closed, never all.
        QVERIFY2(written >= 1 && written < kReaders, qPrintable(QString::number(written)));
        std::vector<records::Record> saved;
        QVERIFY(!records::Store(records::defaultPath()).read(QDateTime(), &saved));
        QCOMPARE(int(saved.size()), written);
    }

    // A reader gone during the write fails with its cause; back again, a
    // retry writes it and it alone.
    void retryWritesTheFailedOnes()
    {
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("重试-1"));
        QVERIFY(dialog);
        const int gone[] = {1, 6}; // one terminal, one TCP reader
        for (int reader : gone)
            sims[reader]->kill();
        QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "writeButton")) >= 0);
        for (int reader : gone)
            QVERIFY2(statuses(*dialog).at(reader).startsWith(QStringLiteral("失败：")),
                     qPrintable(statuses(*dialog).at(reader)));
        QVERIFY(formChild<QPushButton>(*dialog, "retryButton")->isEnabled());

        for (int reader : gone)
            QVERIFY(sims[reader]->start(kSlowReader));
        QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "retryButton")) >= 0);
        QCOMPARE(statuses(*dialog), everyRow(QStringLiteral("成功")));
        QCOMPARE(formChild<QProgressBar>(*dialog, "progressBar")->maximum(), 2);
        for (int reader : gone)
            QVERIFY(storedConfig(reader).contains("重试-1"));
        QVERIFY(!formChild<QPushButton>(*dialog, "retryButton")->isEnabled());
    }

    // The typed readers and the checks come back in the next run; what the
    // settings hold that is no single link is dropped.
    void remembersTypedReaders()
    {
        QSettings settings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config"));
        settings.setValue("batchWrite/typedReaders",
                          QStringList{"tcp:10.0.0.1:47811", "10.0.0.1-200:1", "tcp:1.2.3.400:1", "<b>x</b>",
                                      "serial:/dev/ttyACM7", "tcp:10.0.0.1:47811"});
        settings.setValue("batchWrite/checkedReaders", QStringList{"serial:/dev/ttyACM7", "garbage"});
        settings.sync();
        StartForm form;
        QWidget window;
        const QStringList remembered{"tcp:10.0.0.1:47811", "serial:/dev/ttyACM7", "tcp:reader.lan:1"};
        {
            BatchWriteDialog first(form, {}, &window);
            QCOMPARE(rowsOf(first, remembered, 0), (QStringList{"tcp:10.0.0.1:47811", "serial:/dev/ttyACM7+"}));
            QVERIFY(rowsIn(first)->setData(rowsIn(first)->index(rowShowing(first, "tcp:10.0.0.1:47811"),
                                                                BatchRows::LinkColumn),
                                           Qt::Checked, Qt::CheckStateRole));
            QTest::keyClicks(formChild<QLineEdit>(first, "addressField"), "reader.lan:1");
            QTest::keyClick(formChild<QLineEdit>(first, "addressField"), Qt::Key_Enter);
            QVERIFY(!writing(first));
        }
        BatchWriteDialog second(form, {}, &window);
        QCOMPARE(rowsOf(second, remembered, 0),
                 (QStringList{"tcp:10.0.0.1:47811+", "serial:/dev/ttyACM7+", "tcp:reader.lan:1+"}));
    }

    // 检查 writes nothing: the reader that holds the form's configuration is
    // 一致, the other 不同 with what differs listed for its row, a reader gone
    // says why; each check is recorded as the command line's is.
    void checkComparesWithoutWriting()
    {
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("检查-1"), QStringList{linkOf(4)});
        QVERIFY(dialog);
        QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "writeButton")) >= 0);
        QVERIFY(sims[4]->waitForLine("config applied"));
        QTest::keyClicks(formChild<QLineEdit>(*dialog, "addressField"), linkOf(5) + ' ' + linkOf(6));
        QTest::mouseClick(formChild<QPushButton>(*dialog, "addButton"), Qt::LeftButton);
        sims[6]->kill();

        const qint64 gap = runToEnd(*dialog, formChild<QPushButton>(*dialog, "checkButton"));
        QVERIFY2(gap >= 0 && gap < kLongestGapMs, qPrintable(QString::number(gap)));
        const QStringList said = rowsOf(*dialog, {linkOf(4), linkOf(5), linkOf(6)}, BatchRows::StatusColumn);
        QCOMPARE(said.value(0), QStringLiteral("一致"));
        const QRegularExpressionMatch differs = QRegularExpression("^不同：(\\d+) 项$").match(said.value(1));
        QVERIFY2(differs.hasMatch(), qPrintable(said.join(',')));
        QVERIFY2(said.value(2).startsWith(QStringLiteral("未能检查：")), qPrintable(said.value(2)));
        QVERIFY(!sims[5]->waitForLine("config applied", 300));
        QCOMPARE(storedConfig(5), kReaderConfig);

        auto *table = formChild<QTableView>(*dialog, "readerTable");
        const QModelIndex row = rowsIn(*dialog)->index(rowShowing(*dialog, linkOf(5)), BatchRows::StatusColumn);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(row).center());
        const QString detail = formChild<QPlainTextEdit>(*dialog, "detailPane")->toPlainText();
        QCOMPARE(detail.count('\n'), differs.captured(1).toInt());
        QVERIFY2(detail.contains(QStringLiteral("TV- → 检查-1")), qPrintable(detail));

        std::vector<records::Record> recorded;
        QVERIFY(!records::Store(records::defaultPath()).read(QDateTime(), &recorded));
        QCOMPARE(std::count_if(recorded.begin(), recorded.end(),
                               [](const records::Record &one) { return one.kind == records::Record::Check; }),
                 3);
    }

    // 查找 tries each port of a loopback range and adds a row for each reader
    // there, once however often it is asked; a range it cannot take says why.
    void findAddsTheReadersOfARange()
    {
        const int base = freeLoopbackPorts(10);
        QVERIFY(base > 0);
        ReaderSim there[2];
        QStringList range;
        for (int port = base; port < base + 10; ++port)
            range << QStringLiteral("tcp:127.0.0.1:%1").arg(port);
        for (int i = 0; i < 2; ++i)
            QVERIFY(there[i].start({"--port", QString::number(base + 3 + 4 * i), "--no-pty"}));
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("查找-1"), QStringList());
        QVERIFY(dialog);
        auto *field = formChild<QLineEdit>(*dialog, "addressField");
        for (int time = 0; time < 2; ++time) {
            field->setText(QStringLiteral("127.0.0.1:%1-%2").arg(base).arg(base + 9));
            QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "findButton")) >= 0);
            QCOMPARE(rowsOf(*dialog, range, BatchRows::LinkColumn),
                     QStringList({there[0].tcpSetting() + "+", there[1].tcpSetting() + "+"}));
            QVERIFY2(formChild<QLabel>(*dialog, "statusLine")->text().startsWith(QStringLiteral("找到 2 个")),
                     qPrintable(formChild<QLabel>(*dialog, "statusLine")->text()));
        }
        field->setText(QStringLiteral("127.0.0.0/19"));
        QTest::mouseClick(formChild<QPushButton>(*dialog, "findButton"), Qt::LeftButton);
        QVERIFY(!writing(*dialog));
        QVERIFY(formChild<QLabel>(*dialog, "statusLine")->text().contains(QStringLiteral("最多查找 4096 个")));
    }

    // 载入站点表 gives the rows the sheet's links and places (the pane shows
    // a row's values, its secret masked), and a write or a check sends each
    // reader its row's values; a sheet with a row that cannot be taken loads
    // nothing and says which.
    void loadsASiteSheet_data()
    {
        QTest::addColumn<QString>("sheet"); // %1 %2: two TCP readers
        QTest::addColumn<QStringList>("said");
        QTest::newRow("two readers") << "link,place,devnum,psk\n%1,东门,101,secret1234\n%2,\"西门, 2\",,\n"
                                     << QStringList{"2 个读卡器"};
        QTest::newRow("a bad value") << "link,place,devnum\n%1,东门,101\n%2,西门,x\n"
                                     << QStringList{"第 3 行", "devnum"};
        QTest::newRow("a header alone") << "link,place,devnum\n" << QStringList{"没有读头"};
    }

    void loadsASiteSheet()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, said);
        QTemporaryDir dir;
        QFile file(dir.filePath("site.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly)
                && file.write(sheet.replace("%1", linkOf(4)).replace("%2", linkOf(5)).toUtf8()) > 0);
        file.close();
        Widget window;
        BatchWriteDialog *dialog = openDialog(window, QStringLiteral("站点-1"), QStringList());
        QVERIFY(dialog);
        whenOpen<QFileDialog>([&](QFileDialog *chooser) {
            chooser->setDirectory(dir.path());
            chooser->selectFile("site.csv");
            static_cast<QDialog *>(chooser)->accept(); // as the Open button does
        });
        QTest::mouseClick(formChild<QPushButton>(*dialog, "sheetButton"), Qt::LeftButton);
        const QString status = formChild<QLabel>(*dialog, "statusLine")->text();
        for (const QString &part : said)
            QVERIFY2(status.contains(part), qPrintable(status));
        const bool loaded = said.size() == 1 && said.first().endsWith("读卡器");
        QCOMPARE(rowsOf(*dialog, {linkOf(4), linkOf(5)}, BatchRows::PlaceColumn),
                 loaded ? QStringList({"东门", "西门, 2"}) : QStringList());
        if (!loaded)
            return;
        auto *table = formChild<QTableView>(*dialog, "readerTable");
        const QModelIndex first = rowsIn(*dialog)->index(rowShowing(*dialog, linkOf(4)), BatchRows::StatusColumn);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(first).center());
        const QString detail = formChild<QPlainTextEdit>(*dialog, "detailPane")->toPlainText();
        QVERIFY2(detail.contains("devnum = 101") && detail.contains("psk") && !detail.contains("secret1234"),
                 qPrintable(detail));
        QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "writeButton")) >= 0);
        QVERIFY2(storedConfig(4).contains(",devnum=101,"), qPrintable(storedConfig(4)));
        QVERIFY2(storedConfig(5).contains("站点-1") && !storedConfig(5).contains("devnum=101"),
                 qPrintable(storedConfig(5)));
        QVERIFY(runToEnd(*dialog, formChild<QPushButton>(*dialog, "checkButton")) >= 0);
        QCOMPARE(rowsOf(*dialog, {linkOf(4), linkOf(5)}, BatchRows::StatusColumn), QStringList({"一致", "一致"}));
    }
};

QTEST_MAIN(BatchWriteTest)
#include "test_batch_write.moc"
