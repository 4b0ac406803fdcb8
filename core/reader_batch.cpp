#include "core/reader_batch.h"

#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "core/save_records.h"
#include "device/device_link.h"
#include "device/reader_links.h"
#include "trvo/trvo.h"

namespace {

// What the save would change on the reader; nothing when its configuration
// could not be read or compared, which the save then meets and reports.
std::optional<std::vector<config::KeyDifference>> changesBefore(device::Session &reader,
                                                                const QString &signedText)
{
    const std::optional<QByteArray> held = reader.readConfig();
    if (!held)
        return std::nullopt;
    config::ReaderChanges changes = config::changesOnReader(signedText.toUtf8(), *held);
    if (changes.failure)
        return std::nullopt;
    return std::move(changes.keys);
}

// Calls work for every link, at most jobs at once, each on a thread of its
// own, and returns when all that were started have finished.
void forEachLink(const QStringList &links, int jobs, const std::function<void(const QString &link)> &work,
                 const std::atomic<bool> *stopping)
{
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int i = next++; i < links.size() && !(stopping && *stopping); i = next++)
            work(links.at(i));
    };
    std::vector<std::thread> workers;
    for (int k = 0; k < std::min(jobs, int(links.size())); ++k)
        workers.emplace_back(worker);
    for (std::thread &thread : workers)
        thread.join();
}

} // namespace

ReaderResult saveToReader(const QString &link, const QString &signedText, BeforeSave before)
{
    QElapsedTimer clock;
    clock.start();
    ReaderResult result{link, {}, std::nullopt, 0, std::nullopt, false};
    device::Session reader;
    if (!reader.open(link)) {
        result.report = reported(SaveReport::Failed, linkFailureCause(reader.failure()), true);
    } else if (!(result.changes = changesBefore(reader, signedText))) {
        // Without the reader's own text no record could say what the save
        // changed there: such a reader is not written.
        const device::LinkFailure failure = reader.failure();
        Cause cause{{QStringLiteral("not_written"), {}}};
        for (records::CausePart &link : linkFailureCause(failure))
            cause.push_back(std::move(link));
        result.report = reported(SaveReport::Failed, cause, failure.cause != TRVO_CAUSE_BAD_REPLY);
    } else {
        // A new password is a change that no reader's text shows.
        result.unchanged =
            before == BeforeSave::SkipUnchanged && result.changes->empty() && !changesPassword(signedText);
        result.report =
            result.unchanged ? SaveReport{SaveReport::Saved, QString()} : saveVerified(reader, signedText);
        // A reader that answered the save is asked which firmware it runs;
        // one that is gone costs no further wait.
        if (!result.report.readerGone && result.report.outcome != SaveReport::Unknown)
            result.firmware = reader.readVersion();
    }
    result.seconds = double(clock.nsecsElapsed()) / 1e9;
    return result;
}

void forEachLinkReported(const QStringList &links, int jobs,
                         const std::function<std::function<void()>(const QString &link)> &work,
                         const std::atomic<bool> *stopping)
{
    std::mutex lock;
    std::condition_variable reported;
    std::deque<std::function<void()>> reports;
    bool finished = false;
    std::thread working([&] {
        forEachLink(
            links, jobs,
            [&](const QString &link) {
                std::function<void()> report = work(link);
                const std::lock_guard<std::mutex> held(lock);
                reports.push_back(std::move(report));
                reported.notify_one();
            },
            stopping);
        const std::lock_guard<std::mutex> held(lock);
        finished = true;
        reported.notify_one();
    });
    for (;;) {
        std::unique_lock<std::mutex> held(lock);
        reported.wait(held, [&] { return finished || !reports.empty(); });
        if (reports.empty())
            break;
        const std::function<void()> report = std::move(reports.front());
        reports.pop_front();
        held.unlock();
        report();
    }
    working.join();
}

ReaderBatch::ReaderBatch(const QStringList &links, const QString &signedText, int jobs, BeforeSave before)
    : ReaderBatch(links, QHash<QString, QString>(), jobs, before)
{
    for (const QString &link : links)
        signedTexts.insert(link, signedText);
}

ReaderBatch::ReaderBatch(const QStringList &links, QHash<QString, QString> signedTexts, int jobs,
                         BeforeSave before)
    : links(links), signedTexts(std::move(signedTexts)), jobs(std::clamp(jobs, 1, kMostJobs)), before(before)
{}

void ReaderBatch::run(const std::function<void(const ReaderResult &)> &done,
                      const std::function<void(const QString &link)> &started)
{
    forEachLinkReported(
        links, jobs,
        [&](const QString &link) -> std::function<void()> {
            if (started)
                started(link);
            return [&done, result = saveToReader(link, signedTexts.value(link), before)] { done(result); };
        },
        &stopping);
}
