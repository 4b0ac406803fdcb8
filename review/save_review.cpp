#include "review/save_review.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "program/wording.h"
#include "widgets/place_label.h"

// The texts keep the context of the review they were first written for.
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

QString changesText(const std::vector<ReaderChange> &changes)
{
    QStringList lines;
    for (const ReaderChange &change : changes) {
        if (lines.size() == kShownChanges) {
            lines << QCoreApplication::translate("ReaderReview", "…等 %1 项").arg(changes.size());
            break;
        }
        lines << (change.page.isEmpty() ? change.setting
                                        : QCoreApplication::translate("ReaderReview", "%1：%2 → %3")
                                              .arg(change.setting, change.before, change.after));
    }
    return lines.join(QLatin1Char('\n'));
}

SaveReviewDialog::SaveReviewDialog(const std::vector<ReaderChange> &changes, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QCoreApplication::translate("ReaderReview", "写入前核对"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QCoreApplication::translate("ReaderReview",
                                               "保存将更改读卡器上的以下设置，它们不是从这台读卡器载入的："),
                   this));

    auto *table = new QTableWidget(int(changes.size()), 4, this);
    table->setObjectName(QStringLiteral("changeTable"));
    table->setHorizontalHeaderLabels({QCoreApplication::translate("ReaderReview", "设置"),
                                      QCoreApplication::translate("ReaderReview", "页面"),
                                      QCoreApplication::translate("ReaderReview", "读卡器中的值"),
                                      QCoreApplication::translate("ReaderReview", "新的值")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int row = 0; row < int(changes.size()); ++row) {
        const ReaderChange &change = changes[row];
        const QString cells[] = {change.setting, change.page, change.before, change.after};
        for (int column = 0; column < 4; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (change.page.isEmpty())
            table->setSpan(row, 0, 1, 4);
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table);
    auto *placeRow = new QFormLayout;
    place_ = place_label::placeEdit(this);
    placeRow->addRow(QCoreApplication::translate("ReaderReview", "位置："), place_);
    layout->addLayout(placeRow);

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QCoreApplication::translate("ReaderReview", "写入读卡器"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("writeButton"));
    QPushButton *cancel =
        buttons->addButton(QCoreApplication::translate("ReaderReview", "取消"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 360);
}
