// The window's slots of the direct link: connect reads the reader's
// configuration text and firmware version into the form; save writes the
// form's signed configuration text to the reader.
#include "window/widget.h"

#include <QApplication>
#include <QDebug>

#include <utility>

#include "config/password_entry.h"
#include "core/cause_words.h"
#include "core/save_records.h"
#include "core/verified_save.h"
#include "device/device_link.h"
#include "ui_widget.h"
#include "widgets/boxes.h"
#include "widgets/place_label.h"
#include "widgets/untrusted_text.h"
#include "window/device_session.h"
#include "window/form_binding.h"
#include "window/reader_review.h"
#include "window/secret_prompt.h"

namespace {

const char kConnectTitle[] = QT_TRANSLATE_NOOP("Widget", "连接状态");
const char kSaveTitle[] = QT_TRANSLATE_NOOP("Widget", "保存状态");

// The window blocks during device work; the cursor says so until the scope
// ends, whichever way it is left.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

// The device work runs under the busy cursor; every box comes after it.
bool Widget::readReader(QString *failure, bool intoForm)
{
    const BusyCursor busy;
    device::Session &reader = deviceSession->reader();
    if (!reader.open(deviceSession->link())) {
        *failure = linkFailureText(reader.failure());
        return false;
    }
    std::optional<QByteArray> config = reader.readConfig();
    if (!config) {
        *failure = linkFailureText(reader.failure());
        return false;
    }
    readerText = *config;
    // The reader's text holds its Wi-Fi password, masked like every other.
    qDebug() << "**************************";
    qDebug("data_result = %s", qUtf8Printable(password_entry::configTextForLog(QString::fromUtf8(readerText))));
    qDebug() << "**************************";

    const std::optional<QString> version = reader.readVersion();
    if (!version) {
        *failure = linkFailureText(reader.failure());
        return false;
    }
    const QString versionShown = *version;
    qDebug("vdata = %s", qUtf8Printable(versionShown));

    if (const std::optional<QString> problem = importReaderConfig(intoForm, versionShown)) {
        *failure = *problem;
        return false;
    }
    showUntrustedText(ui->deviceversion, versionShown);
    return true;
}

namespace {

// The first text above the second (the cause above which reader was asked,
// a save's detail above what it changed); an empty one is left out.
QString joinedLines(const QString &above, const QString &below)
{
    if (above.isEmpty() || below.isEmpty())
        return above.isEmpty() ? below : above;
    return above + QLatin1Char('\n') + below;
}

} // namespace

void Widget::on_connectBtn_clicked()
{
    const ReaderReview::ConnectChoice choice = readerReview->askBeforeConnect(deviceSession->link());
    if (choice == ReaderReview::ConnectChoice::Cancel)
        return;
    DeviceSession::Call call(*deviceSession, tr("正在连接…"));
    QString failure;
    if (!readReader(&failure, choice == ReaderReview::ConnectChoice::LoadReader)) {
        // The form, with the user's edits, stays as it is; the version of a
        // reader that no longer answers is no longer known.
        if (deviceSession->connected())
            call.settle(tr("连接已断开"));
        deviceSession->setConnected(false);
        showUntrustedText(ui->deviceversion, QString());
        tell(this, tr(kConnectTitle), tr("连接设备失败"), joinedLines(failure, deviceSession->linkNote()));
        return;
    }
    call.settle(tr("设备已连接"));
    deviceSession->setConnected(true);
    tell(this, tr(kConnectTitle), tr("连接设备成功"), deviceSession->linkNote());
    ui->saveBtn->setEnabled(true);
}

// Nothing of the last reader stays in view, for review or for a record.
void Widget::readerChosen()
{
    readerReview->forgetReader();
    readerText.clear();
    showUntrustedText(ui->deviceversion, QString());
    ui->saveBtn->setEnabled(false);
}

void Widget::on_saveBtn_clicked()
{
    // The review and the record compare with what this reader holds: a
    // reader never read has nothing to compare with.
    if (!readerReview->knowsReader(deviceSession->link())) {
        tell(this, tr(kSaveTitle), tr("未保存：尚未连接这台读卡器"),
             joinedLines(tr("请先点击“连接设备”读取它的配置，再保存。"), deviceSession->linkNote()));
        return;
    }
    if (!secretPrompt->mayGoOn())
        return;
    GetconfigState();
    const QString sent = std::exchange(configText, QString());
    if (sent.isEmpty())
        return;
    const config::FormValue sending = binding::read(*ui);
    const std::vector<records::Change> changes = readerReview->changesOf(sent);
    if (!readerReview->confirmSave(sent, changes))
        return;

    DeviceSession::Call call(*deviceSession, tr("正在保存…"));
    const SaveReport report = [this, &sent] {
        const BusyCursor busy;
        qDebug() << password_entry::configTextForLog(sent);
        return saveVerified(deviceSession->reader(), sent);
    }();
    // A reader that stopped answering is no longer connected.
    call.settle(report.readerGone && deviceSession->connected() ? tr("连接已断开") : call.before());
    if (report.readerGone)
        deviceSession->setConnected(false);

    const QString place = place_label::remembered();
    // What became of the record goes below whatever the box says.
    const RecordedSave recorded =
        recordSave(deviceSession->reachedLink(), readerReview->firmware(), report, changes, sending, place);
    if (report.outcome == SaveReport::Saved && report.readBack)
        readerText = *report.readBack;
    const QString changed =
        report.outcome == SaveReport::Saved
            ? readerReview->saved(sending, sent, changes, report.readBack, deviceSession->link())
            : QString();
    showSaveOutcome(report, changed, recorded, place);
}

void Widget::showSaveOutcome(const SaveReport &report, const QString &changed, const RecordedSave &recorded,
                             const QString &place)
{
    const QString recordNote = recorded.note.value_or(QString());
    switch (report.outcome) {
    case SaveReport::Saved: {
        const QString named =
            place_label::tellWithPlace(this, tr(kSaveTitle), tr("保存成功"),
                                       joinedLines(joinedLines(report.detail, changed), recordNote), place);
        if (named != place)
            place_label::placeRenamed(recorded, named);
        break;
    }
    case SaveReport::Failed:
        tell(this, tr(kSaveTitle), tr("保存失败，请重试"),
             joinedLines(joinedLines(report.detail, deviceSession->linkNote()), recordNote));
        qDebug() << "配置保存失败，请重试";
        break;
    case SaveReport::Unknown:
        tell(this, tr(kSaveTitle), tr("无法确认读卡器是否已保存，请重新连接后核对"),
             joinedLines(joinedLines(report.detail, deviceSession->linkNote()), recordNote));
        break;
    }
}
