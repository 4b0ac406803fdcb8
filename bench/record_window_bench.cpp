// The record window over a site's worth of saves (100 000 unless the first
// argument says): how long the store takes to fill, how large its file
// grows, how long the window takes to open (read the first page, build the
// table, show it) and how much memory that adds, to open again over its
// shown self, to filter by typed text (found and not found, in the site's
// state and among every record) and by a date range, to export every
// row as CSV, and the newest 10 000 as a PDF. Median of 11 runs.
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench_support.h"
#include "config/config_file.h"
#include "records/record_store.h"
#include "recordwindow/record_window.h"
#include "window/widget.h"

namespace {

constexpr int kRuns = 11;
constexpr int kPdfRows = 10000;
int kRecords = 100000;
// Saves are this far apart, newest first.
constexpr qint64 kSpacingSecs = 864;

const char *const kPlaces[] = {"3号楼 东门", "3号楼 西门", "地下车库 入口", "食堂 收银台", "前台"};

// Saves as the window writes them: each a reader of its own, most confirmed,
// over ten days.
qint64 fillStore(const QString &path)
{
    records::Store store(path);
    config::FormValue value = config::startValue();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRecords; ++i) {
        records::Record record;
        record.time = QDateTime::currentDateTimeUtc().addSecs(-qint64(i) * kSpacingSecs);
        record.place = QString::fromUtf8(kPlaces[i % 5]) + QStringLiteral(" %1").arg(i / 5);
        record.link = QStringLiteral("tcp:10.0.%1.%2:9000").arg(i / 250).arg(i % 250);
        record.firmware = QStringLiteral("TRVO 2.%1.%2").arg(i % 3).arg(i % 7);
        record.result = i % 10 == 0 ? records::Record::Failed : records::Record::Confirmed;
        record.cause = i % 10 == 0 ? QStringLiteral("读卡器没有应答") : QString();
        record.changes = QStringLiteral("扫码前缀：TV- → 门禁-%1\n蜂鸣器：☑ → ☐").arg(i);
        record.series = QStringLiteral("tarvo_ZB");
        value.linePrefix = QStringLiteral("门禁-%1").arg(i);
        record.configuration = config::fileContents(value).bytes;
        record.channel = QStringLiteral("keyboardOut");
        if (const std::optional<QString> failure = store.append(record))
            std::printf("append failed: %s\n", qPrintable(*failure));
    }
    return clock.elapsed();
}

double medianMs(const std::function<void()> &prepare, const std::function<void()> &work)
{
    QVector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        QApplication::processEvents();
        times << clock.nsecsElapsed() / 1e6;
    }
    return median(times);
}

// The resident memory of this process, in MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

qint64 storeBytes(const QString &path)
{
    qint64 bytes = 0;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        bytes += QFileInfo(path + suffix).size();
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    BenchApplication app(argc, argv);
    if (argc > 1)
        kRecords = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());
    // The PDF names each reader's output channel through the shipped script.
    QDir::setCurrent(QStringLiteral(TARVO_BUILD_DIR));
    const QString path = records::defaultPath();
    const qint64 fillMs = fillStore(path);

    Widget window;
    window.show();
    QAction *opening = window.findChild<RecordWindowEntry *>()->findChild<QAction *>();
    const auto closeRecords = [&] { delete window.findChild<RecordWindow *>(QStringLiteral("recordWindow")); };
    const double before = residentMiB();
    opening->trigger();
    QApplication::processEvents();
    const double openMiB = residentMiB() - before;
    const double openMs = medianMs(closeRecords, [&] { opening->trigger(); });
    const double reopenMs = medianMs([] {}, [&] { opening->trigger(); });
    auto *records = window.findChild<RecordWindow *>(QStringLiteral("recordWindow"));
    const QAbstractItemModel *shown = records->findChild<QTableView *>(QStringLiteral("recordTable"))->model();
    QLineEdit *filter = records->findChild<QLineEdit *>(QStringLiteral("filterField"));
    QDateEdit *from = records->findChild<QDateEdit *>(QStringLiteral("fromField"));
    const int shownBefore = shown->rowCount();
    // The filter applies once typing pauses: timed from that moment, as the
    // pause's timer fires.
    QTimer *typing = records->findChild<QTimer *>();
    const auto filterMs = [&](const QString &typed) {
        return medianMs(
            [&] {
                filter->clear();
                QApplication::processEvents();
            },
            [&] {
                filter->setText(typed);
                QMetaObject::invokeMethod(typing, "timeout", Qt::DirectConnection);
            });
    };
    // Text that no row holds is the worst case: every row is looked at.
    const double foundMs = filterMs(QStringLiteral("东门"));
    const int shownByText = shown->rowCount();
    const double noneMs = filterMs(QStringLiteral("北门"));
    auto *views = records->findChild<QComboBox *>(QStringLiteral("viewChooser"));
    views->setCurrentIndex(1);
    const double everyFoundMs = filterMs(QStringLiteral("东门"));
    const double everyNoneMs = filterMs(QStringLiteral("北门"));
    views->setCurrentIndex(0);
    filter->clear();
    const QDate today = QDate::currentDate();
    const double datesMs =
        medianMs([&] { from->setDate(today.addDays(-10)); }, [&] { from->setDate(today.addDays(-3)); });
    const int shownByDates = shown->rowCount();
    from->setDate(today.addDays(-(qint64(kRecords) * kSpacingSecs / 86400 + 2)));
    QTemporaryDir out;
    QElapsedTimer csvClock;
    csvClock.start();
    records->exportCsv(out.filePath("all.csv"));
    const qint64 csvMs = csvClock.elapsed();
    from->setDate(today.addDays(-(kPdfRows * kSpacingSecs / 86400) + 1));
    QElapsedTimer pdfClock;
    pdfClock.start();
    records->exportPdf(out.filePath("all.pdf"));
    const qint64 pdfMs = pdfClock.elapsed();

    std::printf("%s\n", qPrintable(machineSummary()));
    std::printf("%d records stored in %lld ms; store file %.2f MiB (with its journal)\n", kRecords, fillMs,
                storeBytes(path) / 1048576.0);
    std::printf("| step (median of %d) | ms | rows shown |\n|---|---:|---:|\n", kRuns);
    std::printf("| open the window (Ctrl+H) | %.1f | %d (first page) |\n", openMs, shownBefore);
    std::printf("| open again over the shown window | %.1f | %d |\n", reopenMs, shownBefore);
    std::printf("| filter by typed text | %.1f | %d |\n", foundMs, shownByText);
    std::printf("| filter by typed text no row holds | %.1f | 0 |\n", noneMs);
    std::printf("| the same two in every record's view | %.1f, %.1f | %d, 0 |\n", everyFoundMs, everyNoneMs,
                shownByText);
    std::printf("| filter by date range | %.1f | %d |\n", datesMs, shownByDates);
    std::printf("| export CSV, every row (one run) | %lld | %d |\n", csvMs, kRecords);
    std::printf("| export PDF, the newest rows (one run) | %lld | about %d |\n", pdfMs, kPdfRows);
    std::printf("memory added by opening the window: %.1f MiB\n", openMiB);
    std::printf("CSV %.0f KiB, PDF %.0f KiB\n", QFileInfo(out.filePath("all.csv")).size() / 1024.0,
                QFileInfo(out.filePath("all.pdf")).size() / 1024.0);
    return 0;
}
