#include "device/device_link.h"

#include <QDebug>

#include <cstring>

#include "trvo/trvo.h"

intptr_t device_channel = 0;

namespace {

using device::Buffer;

// Commands of a reader and how long the tool waits for each (milliseconds).
enum Command : int32_t { WriteConfig = 1, ReadConfig = 2, ReadVersion = 12 };
const int kReadTimeoutMs = 300;
const int kWriteTimeoutMs = 800;

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

bool holdsTerminatedText(rpc_buffer *reply)
{
    const int32_t length = rpc_buffer_len(reply);
    return reply && length > 0 && std::memchr(rpc_buffer_data(reply), '\0', size_t(length));
}

} // namespace

namespace device {

bool openChannel()
{
    if (device_channel == 0)
        device_channel = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
    else
        qDebug() << "设备已连接";
    return device_channel != 0;
}

std::optional<Buffer> readConfig()
{
    const Buffer request(rpc_buffer_new(nullptr, 0));
    qDebug() << "i am here";
    Reply config = call(ReadConfig, request.get(), kReadTimeoutMs);
    qDebug() << config.result;
    if (config.result < 0)
        return std::nullopt;
    if (!holdsTerminatedText(config.buffer.get())) {
        qDebug() << "data_result failled";
        return std::nullopt;
    }
    qDebug() << "**************************";
    qDebug("data_result = %s", rpc_buffer_data(config.buffer.get()));
    qDebug() << "**************************";
    return std::move(config.buffer);
}

std::optional<Buffer> readVersion()
{
    const Buffer request(rpc_buffer_new(nullptr, 0));
    Reply version = call(ReadVersion, request.get(), kReadTimeoutMs);
    qDebug() << version.result;
    if (version.result < 0)
        return std::nullopt;
    return std::move(version.buffer);
}

QString versionText(const char *data, int32_t length)
{
    if (!data || length <= 0)
        return QString();
    const void *nul = std::memchr(data, '\0', size_t(length));
    const int bytes = nul ? int(static_cast<const char *>(nul) - data) : int(length);
    return QString::fromUtf8(data, bytes);
}

bool storeConfig(const QByteArray &text)
{
    const Buffer request(rpc_buffer_new(text.constData(), text.size()));
    if (!request)
        return false;
    const Reply reply = call(WriteConfig, request.get(), kWriteTimeoutMs);
    // Without a status byte the reader has confirmed nothing.
    if (reply.result < 0 || rpc_buffer_len(reply.buffer.get()) < 1)
        return false;
    const unsigned char status = static_cast<unsigned char>(*rpc_buffer_data(reply.buffer.get()));
    qDebug() << int(status);
    return status != 1;
}

} // namespace device
