#include "device/device_link.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QThread>

#include <cstring>
#include <memory>

#include "trvo/rpc_buffer.h"
#include "trvo/trvo.h"

namespace {

struct BufferRelease
{
    void operator()(rpc_buffer *buffer) const { rpc_buffer_free(buffer); }
};
using Buffer = std::unique_ptr<rpc_buffer, BufferRelease>;

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
Reply call(intptr_t channel, Command command, rpc_buffer *request, int timeoutMs)
{
    rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
    const int result = trpc_call(channel, command, request, &reply, timeoutMs, TRVO_CALL_AWAIT_REPLY);
    return {result, Buffer(reply)};
}

bool holdsTerminatedText(rpc_buffer *reply)
{
    const int32_t length = rpc_buffer_len(reply);
    return reply && length > 0 && std::memchr(rpc_buffer_data(reply), '\0', size_t(length));
}

} // namespace

namespace device {

bool Session::open(const QString &link)
{
    if (!isOpen())
        channel = link.isEmpty() ? trvo_channel_open(TRVO_CHANNEL_CONFIG, 0)
                                 : trvo_channel_open_link(link.toLocal8Bit().constData());
    else
        qDebug() << "设备已连接";
    return isOpen();
}

void Session::close()
{
    trvo_channel_close(channel);
    channel = 0;
}

LinkFailure Session::failure() const
{
    if (unusableReply)
        return *unusableReply;
    return lastFailure(channel);
}

std::optional<QByteArray> Session::readConfigWithin(int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        std::optional<QByteArray> config = readConfig();
        if (config || clock.elapsed() + kReadTimeoutMs > budgetMs)
            return config;
        // A reader that refuses or garbles is asked again, not hammered.
        QThread::msleep(50);
    }
}

std::optional<QByteArray> Session::readConfig()
{
    const Buffer request(rpc_buffer_new(nullptr, 0));
    qDebug() << "i am here";
    unusableReply.reset();
    Reply config = call(channel, ReadConfig, request.get(), kReadTimeoutMs);
    qDebug() << config.result;
    if (config.result < 0)
        return std::nullopt;
    if (!holdsTerminatedText(config.buffer.get())) {
        qDebug() << "data_result failled";
        unusableReply =
            LinkFailure{TRVO_CAUSE_BAD_REPLY,
                        QStringLiteral("the reader's configuration reply was %1")
                            .arg(rpc_buffer_len(config.buffer.get()) > 0 ? QStringLiteral("not terminated")
                                                                         : QStringLiteral("empty"))};
        return std::nullopt;
    }
    return QByteArray(rpc_buffer_data(config.buffer.get()));
}

std::optional<QString> Session::readVersion()
{
    const Buffer request(rpc_buffer_new(nullptr, 0));
    unusableReply.reset();
    Reply version = call(channel, ReadVersion, request.get(), kReadTimeoutMs);
    qDebug() << version.result;
    if (version.result < 0)
        return std::nullopt;
    return versionText(rpc_buffer_data(version.buffer.get()), rpc_buffer_len(version.buffer.get()));
}

QString versionText(const char *data, int32_t length)
{
    if (!data || length <= 0)
        return QString();
    const void *nul = std::memchr(data, '\0', size_t(length));
    const int bytes = nul ? int(static_cast<const char *>(nul) - data) : int(length);
    return QString::fromUtf8(data, bytes);
}

StoreAnswer Session::storeConfig(const QByteArray &text)
{
    const Buffer request(rpc_buffer_new(text.constData(), text.size()));
    unusableReply.reset();
    if (!request)
        return {Stored::NotSent, {TRVO_CAUSE_SYSTEM, QStringLiteral("out of memory")}};
    const Reply reply = call(channel, WriteConfig, request.get(), kWriteTimeoutMs);
    switch (reply.result) {
    case TRVO_ETIMEDOUT:
    case TRVO_ELOST:
    case TRVO_EFRAME:
        // The request may have reached the reader: only a read-back can tell.
        return {Stored::Unanswered, failure()};
    default:
        if (reply.result < 0)
            return {Stored::NotSent, failure()};
    }
    // Without a status byte the reader has confirmed nothing.
    if (rpc_buffer_len(reply.buffer.get()) < 1)
        return {Stored::Unanswered, {TRVO_CAUSE_BAD_REPLY, QStringLiteral("an empty answer to command 1")}};
    const unsigned char status = static_cast<unsigned char>(*rpc_buffer_data(reply.buffer.get()));
    qDebug() << int(status);
    return {status != 1 ? Stored::Yes : Stored::Refused, {}};
}

} // namespace device
