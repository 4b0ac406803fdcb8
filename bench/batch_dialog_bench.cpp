// Times 批量写入 in the window against 1, 10, 50 and 100 simulated readers
// over loopback TCP: from the click on 写入 to the dialog's summary, with
// the rows of the site checked and the rest not. Each simulator keeps its
// state in memory (/dev/shm where there is one), as a reader its flash,
// while the records go to a data folder of the bench's own on disk.
#include <QAbstractItemModel>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <vector>

#include "batchwrite/batch_rows.h"
#include "batchwrite/batch_write_dialog.h"
#include "bench_support.h"
#include "records/record_store.h"
#include "support/form_setup.h"
#include "support/reader_sim.h"

namespace {

const int kRuns = 5;
const int kSites[] = {1, 10, 50, 100};

QAbstractItemModel *rowsOf(QWidget &dialog)
{
    return formChild<QTableView>(dialog, "readerTable")->model();
}

// Checks the rows of the first `count` links and no other.
void checkFirst(QWidget &dialog, const QStringList &links, int count)
{
    QAbstractItemModel *rows = rowsOf(dialog);
    for (int row = 0; row < rows->rowCount(); ++row) {
        const QModelIndex cell = rows->index(row, BatchRows::LinkColumn);
        const int at = int(links.indexOf(cell.data().toString()));
        rows->setData(cell, at >= 0 && at < count ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
    }
}

// One write of the checked rows: the milliseconds from the click to the
// summary, or -1 when it did not end in a minute.
double timeWrite(QWidget &dialog)
{
    QLabel *status = formChild<QLabel>(dialog, "statusLine");
    status->clear();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(formChild<QPushButton>(dialog, "writeButton"), Qt::LeftButton);
    while (!status->text().startsWith(QStringLiteral("写入结束"))) {
        if (clock.elapsed() > 60000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

int holding(const std::vector<std::unique_ptr<ReaderSim>> &sims, int count)
{
    int held = 0;
    for (int i = 0; i < count; ++i) {
        QFile state(sims[std::size_t(i)]->statePath());
        held += state.open(QIODevice::ReadOnly) && state.readAll().contains("AB");
    }
    return held;
}

// The window with its dialog open on every simulator, or null.
QWidget *openDialog(Widget &window, const QStringList &links)
{
    window.show();
    if (!QTest::qWaitForWindowActive(&window))
        return nullptr;
    fillForm(window, {QStringLiteral("manpw=Tarvo#Factory#16"), QStringLiteral("linePrefix=AB")});
    QTest::keyClick(&window, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
    auto *dialog = window.findChild<BatchWriteDialog *>();
    if (!dialog)
        return nullptr;
    formChild<QLineEdit>(*dialog, "addressField")->setText(links.join(QLatin1Char(' ')));
    QTest::mouseClick(formChild<QPushButton>(*dialog, "addButton"), Qt::LeftButton);
    return dialog;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir data;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", data.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    if (QDir(QStringLiteral("/dev/shm")).isReadable())
        qputenv("TMPDIR", "/dev/shm");
    BenchApplication app(argc, argv);
    std::vector<std::unique_ptr<ReaderSim>> sims;
    QStringList links;
    for (int i = 0; i < kSites[std::size(kSites) - 1]; ++i) {
        sims.push_back(std::make_unique<ReaderSim>());
        if (!sims.back()->start({QStringLiteral("--no-pty")})) {
            std::fprintf(stderr, "simulator %d did not start\n", i);
            return 1;
        }
        links << sims.back()->tcpSetting();
    }
    Widget window;
    QWidget *dialog = openDialog(window, links);
    if (!dialog) {
        std::fprintf(stderr, "批量写入 did not open\n");
        return 1;
    }
    std::printf("%s\n\n", qPrintable(machineSummary()));
    std::printf(
        "| site (median of %d) | 写入 to summary (ms) | × one reader | readers holding it | records kept |\n",
        kRuns);
    std::printf("|---|---:|---:|---:|---:|\n");
    double one = 0;
    for (const int count : kSites) {
        checkFirst(*dialog, links, count);
        QDir(data.filePath(QStringLiteral("data"))).removeRecursively();
        QVector<double> times;
        for (int run = 0; run < kRuns; ++run)
            times << timeWrite(*dialog);
        const double middle = median(times);
        if (count == 1)
            one = middle;
        qint64 kept = -1;
        records::Store(records::defaultPath()).count(records::Selection(), &kept);
        std::printf("| %d simulators | %.0f | %.2f | %d of %d | %lld of %d |\n", count, middle, middle / one,
                    holding(sims, count), count, static_cast<long long>(kept), count * kRuns);
    }
    return 0;
}
