#include "readers/write_mode.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <thread>

#include <unistd.h>

#include "cli/output.h"
#include "config/assembly.h"
#include "core/reader_batch.h"
#include "core/save_records.h"
#include "device/reader_links.h"
#include "program/wording.h"
#include "readers/fleet_modes.h"

namespace {

// A reason on one line: the detail's lines joined, and no control
// character from a reader's reply left to steer the terminal.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    }
    return text.simplified();
}

const char *const kOutcomeWords[] = {"ok", "failed", "unknown"}; // by SaveReport::Outcome

// The reader's line: its link and outcome, and the reason unless it is saved.
QString resultLine(const ReaderResult &result)
{
    const QString outcome =
        result.unchanged ? QStringLiteral("unchanged") : QLatin1String(kOutcomeWords[result.report.outcome]);
    QString line = result.link + QLatin1Char(' ') + outcome;
    if (result.report.outcome != SaveReport::Saved)
        line += QStringLiteral(": ") + oneLine(result.report.detail);
    return line;
}

QString resultJson(const ReaderResult &result)
{
    const QString cause = oneLine(result.report.detail);
    QJsonObject object{
        {QStringLiteral("link"), result.link},
        {QStringLiteral("result"), QLatin1String(kOutcomeWords[result.report.outcome])},
        {QStringLiteral("cause"), cause.isEmpty() ? QJsonValue() : QJsonValue(cause)},
        {QStringLiteral("firmware"), result.firmware ? QJsonValue(oneLine(*result.firmware)) : QJsonValue()},
        {QStringLiteral("seconds"), qRound(result.seconds * 1000) / 1000.0},
    };
    fleet::addWriteFields(&object, result);
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A run ended by a signal exits as the shell expects of one killed by it.
constexpr int kSignalExitBase = 128;

// SIGINT and SIGTERM, while a batch runs, start no further reader: the
// handler only writes the signal's number into a pipe, and a thread of ours
// reads it there and stops the batch. A closed standard output is an error
// the prints report, not a signal that ends the run with readers half done.
class StopOnSignal
{
public:
    explicit StopOnSignal(ReaderBatch &batch)
    {
        if (::pipe(wake) != 0)
            return;
        writeEnd.store(wake[1]);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &oldInterrupt);
        ::sigaction(SIGTERM, &action, &oldTerminate);
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &oldPipe);
        watcher = std::thread([this, &batch] {
            char number = 0;
            while (::read(wake[0], &number, 1) < 0 && errno == EINTR) {
            }
            if (number != 0) {
                caught = number;
                batch.stop();
            }
        });
    }
    ~StopOnSignal()
    {
        if (!watcher.joinable())
            return;
        ::sigaction(SIGINT, &oldInterrupt, nullptr);
        ::sigaction(SIGTERM, &oldTerminate, nullptr);
        ::sigaction(SIGPIPE, &oldPipe, nullptr);
        writeEnd.store(-1);
        const char done = 0;
        (void)!::write(wake[1], &done, 1);
        watcher.join();
        ::close(wake[0]);
        ::close(wake[1]);
    }
    StopOnSignal(const StopOnSignal &) = delete;
    StopOnSignal &operator=(const StopOnSignal &) = delete;

    // The signal that stopped the batch; 0 when none did.
    int signal() const { return caught; }

private:
    static void onSignal(int number)
    {
        const int saved = errno;
        const char byte = char(number);
        const int end = writeEnd.load();
        if (end >= 0)
            (void)!::write(end, &byte, 1);
        errno = saved;
    }

    static std::atomic<int> writeEnd;
    int wake[2] = {-1, -1};
    std::thread watcher;
    std::atomic<int> caught{0};
    struct sigaction oldInterrupt = {};
    struct sigaction oldTerminate = {};
    struct sigaction oldPipe = {};
};

std::atomic<int> StopOnSignal::writeEnd{-1};

// Each target's signed text, by its link; the exit code when the targets
// could not be made or one's configuration is refused.
std::optional<int> signTargets(const fleet::Targets &targets, QHash<QString, QString> *texts)
{
    if (targets.problem)
        return targets.exitCode == 2 ? failed(*targets.problem) : refused(*targets.problem);
    for (const fleet::Target &target : targets.list) {
        const config::Assembly built = config::assemble(target.form);
        if (built.refusal)
            return refused(fleet::targetRefusal(target, refusalText(*built.refusal)));
        texts->insert(target.link, built.text);
    }
    return std::nullopt;
}

} // namespace

QString jobsOutOfRange()
{
    return QCoreApplication::translate("CommandLine", "--jobs 需要 1 到 %1 之间的数").arg(ReaderBatch::kMostJobs);
}

std::optional<QString> writeProblem(const QCommandLineParser &parser)
{
    bool number = false;
    const int jobs = parser.value(QStringLiteral("jobs")).toInt(&number);
    if (!number || jobs < 1 || jobs > ReaderBatch::kMostJobs)
        return jobsOutOfRange();
    if (const std::optional<QString> twice = device::sharedLink(parser.values(QStringLiteral("device"))))
        return QCoreApplication::translate("CommandLine", "%1 所指的读头已由前面的 --device 给出").arg(*twice);
    return std::nullopt;
}

// Saves to the readers side by side, a line (or a JSON object) for each on
// standard output as it finishes, and the count of each outcome on standard
// error. Each reader's record goes in as it ends, so that a run cut short
// by a closed output or a signal keeps the record of every reader it
// configured. Done only when every reader confirmed the configuration.
// Every reader's configuration (its row of the sheet on top of the form)
// is built before the first is written.
int writeToReaders(const ReaderArguments &arguments, const config::FormValue &form)
{
    const QCommandLineParser &parser = *arguments.parser;
    int counts[3] = {0, 0, 0}; // by SaveReport::Outcome
    bool allPrinted = true;
    const bool json = parser.isSet(QStringLiteral("json"));
    const fleet::Targets targets =
        fleet::targetsOf(form, parser.values(QStringLiteral("device")),
                         oneLine(parser.value(QStringLiteral("place"))), arguments.sheet);
    QHash<QString, QString> texts;
    if (const std::optional<int> stopped = signTargets(targets, &texts))
        return *stopped;
    QStringList links;
    QHash<QString, const fleet::Target *> byLink;
    for (const fleet::Target &target : targets.list) {
        links << target.link;
        byLink.insert(target.link, &target);
    }
    ReaderBatch batch(links, texts, parser.value(QStringLiteral("jobs")).toInt(),
                      parser.isSet(QStringLiteral("force")) ? BeforeSave::Compare : BeforeSave::SkipUnchanged);
    const StopOnSignal interruption(batch);
    batch.run([&](const ReaderResult &result) {
        ++counts[result.report.outcome];
        const fleet::Target &target = *byLink.value(result.link);
        // A record that cannot be kept is no part of a save's line or the
        // exit code; a reader left as it was had no save to record.
        if (const std::optional<QString> unrecorded =
                result.unchanged ? std::nullopt
                                 : recordSave(result.link, result.firmware.value_or(QString()), result.report,
                                              recordedChanges(result.changes), target.form, target.place)
                                       .note)
            print(stderr, oneLine(*unrecorded) + QLatin1Char('\n'));
        if (!print(stdout, (json ? resultJson(result) : resultLine(result)) + QLatin1Char('\n')) && allPrinted) {
            allPrinted = false;
            batch.stop();
        }
    });
    print(stderr, QCoreApplication::translate("CommandLine", "%1 个成功，%2 个失败，%3 个未确认")
                          .arg(counts[SaveReport::Saved])
                          .arg(counts[SaveReport::Failed])
                          .arg(counts[SaveReport::Unknown])
                      + QLatin1Char('\n'));
    if (!allPrinted)
        return printed(QString(), 0);
    if (interruption.signal() != 0)
        return kSignalExitBase + interruption.signal();
    return counts[SaveReport::Saved] == links.size() ? 0 : 1;
}
