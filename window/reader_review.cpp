#include "window/reader_review.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "config/password_entry.h"
#include "core/save_records.h"
#include "widgets/place_label.h"
#include "widgets/screen_fit.h"
#include "window/config_file_controller.h"
#include "window/form_binding.h"

ReaderReview::ReaderReview(const FormBinding &formBinding, const ConfigFileController &configFiles,
                           QWidget *parent)
    : QObject(parent), binding(formBinding), files(configFiles), window(parent), kept(formBinding.value())
{
    connect(&files, &ConfigFileController::opened, this, &ReaderReview::fileOpened);
}

ReaderReview::ConnectChoice ReaderReview::askBeforeConnect(const QString &link) const
{
    const bool writtenElsewhere = !writtenLink.isEmpty() && writtenLink != link;
    if (files.currentFile().isEmpty() && !writtenElsewhere && config::differences(kept, binding.value()).empty())
        return ConnectChoice::LoadReader;
    const QString question =
        writtenElsewhere
            ? tr("窗口中的配置上次写入的是另一台读卡器（%1）。连接后要载入这台读卡器的配置吗？").arg(writtenLink)
            : tr("窗口中的配置尚未保存。连接后要载入读卡器的配置吗？");
    QMessageBox box(QMessageBox::Question, tr("连接设备"), question, QMessageBox::NoButton, window);
    box.setTextFormat(Qt::PlainText);
    QPushButton *load = box.addButton(tr("载入读卡器配置"), QMessageBox::AcceptRole);
    QPushButton *keep = box.addButton(tr("保留窗口配置"), QMessageBox::ActionRole);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == load)
        return ConnectChoice::LoadReader;
    return box.clickedButton() == keep ? ConnectChoice::KeepForm : ConnectChoice::Cancel;
}

void ReaderReview::readerRead(const QByteArray &text, bool intoForm, const QString &firmware, const QString &link)
{
    readerText = text;
    readerLink = link;
    firmware_ = firmware;
    loaded = intoForm;
    if (intoForm) {
        kept = binding.value();
        writtenLink.clear();
    }
}

void ReaderReview::forgetReader()
{
    readerText.reset();
    readerLink.clear();
    firmware_.clear();
    loaded = false;
}

bool ReaderReview::knowsReader(const QString &link) const
{
    return readerText && readerLink == link;
}

std::vector<records::Change> ReaderReview::changesOf(const QString &sentText) const
{
    return readerText ? changesOnReader(sentText.toUtf8(), *readerText) : std::vector<records::Change>();
}

bool ReaderReview::confirmSave(const QString &sentText, const std::vector<records::Change> &changes) const
{
    const bool newPassword = password_entry::carriesPassword(sentText);
    if (loaded || (changes.empty() && !newPassword))
        return true;
    SaveReviewDialog review(readerChanges(changes, newPassword, tr("配置密码将更改")), window);
    fitOnScreen(&review);
    if (review.exec() != QDialog::Accepted)
        return false;
    place_label::remember(review.placeEdit()->text());
    return true;
}

QString ReaderReview::saved(const config::FormValue &value, const QString &sentText,
                            const std::vector<records::Change> &changes,
                            const std::optional<QByteArray> &readBack, const QString &link)
{
    if (readBack)
        readerText = *readBack;
    loaded = true;
    kept = value;
    writtenLink = link;
    return changesText(readerChanges(changes, password_entry::carriesPassword(sentText), tr("配置密码已更改")));
}

void ReaderReview::fileOpened()
{
    loaded = false;
    kept = binding.value();
}
