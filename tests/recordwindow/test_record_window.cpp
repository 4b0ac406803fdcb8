// The record window over a store of saves: the filter and the date range,
// the exports read back by other programs, and opening a record's
// configuration in the form as a file opens.
#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <csv.h>

#include "config/config_file.h"
#include "program/language.h"
#include "records/record_store.h"
#include "recordwindow/record_window.h"
#include "script/script_fixture.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/form_binding.h"
#include "window/widget.h"

namespace {

QByteArray configurationOf(void (*change)(config::FormValue &))
{
    config::FormValue value = config::startValue();
    change(value);
    return config::fileContents(value).bytes;
}

// A place with every character CSV must quote, and a firmware text a
// spreadsheet would take for a formula.
const QString kTrickyPlace = QStringLiteral("3号楼, \"东\"门\n二层");

struct Saved
{
    const char *place;
    const char *link;
    const char *firmware;
    int day; // of March 2026, 10:00 on the user's clock
    records::Record::Result result;
};
const Saved kSaved[] = {
    {"东门", "tcp:10.0.0.5:9000", "TRVO 2.3.4", 1, records::Record::Confirmed},
    {"仓库", "/dev/ttyUSB0", "TRVO 3.0", 5, records::Record::Failed},
    {"前台", "", "=1+2", 9, records::Record::Unknown},
};

// The store with its journal: a journal left beside a new store would be
// played into it.
void removeStore()
{
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(records::defaultPath() + QLatin1String(suffix));
}

// Each record configures a WT reader for Wiegand.
void fillStore(const QString &trickyPlace = QString())
{
    removeStore();
    records::Store store(records::defaultPath());
    for (const Saved &saved : kSaved) {
        records::Record record;
        record.time = QDateTime(QDate(2026, 3, saved.day), QTime(10, 0));
        record.place = trickyPlace.isEmpty() || saved.day != 1 ? QString::fromUtf8(saved.place) : trickyPlace;
        record.link = QString::fromUtf8(saved.link);
        record.firmware = QString::fromUtf8(saved.firmware);
        record.result = saved.result;
        record.series = QStringLiteral("tarvo_WT");
        record.cause = QStringLiteral("没有应答");
        record.changes = QStringLiteral("扫码前缀：TV- → 记录\n蜂鸣器：☑ → ☐");
        record.configuration =
            configurationOf([](config::FormValue &value) { value.check(&config::FormValue::weigenOut); });
        QVERIFY(!store.append(record));
    }
}

// A site's saves and checks, oldest first: reader A failed, was saved on a
// retry, then checked; B was saved and then found to differ; C failed once.
struct Step
{
    const char *link;
    int day; // of March 2026
    records::Record::Kind kind;
    records::Record::Result result;
    const char *place;
    const char *firmware;
};
const Step kSite[] = {
    {"tcp:127.0.0.1:9001", 1, records::Record::Save, records::Record::Failed, "东门", "TRVO 2.3"},
    {"tcp:127.0.0.1:9001", 2, records::Record::Save, records::Record::Confirmed, "东门", "TRVO 2.3"},
    {"tcp:127.0.0.1:9003", 2, records::Record::Save, records::Record::Failed, "前台", ""},
    {"tcp:127.0.0.1:9002", 3, records::Record::Save, records::Record::Confirmed, "仓库", "TRVO 3.0"},
    {"tcp:127.0.0.1:9001", 4, records::Record::Check, records::Record::Confirmed, "", ""},
    {"tcp:127.0.0.1:9002", 6, records::Record::Check, records::Record::Failed, "仓库", "TRVO 3.0"},
};

void fillSite()
{
    removeStore();
    records::Store store(records::defaultPath());
    int hour = 8;
    for (const Step &step : kSite) {
        records::Record record;
        record.time = QDateTime(QDate(2026, 3, step.day), QTime(hour++, 0));
        record.link = QString::fromUtf8(step.link);
        record.kind = step.kind;
        record.result = step.result;
        record.cause = QStringLiteral("没有应答");
        record.place = QString::fromUtf8(step.place);
        record.firmware = QString::fromUtf8(step.firmware);
        QVERIFY(!store.append(record));
    }
}

RecordWindow *openRecords(Widget &window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
    return window.findChild<RecordWindow *>();
}

QStringList column(RecordWindow &records, int column)
{
    QStringList cells;
    const QAbstractItemModel *shown = formChild<QTableView>(records, "recordTable")->model();
    for (int row = 0; row < shown->rowCount(); ++row)
        cells << shown->index(row, column).data().toString();
    return cells;
}

// Each shown row as "port kind place firmware result".
QStringList siteRows(RecordWindow &records)
{
    QStringList rows;
    const QStringList links = column(records, RecordTable::Link);
    for (int row = 0; row < links.size(); ++row)
        rows << QStringList{links[row].section(QLatin1Char(':'), -1), column(records, RecordTable::Kind)[row],
                            column(records, RecordTable::Place)[row], column(records, RecordTable::Firmware)[row],
                            column(records, RecordTable::Result)[row]}
                    .join(QLatin1Char(' '));
    return rows;
}

void clickRow(RecordWindow &records, int row)
{
    QTableView *table = formChild<QTableView>(records, "recordTable");
    const QRect cell = table->visualRect(table->model()->index(row, RecordTable::Place));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

void onField(void *field, size_t size, void *rows)
{
    auto *table = static_cast<QList<QStringList> *>(rows);
    if (table->isEmpty())
        table->append(QStringList());
    table->last() << QString::fromUtf8(static_cast<const char *>(field), int(size));
}

void onRowEnd(int, void *rows)
{
    static_cast<QList<QStringList> *>(rows)->append(QStringList());
}

// The rows as a strict RFC 4180 reader reads them; empty when it refuses.
QList<QStringList> parsedCsv(QByteArray bytes)
{
    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
    QList<QStringList> rows;
    const bool parsed = csv_parse(&parser, bytes.constData(), size_t(bytes.size()), onField, onRowEnd, &rows)
                            == size_t(bytes.size())
                        && csv_fini(&parser, onField, onRowEnd, &rows) == 0;
    csv_free(&parser);
    if (!rows.isEmpty() && rows.last().isEmpty())
        rows.removeLast();
    return parsed ? rows : QList<QStringList>();
}

QString pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class RecordWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(script.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))); }

    void filterAndDateRange_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("fromDay");
        QTest::addColumn<int>("toDay");
        QTest::addColumn<QStringList>("places"); // newest first
        QTest::newRow("all") << "" << 1 << 9 << QStringList{"前台", "仓库", "东门"};
        QTest::newRow("a place") << "东门" << 1 << 9 << QStringList{"东门"};
        QTest::newRow("a link, in any case") << "TTYusb" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("a firmware") << "3.0" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("the default link by its words") << "默认" << 1 << 9 << QStringList{"前台"};
        QTest::newRow("nothing matches") << "北门" << 1 << 9 << QStringList();
        QTest::newRow("from a day on") << "" << 5 << 9 << QStringList{"前台", "仓库"};
        QTest::newRow("up to a day, that day too") << "" << 1 << 5 << QStringList{"仓库", "东门"};
        QTest::newRow("one day") << "" << 9 << 9 << QStringList{"前台"};
        QTest::newRow("text and dates") << "TRVO" << 2 << 9 << QStringList{"仓库"};
        QTest::newRow("a result, in the viewer's words") << "失败" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("a failure's cause") << "没有应答" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("a result without a cause") << "未知" << 1 << 9 << QStringList{"前台"};
        QTest::newRow("a failure's words and cause together") << "败：没有" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("a kind") << "保存" << 1 << 9 << QStringList{"前台", "仓库", "东门"};
        QTest::newRow("a time as shown") << "03-05 10:00" << 1 << 9 << QStringList{"仓库"};
        QTest::newRow("a wildcard is a character") << "%" << 1 << 9 << QStringList();
    }

    void filterAndDateRange()
    {
        QFETCH(QString, typed);
        QFETCH(int, fromDay);
        QFETCH(int, toDay);
        QFETCH(QStringList, places);
        fillStore();
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        // The range opens on every record.
        QCOMPARE(formChild<QDateEdit>(*records, "fromField")->date(), QDate(2026, 3, 1));
        QCOMPARE(column(*records, RecordTable::Place).size(), 3);
        formChild<QDateEdit>(*records, "fromField")->setDate(QDate(2026, 3, fromDay));
        formChild<QDateEdit>(*records, "toField")->setDate(QDate(2026, 3, toDay));
        formChild<QLineEdit>(*records, "filterField")->setText(typed);
        // Applied once typing pauses.
        QTRY_COMPARE(column(*records, RecordTable::Place), places);
    }

    // A click on a column's header orders the rows by it: the time by the
    // time itself, the others by their text.
    void sortsByEveryColumn_data()
    {
        QTest::addColumn<int>("sortBy");
        QTest::addColumn<QStringList>("places"); // in ascending order
        QTest::newRow("time") << int(RecordTable::Time) << QStringList{"东门", "仓库", "前台"};
        QTest::newRow("place") << int(RecordTable::Place) << QStringList{"东门", "仓库", "前台"};
        QTest::newRow("link") << int(RecordTable::Link) << QStringList{"仓库", "东门", "前台"};
        QTest::newRow("firmware") << int(RecordTable::Firmware) << QStringList{"前台", "东门", "仓库"};
        QTest::newRow("result") << int(RecordTable::Result) << QStringList{"仓库", "东门", "前台"};
    }

    void sortsByEveryColumn()
    {
        QFETCH(int, sortBy);
        QFETCH(QStringList, places);
        fillStore();
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        QHeaderView *header = formChild<QTableView>(*records, "recordTable")->horizontalHeader();
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(sortBy) + 5, header->height() / 2));
            QCOMPARE(header->sortIndicatorSection(), sortBy);
            QStringList expected = places;
            if (header->sortIndicatorOrder() == Qt::DescendingOrder)
                std::reverse(expected.begin(), expected.end());
            QCOMPARE(column(*records, RecordTable::Place), expected);
        }
    }

    // Nothing selected: every shown row; a selection: those rows alone.
    void exportsReadBack()
    {
        fillStore(kTrickyPlace);
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        QTemporaryDir dir;
        QVERIFY(records->exportCsv(dir.filePath("all.csv")));
        QFile file(dir.filePath("all.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QVERIFY(!bytes.replace("\r\n", "").contains('\r'));
        const QList<QStringList> rows = parsedCsv(file.seek(3) ? file.readAll() : QByteArray());
        QCOMPARE(rows.size(), 4);
        // The report's columns, the changes and the hash.
        QCOMPARE(rows[0], (QStringList{"时间", "位置", "连接", "固件", "结果", "读卡器系列", "输出方式", "记录",
                                       "改动", "SHA-256"}));
        QCOMPARE(rows[1].mid(0, 7),
                 (QStringList{"2026-03-09 10:00:00", "前台", "（默认连接）", "'=1+2", "未知", "WT系列", "韦根"}));
        QCOMPARE(rows[2][4], QStringLiteral("失败：没有应答"));
        QCOMPARE(rows[3][1], kTrickyPlace);
        QCOMPARE(rows[3][8], QStringLiteral("扫码前缀：TV- → 记录\n蜂鸣器：☑ → ☐"));

        clickRow(*records, 2);
        QVERIFY(records->exportPdf(dir.filePath("one.pdf")));
        const QString text = pdfText(dir.filePath("one.pdf"));
        for (const char *expected : {"3号楼", "东\"门", "二层", "tcp:10.0.0.5:9000", "TRVO2.3.4",
                                     "2026-03-0110:00:00", "已确认", "WT系列", "韦根"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
        QVERIFY2(!text.contains("仓库") && !text.contains("前台"), qPrintable(text));

        // A failed write says why and leaves no file.
        MessageBoxAnswerer answerer;
        QVERIFY(!records->exportCsv(dir.filePath("missing/all.csv")));
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY(!QFileInfo::exists(dir.filePath("missing/all.csv")));
    }

    // A cause kept as data reads in the viewer's language, whatever the
    // language of the save: in the list, the details, the filter and the CSV.
    void causeInTheViewersLanguage_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("english"); // as the list shows it, on one line
        QTest::newRow("refused") << "refused_password" << QStringList()
                                 << "The reader refused the configuration: wrong configuration password";
        QTest::newRow("a link's, with the system's reason")
            << "timeout" << QStringList{"tcp: no reply"} << "did not answer in time. tcp: no reply";
        QTest::newRow("a setting read back otherwise")
            << "read_back_differs" << QStringList{"prefix", "TV-", "X-"} << "(Scan prefix prefix: TV- → X-)";
    }

    void causeInTheViewersLanguage()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, args);
        QFETCH(QString, english);
        removeStore();
        records::Record record;
        record.time = QDateTime(QDate(2026, 3, 1), QTime(10, 0));
        record.result = records::Record::Failed;
        record.cause = QStringLiteral("保存时的原因");
        record.causeParts = {{code, args}};
        QVERIFY(!records::Store(records::defaultPath()).append(record));
        QVERIFY(installLanguage(Language::English));
        const auto chinese = qScopeGuard([] { installLanguage(Language::Chinese); });
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        QVERIFY2(column(*records, RecordTable::Result).value(0).contains(english),
                 qPrintable(column(*records, RecordTable::Result).value(0)));
        clickRow(*records, 0);
        const QString details = formChild<QPlainTextEdit>(*records, "detailView")->toPlainText();
        QVERIFY2(details.simplified().contains(english), qPrintable(details));

        // The filter finds the words shown, not those of the save.
        QLineEdit *filter = formChild<QLineEdit>(*records, "filterField");
        filter->setText(record.cause);
        QTRY_VERIFY(column(*records, RecordTable::Result).isEmpty());
        filter->setText(english);
        QTRY_COMPARE(column(*records, RecordTable::Result).size(), 1);

        QTemporaryDir dir;
        QVERIFY(records->exportCsv(dir.filePath("all.csv")));
        QFile file(dir.filePath("all.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QStringList> rows = parsedCsv(file.readAll().mid(3));
        QVERIFY2(rows.value(1).value(4).simplified().contains(english), qPrintable(rows.value(1).join('|')));
    }

    // Every word of a record reads in the viewer's language, whatever the
    // language of the save: the table's headers, the CSV's header, changes
    // and cause, and the handover report's with its count of records.
    void reportInTheViewersLanguage_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("headers");
        QTest::addColumn<QString>("csv"); // header, then the record but its hash
        QTest::addColumn<QString>("pdf"); // words in the report, blanks removed, no "fi"
        QTest::newRow("Chinese") << false << "时间|记录|位置|连接|固件|结果"
                                 << "时间|位置|连接|固件|结果|读卡器系列|输出方式|记录|改动|SHA-256|"
                                    "2026-03-01 10:00:00|gate|tcp:10.0.0.5:9000|TRVO 2.3.4|"
                                    "失败：读卡器在规定时间内没有应答。\\nno reply|WT系列|韦根|保存|"
                                    "扫码前缀：TV- → X-\\n设备号：1 → 2"
                                 << "读卡器配置交接单|导出，共1条|时间位置连接固件结果|第1页";
        QTest::newRow("English")
            << true << "Time|Kind|Place|Link|Firmware|Result"
            << "Time|Place|Link|Firmware|Result|Reader series|Output channel|Kind|Changes|"
               "SHA-256|2026-03-01 10:00:00|gate|tcp:10.0.0.5:9000|TRVO 2.3.4|"
               "failed: The reader did not answer in time.\\nno reply|WT series|Wiegand|Save|"
               "Scan prefix: TV- → X-\\nDevice ID: 1 → 2"
            << "handover|,1record|TimePlaceLinkFirmwareResult|Page1";
    }

    void reportInTheViewersLanguage()
    {
        QFETCH(bool, english);
        QFETCH(QString, headers);
        QFETCH(QString, csv);
        QFETCH(QString, pdf);
        removeStore();
        records::Record record;
        record.time = QDateTime(QDate(2026, 3, 1), QTime(10, 0));
        record.place = QStringLiteral("gate");
        record.link = QStringLiteral("tcp:10.0.0.5:9000");
        record.firmware = QStringLiteral("TRVO 2.3.4");
        record.result = records::Record::Failed;
        record.cause = QStringLiteral("保存时的原因");
        record.causeParts = {{QStringLiteral("timeout"), {QStringLiteral("no reply")}}};
        record.keyChanges = {{"prefix", "TV-", "X-"}, {"devnum", "1", "2"}};
        record.series = QStringLiteral("tarvo_WT");
        record.channel = QStringLiteral("weigenOut");
        QVERIFY(!records::Store(records::defaultPath()).append(record));
        QVERIFY(installLanguage(english ? Language::English : Language::Chinese));
        const auto chinese = qScopeGuard([] { installLanguage(Language::Chinese); });
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        const QAbstractItemModel *shown = formChild<QTableView>(*records, "recordTable")->model();
        QStringList shownHeaders;
        for (int section = 0; section < shown->columnCount(); ++section)
            shownHeaders << shown->headerData(section, Qt::Horizontal).toString();
        QCOMPARE(shownHeaders.join('|'), headers);

        QTemporaryDir dir;
        QVERIFY(records->exportCsv(dir.filePath("all.csv")));
        QFile file(dir.filePath("all.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QStringList> rows = parsedCsv(file.readAll().mid(3));
        QCOMPARE(rows.size(), 2);
        QCOMPARE((rows[0] + rows[1].mid(0, 9)).join('|').replace("\n", "\\n"), csv);

        QVERIFY(records->exportPdf(dir.filePath("all.pdf")));
        const QString text = pdfText(dir.filePath("all.pdf"));
        const QStringList cells = csv.split('|');
        for (const QString &words : pdf.split('|') + cells.mid(10, 3) + cells.mid(15, 2))
            QVERIFY2(text.contains(QString(words).remove(' ')), qPrintable(words + " in " + text));
        QVERIFY2(!text.contains("1records"), qPrintable(text));
        QVERIFY2(!english || !text.contains(QRegularExpression("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]")),
                 qPrintable(text));
    }

    // Many records, read a page at a time as the view needs them, pass Qt's
    // model checks as they are fetched, sorted and filtered; the report of
    // them holds every row on as many pages as it numbers.
    void manyRecords()
    {
        removeStore();
        records::Store store(records::defaultPath());
        constexpr int kMany = 700;
        for (int i = 0; i < kMany; ++i) {
            records::Record record;
            record.time = QDateTime(QDate(2026, 3, 1), QTime(8, 0)).addSecs(i * 60);
            record.link = QStringLiteral("tcp:127.0.0.1:%1").arg(10000 + i);
            record.place = i % 7 ? QStringLiteral("仓库") : QStringLiteral("东门");
            record.result = records::Record::Confirmed;
            QVERIFY(!store.append(record));
        }
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        QAbstractItemModel *shown = formChild<QTableView>(*records, "recordTable")->model();
        QVERIFY(shown->rowCount() < kMany);
        QAbstractItemModelTester tester(shown, QAbstractItemModelTester::FailureReportingMode::QtTest);
        while (shown->canFetchMore(QModelIndex()))
            shown->fetchMore(QModelIndex());
        QCOMPARE(shown->rowCount(), kMany);
        QCOMPARE(shown->index(0, RecordTable::Link).data().toString(), QStringLiteral("tcp:127.0.0.1:10699"));
        formChild<QTableView>(*records, "recordTable")->sortByColumn(RecordTable::Link, Qt::AscendingOrder);
        QCOMPARE(shown->index(0, RecordTable::Link).data().toString(), QStringLiteral("tcp:127.0.0.1:10000"));
        formChild<QLineEdit>(*records, "filterField")->setText(QStringLiteral("东门"));
        QTRY_COMPARE(shown->rowCount(), (kMany + 6) / 7);

        formChild<QLineEdit>(*records, "filterField")->clear();
        QTemporaryDir dir;
        QVERIFY(records->exportPdf(dir.filePath("many.pdf")));
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {dir.filePath("many.pdf")});
        QVERIFY(info.waitForFinished(30000));
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                                  .match(QString::fromUtf8(info.readAllStandardOutput()));
        QVERIFY(pages.hasMatch() && pages.captured(1).toInt() > 1);
        const QString text = pdfText(dir.filePath("many.pdf"));
        QVERIFY2(text.contains(QStringLiteral("第%1页").arg(pages.captured(1))), qPrintable(pages.captured(1)));
        QVERIFY(!text.contains(QStringLiteral("第%1页").arg(pages.captured(1).toInt() + 1)));
        for (int i = 0; i < kMany; ++i)
            QVERIFY2(text.contains(QStringLiteral("tcp:127.0.0.1:%1").arg(10000 + i)),
                     qPrintable(QString::number(i)));
    }

    // A report that cannot be made says why and leaves no file.
    void reportThatCannotBeMade()
    {
        fillStore();
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        // Another program puts a damaged copy in the store's place.
        QFile damaged(records::defaultPath() + ".copy");
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(QByteArray(8192, 'x')) == 8192);
        damaged.close();
        removeStore();
        QVERIFY(damaged.rename(records::defaultPath()));
        QTemporaryDir dir;
        MessageBoxAnswerer answerer;
        QString why;
        answerer.onSeen([&why](QMessageBox *box) { why = box->text() + box->informativeText(); });
        QVERIFY(!records->exportPdf(dir.filePath("report.pdf")));
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY2(why.contains(QStringLiteral("not a database")), qPrintable(why));
        QVERIFY(!QFileInfo::exists(dir.filePath("report.pdf")));
    }

    // The site's state: one row a reader, its latest save or check in the
    // range, with the place and firmware its earlier records gave; every
    // record in the other view; the handover report as the view shows it.
    void siteState_data()
    {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("toDay");
        QTest::addColumn<QStringList>("rows"); // link port, kind, place, firmware, result; newest first
        const QString checkedB = "9002 检查 仓库 TRVO 3.0 失败：没有应答";
        const QString checkedA = "9001 检查 东门 TRVO 2.3 已确认";
        const QString failedC = "9003 保存 前台  失败：没有应答";
        QTest::newRow("every reader's latest") << 0 << "" << 9 << QStringList{checkedB, checkedA, failedC};
        QTest::newRow("as it stood on the 3rd")
            << 0 << "" << 3
            << QStringList{"9002 保存 仓库 TRVO 3.0 已确认", failedC, "9001 保存 东门 TRVO 2.3 已确认"};
        QTest::newRow("readers last checked") << 0 << "检查" << 9 << QStringList{checkedB, checkedA};
        QTest::newRow("every record") << 1 << "9001" << 9
                                      << QStringList{"9001 检查   已确认", "9001 保存 东门 TRVO 2.3 已确认",
                                                     "9001 保存 东门 TRVO 2.3 失败：没有应答"};
    }

    void siteState()
    {
        QFETCH(int, view);
        QFETCH(QString, typed);
        QFETCH(int, toDay);
        QFETCH(QStringList, rows);
        fillSite();
        Widget window;
        RecordWindow *records = openRecords(window);
        QVERIFY(records);
        QComboBox *views = formChild<QComboBox>(*records, "viewChooser");
        QCOMPARE(views->currentIndex(), 0);
        QAbstractItemModelTester tester(formChild<QTableView>(*records, "recordTable")->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        views->setCurrentIndex(view);
        formChild<QDateEdit>(*records, "toField")->setDate(QDate(2026, 3, toDay));
        formChild<QLineEdit>(*records, "filterField")->setText(typed);
        QTRY_COMPARE(siteRows(*records), rows);

        QTemporaryDir dir;
        QVERIFY(records->exportPdf(dir.filePath("handover.pdf")));
        const QString text = pdfText(dir.filePath("handover.pdf"));
        QCOMPARE(text.count(QStringLiteral("127.0.0.1:")), rows.size());
    }

    // Opening a record is opening a file: the same refusal, and a form left
    // as it was when refused.
    void openThisConfiguration_data()
    {
        QTest::addColumn<QByteArray>("configuration");
        QTest::addColumn<QString>("refusal"); // empty: opens
        QTest::newRow("a saved configuration")
            << configurationOf([](config::FormValue &value) { value.linePrefix = QStringLiteral("记录-前缀"); })
            << "";
        QTest::newRow("a value the form cannot show")
            << QByteArray("___TRVO_CONFIG_V1.1.0___{ochannel=2,brightness=999}\n") << "brightness=999 无法载入";
        QTest::newRow("no UTF-8") << QByteArray("___TRVO_CONFIG_V1.1.0___{prefix='\xff'}\n") << "不是 UTF-8 文本";
        QTest::newRow("too large") << QByteArray(config::kMaxConfigFileBytes + 1, 'x') << "大于 64 KiB";
    }

    void openThisConfiguration()
    {
        QFETCH(QByteArray, configuration);
        QFETCH(QString, refusal);
        removeStore();
        records::Record record;
        record.time = QDateTime::currentDateTime();
        record.configuration = configuration;
        QVERIFY(!records::Store(records::defaultPath()).append(record));

        Widget window;
        WidgetProbe probe(window);
        const config::FormValue before = binding::read(probe.form());
        RecordWindow *records = openRecords(window);
        QVERIFY(records && !formChild<QPushButton>(*records, "openButton")->isEnabled());
        clickRow(*records, 0);
        QVERIFY(formChild<QPlainTextEdit>(*records, "detailView")->toPlainText().contains("配置："));
        MessageBoxAnswerer answerer;
        QTest::mouseClick(formChild<QPushButton>(*records, "openButton"), Qt::LeftButton);
        const config::FormValue after = binding::read(probe.form());
        if (refusal.isEmpty()) {
            QCOMPARE(answerer.summary(), QStringList());
            QCOMPARE(after.linePrefix, QStringLiteral("记录-前缀"));
            return;
        }
        QCOMPARE(answerer.seen().size(), 1);
        QVERIFY2(answerer.seen()[0].text.contains(refusal), qPrintable(answerer.seen()[0].text));
        QVERIFY(after == before);
    }

private:
    ScriptDir script;
};

QTEST_MAIN(RecordWindowTest)
#include "test_record_window.moc"
