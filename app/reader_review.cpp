#include "app/reader_review.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/config_file_controller.h"
#include "app/form_binding.h"
#include "app/place_label.h"

namespace {

const char *pageWords(config::Page page)
{
    switch (page) {
    case config::Page::MainArea:
        return QT_TRANSLATE_NOOP("ReaderReview", "主界面");
    case config::Page::GeneralPage:
        return QT_TRANSLATE_NOOP("ReaderReview", "常规设置");
    case config::Page::NfcPage:
        return QT_TRANSLATE_NOOP("ReaderReview", "NFC设置");
    case config::Page::WiegandPage:
        return QT_TRANSLATE_NOOP("ReaderReview", "韦根设置");
    case config::Page::NetworkPage:
        return QT_TRANSLATE_NOOP("ReaderReview", "网络设置");
    case config::Page::PasswordPage:
        return QT_TRANSLATE_NOOP("ReaderReview", "修改配置密码");
    }
    return "";
}

// A caption in the form's language; a typed or read value as it is.
QString valueWords(const QString &value, bool caption)
{
    return caption && !value.isEmpty() ? formWords(value.toUtf8().constData()) : value;
}

QString labelWords(const char *label)
{
    QString words = formWords(label);
    while (words.endsWith(QChar(0xFF1A)) || words.endsWith(QLatin1Char(':')))
        words.chop(1);
    return words;
}

} // namespace

std::vector<ReaderChange> readerChanges(const config::FormValue &reader, const config::FormValue &value,
                                        const QString &passwordLine)
{
    std::vector<ReaderChange> changes;
    for (const config::SettingChange &change : config::differences(reader, value)) {
        changes.push_back({labelWords(change.setting),
                           ReaderReview::tr(pageWords(change.page)) + QStringLiteral(" · ") + formWords(change.group),
                           valueWords(change.before, change.captions), valueWords(change.after, change.captions)});
    }
    if (value.changepwcheck)
        changes.push_back({passwordLine, QString(), QString(), QString()});
    return changes;
}

QString changesText(const std::vector<ReaderChange> &changes)
{
    QStringList lines;
    for (const ReaderChange &change : changes) {
        if (lines.size() == kShownChanges) {
            lines << ReaderReview::tr("…等 %1 项").arg(changes.size());
            break;
        }
        lines << (change.page.isEmpty() ? change.setting
                                        : ReaderReview::tr("%1：%2 → %3").arg(change.setting, change.before, change.after));
    }
    return lines.join(QLatin1Char('\n'));
}

SaveReviewDialog::SaveReviewDialog(const std::vector<ReaderChange> &changes, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(ReaderReview::tr("写入前核对"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ReaderReview::tr("保存将更改读卡器上的以下设置，它们不是从这台读卡器载入的："), this));

    table_ = new QTableWidget(int(changes.size()), 4, this);
    table_->setHorizontalHeaderLabels({ReaderReview::tr("设置"), ReaderReview::tr("页面"),
                                       ReaderReview::tr("读卡器中的值"), ReaderReview::tr("新的值")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    for (int row = 0; row < int(changes.size()); ++row) {
        const ReaderChange &change = changes[row];
        const QString cells[] = {change.setting, change.page, change.before, change.after};
        for (int column = 0; column < 4; ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (change.page.isEmpty())
            table_->setSpan(row, 0, 1, 4);
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    auto *placeRow = new QFormLayout;
    place_ = place_label::placeEdit(this);
    placeRow->addRow(ReaderReview::tr("位置："), place_);
    layout->addLayout(placeRow);

    auto *buttons = new QDialogButtonBox(this);
    write_ = buttons->addButton(ReaderReview::tr("写入读卡器"), QDialogButtonBox::AcceptRole);
    cancel_ = buttons->addButton(ReaderReview::tr("取消"), QDialogButtonBox::RejectRole);
    cancel_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 360);
}

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
