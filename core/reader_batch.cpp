#include "core/reader_batch.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "core/save_records.h"
#include "core/wording.h"
#include "device/device_link.h"
#include "device/reader_links.h"
#include "trvo/trvo.h"

ReaderResult saveToReader(const QString &link, const QString &signedText)
{
    QElapsedTimer clock;
    clock.start();
    ReaderResult result{link, {}, std::nullopt, 0, {}};
    device::Session reader;
    const std::optional<QByteArray> before = reader.open(link) ? reader.readConfig() : std::nullopt;
    if (!before) {
        const device::LinkFailure failure = reader.failure();
        result.report = {SaveReport::Failed,
                         QCoreApplication::translate("ReaderBatch", "未能读取读卡器的配置，没有写入：%1")
                             .arg(linkFailureText(failure)),
                         failure.cause != TRVO_CAUSE_BAD_REPLY};
    } else {
        result.changes = changesOnReader(signedText.toUtf8(), *before);
        result.report = saveVerified(reader, signedText);
        // A reader that answered the save is asked which firmware it runs;
        // one that is gone costs no further wait.
        if (!result.report.readerGone && result.report.outcome != SaveReport::Unknown)
            result.firmware = reader.readVersion();
    }
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

ReaderBatch::ReaderBatch(const QStringList &links, const QString &signedText, int jobs)
    : links(links), signedText(signedText), jobs(std::clamp(jobs, 1, kMostJobs))
{
}

void ReaderBatch::run(const std::function<void(const ReaderResult &)> &done,
                      const std::function<void(const QString &link)> &started)
{
    std::atomic<int> next{0};
    std::mutex reporting;
    auto work = [&] {
        for (int i = next++; i < links.size() && !stopping; i = next++) {
            if (started)
                started(links.at(i));
            const ReaderResult result = saveToReader(links.at(i), signedText);
            const std::lock_guard<std::mutex> one(reporting);
            done(result);
        }
    };
    std::vector<std::thread> workers;
    for (int k = 0; k < std::min(jobs, int(links.size())); ++k)
        workers.emplace_back(work);
    for (std::thread &worker : workers)
        worker.join();
}
