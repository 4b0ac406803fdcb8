// The window's slots of the direct link: connect reads the reader's
// configuration text and firmware version into the form; save writes the
// form's signed configuration text to the reader.
#include "app/widget.h"

#include <QApplication>
#include <QDebug>

#include "app/boxes.h"
#include "app/untrusted_text.h"
#include "config/password_entry.h"
#include "device/device_link.h"
#include "ui_widget.h"

namespace {

const QString kConnectTitle = QStringLiteral("连接状态");
const QString kSaveTitle = QStringLiteral("保存状态");

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

// Replaces the reply block a member points into, releasing the old one.
void keepPayload(char *&member, device::Buffer reply)
{
    rpc_buffer_free(rpc_buffer_of_data(member));
    member = rpc_buffer_data(reply.release());
}

} // namespace

// The device work runs under the busy cursor; every box comes after it.
bool Widget::readReader(QString *failure)
{
    const BusyCursor busy;
    if (!device::openChannel())
        return false;
    std::optional<device::Buffer> config = device::readConfig();
    if (!config)
        return false;
    dev_config_len = rpc_buffer_len(config->get());
    keepPayload(dev_config, std::move(*config));

    std::optional<device::Buffer> version = device::readVersion();
    if (!version)
        return false;
    const int32_t versionLength = rpc_buffer_len(version->get());
    keepPayload(dev_version, std::move(*version));
    const QString versionShown = device::versionText(dev_version, versionLength);
    qDebug("vdata = %s", qUtf8Printable(versionShown));

    if (const std::optional<QString> problem = importReaderConfig()) {
        *failure = *problem;
        return false;
    }
    showUntrustedText(ui->deviceversion, versionShown);
    return true;
}

void Widget::on_connectBtn_clicked()
{
    QString failure;
    if (!readReader(&failure)) {
        tell(this, kConnectTitle, QStringLiteral("连接设备失败"), failure);
        return;
    }
    ui->labelState->setText(QStringLiteral("设备已连接"));
    tell(this, kConnectTitle, QStringLiteral("连接设备成功"));
    ui->saveBtn->setEnabled(true);
}

void Widget::on_saveBtn_clicked()
{
    GetconfigState();
    if (configText.isEmpty())
        return;

    const bool stored = [this] {
        const BusyCursor busy;
        qDebug() << password_entry::configTextForLog(configText);
        // The UTF-8 bytes, the very bytes the signature covers.
        return device::storeConfig(configText.toUtf8());
    }();

    if (!stored) {
        tell(this, kSaveTitle, QStringLiteral("保存失败，请重试"));
        qDebug() << "配置保存失败，请重试";
        configText.clear();
        return;
    }
    configText.clear();
    tell(this, kSaveTitle, QStringLiteral("保存成功"));
}
