#include "window/reader_review.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "window/config_file_controller.h"
#include "window/form_binding.h"
#include "widgets/place_label.h"
#include "widgets/screen_fit.h"

ReaderReview::ReaderReview(const FormBinding &formBinding, const ConfigFileController &configFiles, QWidget *parent)
    : QObject(parent), binding(formBinding), files(configFiles), window(parent), kept(formBinding.value())
{
    connect(&files, &ConfigFileController::opened, this, &ReaderReview::fileOpened);
}

ReaderReview::ConnectChoice ReaderReview::askBeforeConnect() const
{
    if (files.currentFile().isEmpty() && config::differences(kept, binding.value()).empty())
        return ConnectChoice::LoadReader;
    QMessageBox box(QMessageBox::Question, tr("连接设备"), tr("窗口中的配置尚未保存。连接后要载入读卡器的配置吗？"),
                    QMessageBox::NoButton, window);
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

void ReaderReview::readerRead(const config::FormValue &value, bool intoForm, const QString &firmware)
{
    reader = value;
    firmware_ = firmware;
    loaded = intoForm;
    if (intoForm)
        kept = value;
}

bool ReaderReview::confirmSave(const config::FormValue &value) const
{
    if (!reader || loaded)
        return true;
    const std::vector<ReaderChange> changes = readerChanges(*reader, value, tr("配置密码将更改"));
    if (changes.empty())
        return true;
    SaveReviewDialog review(changes, window);
    fitOnScreen(&review);
    if (review.exec() != QDialog::Accepted)
        return false;
    place_label::remember(review.placeEdit()->text());
    return true;
}

QString ReaderReview::allChanges(const config::FormValue &value) const
{
    QStringList lines;
    if (reader) {
        for (const ReaderChange &change : readerChanges(*reader, value, tr("配置密码已更改")))
            lines << changesText({change});
    }
    return lines.join(QLatin1Char('\n'));
}

QString ReaderReview::saved(const config::FormValue &value)
{
    const QString text = reader ? changesText(readerChanges(*reader, value, tr("配置密码已更改"))) : QString();
    reader = value;
    loaded = true;
    kept = value;
    return text;
}

void ReaderReview::fileOpened()
{
    loaded = false;
    kept = binding.value();
}
