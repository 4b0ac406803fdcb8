#include "core/reader_look.h"

#include <QCoreApplication>
#include <QElapsedTimer>


#include "core/reader_batch.h"
#include "core/save_records.h"
#include "core/verified_save.h"
#include "device/device_link.h"
#include "program/wording.h"
#include "text/plain_text.h"

ReaderLook lookAtReader(const QString &link, const QByteArray &sentText)
{
    QElapsedTimer clock;
    clock.start();
    ReaderLook look{link, std::nullopt, nullptr, QString(), std::nullopt, {}, 0};
    device::Session reader;
    look.opened = reader.open(link);
    if (look.opened)
        look.text = reader.readConfig();
    if (!look.text) {
        look.why = linkFailureCause(reader.failure());
    } else {
        look.firmware = reader.readVersion();
        if (!sentText.isEmpty()) {
            config::ReaderChanges changes = config::changesOnReader(sentText, *look.text);
            if (changes.failure)
                look.why = {{QStringLiteral("script"), {*changes.failure}}};
            look.changes = std::move(changes.keys);
        }
    }
    look.code = causeCode(look.why);
    look.cause = causeWords(look.why);
    look.seconds = double(clock.nsecsElapsed()) / 1e9;
    return look;
}

void lookAtEach(const QStringList &links, int jobs, const QHash<QString, QByteArray> &sentTexts,
                const std::function<void(const ReaderLook &)> &done, const std::atomic<bool> *stopping)
{
    forEachLinkReported(
        links, jobs,
        [&](const QString &link) -> std::function<void()> {
            return [&done, look = lookAtReader(link, sentTexts.value(link))] { done(look); };
        },
        stopping);
}

std::optional<QString> recordCheck(const ReaderLook &look, const config::FormValue &form, const QString &place)
{
    const SaveReport report = look.code ? reported(SaveReport::Unknown, look.why)
                              : look.changes.empty()
                                  ? SaveReport{SaveReport::Saved, QString()}
                                  : reported(SaveReport::Failed, {{QStringLiteral("differs"), {}}});
    return recordSave(look.link, look.firmware.value_or(QString()), report, recordedChanges(look.changes), form,
                      place, records::Record::Check)
        .note;
}
