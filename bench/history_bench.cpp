// tarvo-config --history over 1000 and over 100 000 saves: whole-process
// time (median of 5 runs) and peak memory, printed lines and CSV. The
// record is read as it is printed, so the peak should not grow with it.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include "bench_support.h"
#include "records/record_store.h"

namespace {

constexpr int kRuns = 5;

void fillStore(const QString &path, int count)
{
    records::Store store(path);
    for (int i = 0; i < count; ++i) {
        records::Record record;
        record.time = QDateTime::currentDateTimeUtc().addSecs(-qint64(i) * 864);
        record.place = QStringLiteral("3号楼 东门 %1").arg(i / 5);
        record.link = QStringLiteral("tcp:10.0.%1.%2:9000").arg(i / 250 % 256).arg(i % 250);
        record.firmware = QStringLiteral("TRVO 2.%1.%2").arg(i % 3).arg(i % 7);
        record.result = i % 10 == 0 ? records::Record::Failed : records::Record::Confirmed;
        record.cause = i % 10 == 0 ? QStringLiteral("读卡器没有应答") : QString();
        record.keyChanges = {{"prefix", "TV-", QStringLiteral("门禁-%1").arg(i)}, {"beep", "1", "0"}};
        record.configuration = QStringLiteral("___TRVO_CONFIG_V1.1.0___{ochannel=8,prefix='门禁-%1',postfix='XY',"
                                              "s_mode=0,interval=300,brightness=200,decoder=3,beepd=30}\n")
                                   .arg(i)
                                   .toUtf8()
                               + QByteArray(400, 'c');
        if (const std::optional<QString> failure = store.append(record))
            std::printf("append failed: %s\n", qPrintable(*failure));
    }
}

// The median time in ms and the peak memory in KiB of the command.
std::pair<double, long> measure(const QString &program, const QString &data, const QStringList &options)
{
    QVector<double> times;
    long peak = 0;
    for (int run = 0; run < kRuns; ++run) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        process.setProcessEnvironment(env);
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        process.start(QStringLiteral("/usr/bin/time"), QStringList{"-f", "%M", program, "--history"} + options);
        process.waitForFinished(-1);
        times << clock.nsecsElapsed() / 1e6;
        peak = std::max(peak,
                        QString::fromLatin1(process.readAllStandardError()).trimmed().section('\n', -1).toLong());
    }
    return {median(times), peak};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString program = app.arguments().value(1);
    std::printf("%s\n", qPrintable(machineSummary()));
    std::printf("| `--history` (median of %d) | records | ms | peak memory (KiB) |\n|---|---:|---:|---:|\n",
                kRuns);
    for (int count : {1000, 100000}) {
        QTemporaryDir data;
        fillStore(QDir(data.path()).filePath(QStringLiteral("tarvo-config/records.sqlite")), count);
        for (const QStringList &options : {QStringList(), QStringList{"--csv"}}) {
            const auto [ms, peak] = measure(program, data.path(), options);
            std::printf("| %s | %d | %.0f | %ld |\n", options.isEmpty() ? "lines" : "--csv", count, ms, peak);
        }
    }
    return 0;
}
