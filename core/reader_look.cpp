#include "core/reader_look.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <mutex>

#include "core/reader_batch.h"
#include "core/save_records.h"
#include "core/verified_save.h"
#include "core/wording.h"
#include "device/device_link.h"
#include "text/plain_text.h"

namespace {

const char kNoConfig[] = QT_TRANSLATE_NOOP("fleet", "读卡器没有给出可读的配置。");

} // namespace

ReaderLook lookAtReader(const QString &link, const QByteArray &sentText)
{
    QElapsedTimer clock;
    clock.start();
    ReaderLook look{link, std::nullopt, nullptr, QString(), std::nullopt, {}, 0};
    device::Session reader;
    if (reader.open(link))
        look.text = reader.readConfig();
    if (!look.text) {
        look.code = linkFailureCode(reader.failure());
        look.cause = linkFailureText(reader.failure());
        if (look.cause.isEmpty())
            look.cause = QCoreApplication::translate("fleet", kNoConfig);
    } else {
        look.firmware = reader.readVersion();
        if (!sentText.isEmpty()) {
            config::ReaderChanges changes = config::changesOnReader(sentText, *look.text);
            if (changes.failure) {
                look.code = "script";
                look.cause = translated("config", *changes.failure);
            }
            look.changes = std::move(changes.keys);
        }
    }
    look.seconds = double(clock.nsecsElapsed()) / 1e9;
    return look;
}

void lookAtEach(const QStringList &links, int jobs, const QHash<QString, QByteArray> &sentTexts,
                const std::function<void(const ReaderLook &)> &done, const std::atomic<bool> *stopping)
{
    std::mutex reporting;
    forEachLink(
        links, jobs,
        [&](const QString &link) {
            const ReaderLook look = lookAtReader(link, sentTexts.value(link));
            const std::lock_guard<std::mutex> one(reporting);
            done(look);
        },
        stopping);
}

std::optional<QString> recordCheck(const ReaderLook &look, const config::FormValue &form, const QString &place)
{
    const SaveReport report = look.code ? SaveReport{SaveReport::Unknown, plainShown(look.cause).simplified()}
                              : look.changes.empty() ? SaveReport{SaveReport::Saved, QString()}
                                                     : SaveReport{SaveReport::Failed, QStringLiteral("differs")};
    return recordSave(look.link, look.firmware.value_or(QString()), report, recordedChanges(look.changes), form,
                      place, records::Record::Check)
        .note;
}
