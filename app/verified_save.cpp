#include "app/verified_save.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "app/boxes.h"
#include "app/option_pages.h"
#include "app/widget_tree.h"
#include "config/import.h"
#include "device/device_link.h"
#include "device/link_failure.h"
#include "script/script_bridge.h"
#include "ui_widget.h"

namespace {

const char kReadBackDiffers[] = QT_TRANSLATE_NOOP("VerifiedSave", "读回的读卡器配置与发送的不一致（%1）。");
const char kConfirmedByReadBack[] =
    QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有应答保存命令，但读回的配置与发送的一致，已确认保存。");
const char kPasswordUndecided[] = QT_TRANSLATE_NOOP(
    "VerifiedSave", "新的配置密码可能已生效，也可能没有：读卡器只接受新旧两个密码中的一个，请重新连接后分别试用。");
const char kPasswordInForce[] = QT_TRANSLATE_NOOP(
    "VerifiedSave", "新的配置密码已经生效：读卡器保存了配置，之后只接受新密码。");
const char kNoReadBack[] = QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有给出可读的配置");
const char kNoScriptMemory[] = QT_TRANSLATE_NOOP("VerifiedSave", "没有足够的内存运行配置脚本");

QString shown(const char *text)
{
    return QCoreApplication::translate("VerifiedSave", text);
}

// A form that nobody sees, for the comparison of two texts as the form
// would hold them.
struct HiddenForm
{
    QWidget host;
    Ui_Widget form;
    lua_State *script = script_open();

    HiddenForm()
    {
        form.setupUi(&host);
        setFieldBounds(form);
    }
    ~HiddenForm() { script_close(script); }
    HiddenForm(const HiddenForm &) = delete;
    HiddenForm &operator=(const HiddenForm &) = delete;

    std::optional<QString> import(const QByteArray &text)
    {
        if (!script)
            return shown(kNoScriptMemory);
        if (const std::optional<QString> problem = config::importReaderText(form, script, text.constData()))
            return translated("config", *problem);
        return std::nullopt;
    }
};

// What a field holds, whatever its kind.
QString valueOf(const QWidget *field)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(field))
        return edit->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(field))
        return button->isCheckable() ? QString::number(button->isChecked()) : QString();
    if (const auto *box = qobject_cast<const QComboBox *>(field))
        return box->currentText();
    if (const auto *slider = qobject_cast<const QAbstractSlider *>(field))
        return QString::number(slider->value());
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(field))
        return spin->text();
    return QString();
}

// The entries of a signed text: between the envelope's brace and "}--".
QByteArray entriesOf(const QString &signedText)
{
    const QByteArray bytes = signedText.toUtf8();
    const int open = bytes.indexOf('{');
    const int close = bytes.lastIndexOf("}--");
    return open >= 0 && close > open ? bytes.mid(open + 1, close - open - 1) : QByteArray();
}

} // namespace

// The reader's text imported alone, and the same with the sent entries over
// it: a reader that stored every value sent gives two equal forms. Keys the
// reader holds beyond those sent show in both, and so do not count.
std::optional<QString> differingField(const QString &signedText, const char *readerText, QString *failure)
{
    HiddenForm read;
    HiddenForm readThenSent;
    const QByteArray reader(readerText);
    if (auto problem = read.import(reader); problem || (problem = readThenSent.import(reader))
        || (problem = readThenSent.import(entriesOf(signedText)))) {
        *failure = *problem;
        return std::nullopt;
    }
    // Both forms come from one setupUi, so their fields pair up in order.
    const QList<QWidget *> left = widgetsBelow(read.host);
    const QList<QWidget *> right = widgetsBelow(readThenSent.host);
    for (int i = 0; i < left.size() && i < right.size(); ++i) {
        if (valueOf(left.at(i)) != valueOf(right.at(i)) || left.at(i)->isHidden() != right.at(i)->isHidden())
            return left.at(i)->objectName();
    }
    return std::nullopt;
}

namespace {

SaveReport judgeReadBack(const QString &signedText, bool answered)
{
    const std::optional<device::Buffer> readBack = device::readConfigWithin(device::kReadBackBudgetMs);
    const bool changesPassword = signedText.contains(QLatin1String("com_passwd="));
    if (!readBack) {
        QString detail = linkFailureText(device::failure());
        if (detail.isEmpty())
            detail = shown(kNoReadBack);
        if (changesPassword && !answered)
            detail += QLatin1Char('\n') + shown(kPasswordUndecided);
        return {SaveReport::Unknown, detail};
    }
    QString failure;
    const std::optional<QString> field = differingField(signedText, rpc_buffer_data(readBack->get()), &failure);
    // A reader that answered the save took the new password with it, even
    // where it kept another value wrong.
    if (field)
        return {SaveReport::Failed, shown(kReadBackDiffers).arg(*field)
                                        + (changesPassword ? QLatin1Char('\n')
                                                                 + shown(answered ? kPasswordInForce : kPasswordUndecided)
                                                           : QString())};
    if (!failure.isEmpty())
        return {SaveReport::Unknown, failure};
    if (answered)
        return {SaveReport::Saved, QString()};
    if (changesPassword)
        return {SaveReport::Unknown, shown(kPasswordUndecided)};
    return {SaveReport::Saved, shown(kConfirmedByReadBack)};
}

} // namespace

SaveReport saveVerified(const QString &signedText)
{
    // The UTF-8 bytes, the very bytes the signature covers.
    const device::StoreAnswer answer = device::storeConfig(signedText.toUtf8());
    switch (answer.stored) {
    case device::Stored::Refused:
        return {SaveReport::Failed, QCoreApplication::translate("device", device::kRefusedConfiguration)};
    case device::Stored::NotSent:
        return {SaveReport::Failed, linkFailureText(answer.failure)};
    case device::Stored::Yes:
        return judgeReadBack(signedText, true);
    case device::Stored::Unanswered:
        break;
    }
    return judgeReadBack(signedText, false);
}
