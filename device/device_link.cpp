// The direct link to a reader: connect reads the reader's configuration text
// and firmware version through the device library and loads them into the
// window; save writes the form's signed configuration text to the reader.
#include "device/device_link.h"

#include <QApplication>
#include <QDebug>
#include <QMessageBox>

#include <cstring>
#include <memory>

#include "app/untrusted_text.h"
#include "app/widget.h"
#include "config/password_entry.h"
#include "device/rpc_buffer.h"
#include "trvo/trvo.h"
#include "ui_widget.h"

intptr_t device_channel = 0;

namespace {

// Commands of a reader and how long the tool waits for each (milliseconds).
enum Command : int32_t { WriteConfig = 1, ReadConfig = 2, ReadVersion = 12 };
const int kReadTimeoutMs = 300;
const int kWriteTimeoutMs = 800;

const char kConnectTitle[] = "连接状态";
const char kSaveTitle[] = "保存状态";

struct BufferRelease
{
    void operator()(rpc_buffer *buffer) const { rpc_buffer_free(buffer); }
};
using Buffer = std::unique_ptr<rpc_buffer, BufferRelease>;

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

struct Reply
{
    int result;
    Buffer buffer; // what the library left in the reply pointer; may be null
};

// One call on the channel, with a fresh empty reply block that the library
// may replace; the block the pointer designates afterwards is the caller's.
Reply call(Command command, rpc_buffer *request, int timeoutMs)
{
    rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
    const int result =
        trpc_call(device_channel, command, request, &reply, timeoutMs, TRVO_CALL_AWAIT_REPLY);
    return {result, Buffer(reply)};
}

// A configuration text that ends within its payload; the import reads it as
// a C string, so anything else would be read past its end.
bool holdsTerminatedText(rpc_buffer *reply)
{
    const int32_t length = rpc_buffer_len(reply);
    return reply && length > 0 && std::memchr(rpc_buffer_data(reply), '\0', size_t(length));
}

// The text of a version reply: up to its NUL and never past its length
// field, so a reader that leaves out the NUL cannot make us read on.
QString versionText(const char *data, int32_t length)
{
    if (!data || length <= 0)
        return QString();
    const void *nul = std::memchr(data, '\0', size_t(length));
    const int bytes = nul ? int(static_cast<const char *>(nul) - data) : int(length);
    return QString::fromUtf8(data, bytes);
}

void tell(QWidget *window, const char *title, const char *text, const QString &detail = QString())
{
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(title), QString::fromUtf8(text),
                    QMessageBox::Ok, window);
    box.setInformativeText(detail);
    box.exec();
}

// Replaces the reply block a member points into, releasing the old one.
void keepPayload(char *&member, Buffer reply)
{
    rpc_buffer_free(rpc_buffer_of_data(member));
    member = rpc_buffer_data(reply.release());
}

} // namespace

void Widget::on_connectBtn_clicked()
{
    // The device work runs under the busy cursor; every box comes after it.
    QString importFailure;
    const bool read = [this, &importFailure] {
        const BusyCursor busy;
        if (device_channel == 0)
            device_channel = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
        else
            qDebug() << "设备已连接";
        if (device_channel == 0)
            return false;

        const Buffer request(rpc_buffer_new(nullptr, 0));
        qDebug() << "i am here";

        Reply config = call(ReadConfig, request.get(), kReadTimeoutMs);
        qDebug() << config.result;
        if (config.result < 0)
            return false;
        if (!holdsTerminatedText(config.buffer.get())) {
            qDebug() << "data_result failled";
            return false;
        }
        dev_config_len = rpc_buffer_len(config.buffer.get());
        keepPayload(dev_config, std::move(config.buffer));
        qDebug() << "**************************";
        qDebug("data_result = %s", dev_config);
        qDebug() << "**************************";

        Reply version = call(ReadVersion, request.get(), kReadTimeoutMs);
        qDebug() << version.result;
        if (version.result < 0)
            return false;
        const int32_t versionLength = rpc_buffer_len(version.buffer.get());
        keepPayload(dev_version, std::move(version.buffer));
        const QString versionShown = versionText(dev_version, versionLength);
        qDebug("vdata = %s", qUtf8Printable(versionShown));

        importFailure = importReaderConfig();
        if (!importFailure.isEmpty())
            return false;
        showUntrustedText(ui->deviceversion, versionShown);
        return true;
    }();

    if (!read) {
        tell(this, kConnectTitle, "连接设备失败", importFailure);
        return;
    }
    ui->labelState->setText(QStringLiteral("设备已连接"));
    tell(this, kConnectTitle, "连接设备成功");
    ui->saveBtn->setEnabled(true);
}

void Widget::on_saveBtn_clicked()
{
    GetconfigState();
    if (configText.isEmpty())
        return;

    const bool stored = [this] {
        const BusyCursor busy;
        // The UTF-8 bytes, the very bytes the signature covers.
        const QByteArray bytes = configText.toUtf8();
        qDebug() << password_entry::configTextForLog(configText);
        const Buffer request(rpc_buffer_new(bytes.constData(), bytes.size()));
        if (!request)
            return false;

        const Reply reply = call(WriteConfig, request.get(), kWriteTimeoutMs);
        // Without a status byte the reader has confirmed nothing.
        if (reply.result < 0 || rpc_buffer_len(reply.buffer.get()) < 1)
            return false;
        const unsigned char status = static_cast<unsigned char>(*rpc_buffer_data(reply.buffer.get()));
        qDebug() << int(status);
        return status != 1;
    }();

    if (!stored) {
        tell(this, kSaveTitle, "保存失败，请重试");
        qDebug() << "配置保存失败，请重试";
        configText.clear();
        return;
    }
    configText.clear();
    tell(this, kSaveTitle, "保存成功");
}
