#include "receivers/output_receivers.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QNetworkInterface>
#include <QPointer>
#include <QSerialPort>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

#include "text/plain_text.h"

namespace output_test {

namespace {

// clang-format off
const char kSerialBusyOrForbidden[] = QT_TRANSLATE_NOOP("output_test::OutputReceiver", "串口被其他程序占用，或当前用户无权打开：关闭占用它的程序；无权时把用户加入 dialout 组（sudo usermod -aG dialout $USER）并重新登录。");
// clang-format on

// A message without its terminator ends at a pause this long.
constexpr int kPauseMs = 50;
// No message grows beyond this: a reader streaming without an end is cut.
constexpr int kMessageBytes = 64 * 1024;
// The streams of a receiver take this many messages at most each in turn,
// for this long at most together, before the window paints and answers;
// the next pass follows at once.
constexpr int kMessagesPerStep = 64;
constexpr int kPassMs = 15;
constexpr qint64 kReadBytes = 16 * 1024;
// What a connection may hold unread in the program: beyond it the reader
// waits in its own connection instead of filling the window's memory.
constexpr qint64 kReadBufferBytes = 64 * 1024;
// An HTTP connection with no traffic this long is closed, and a request
// not done this long after its connection opened (or the previous request
// ended) is cut off; one address holds this many connections at most.
constexpr unsigned kHttpQuietSeconds = 10;
constexpr int kHttpRequestSeconds = 30;
constexpr long kHttpConnectionsPerAddress = 8;
constexpr std::size_t kHttpConnections = 64;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

OpenFailure portFailure(int error, quint16 port)
{
    QString suggestion;
    if (error == EADDRINUSE)
        suggestion =
            OutputReceiver::tr("另一个程序已在使用端口 %1：关闭它，或换一个端口（读头的配置一起改）。").arg(port);
    else if (error == EACCES && port < 1024)
        suggestion =
            OutputReceiver::tr("1024 以下的端口只有管理员能打开：换一个 1024 以上的端口（读头的配置一起改）。");
    else
        suggestion = OutputReceiver::tr("换一个端口再试。");
    return {systemReason(error), suggestion};
}

int bindAndListen(int fd, const sockaddr *address, socklen_t length)
{
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, address, length) == 0 && ::listen(fd, SOMAXCONN) == 0)
        return 0;
    const int error = errno;
    ::close(fd);
    return error;
}

// The interface a link-local address is on: the system lists it by name
// (fe80::1%eth0), and a link-local address bound without it is refused.
quint32 scopeIndex(const QString &scope)
{
    bool number = false;
    const quint32 index = scope.toUInt(&number);
    return number ? index : quint32(QNetworkInterface::interfaceIndexFromName(scope));
}

// A socket listening on the address (every interface for Any: IPv6 and
// IPv4 alike where the system has IPv6); on failure -1 and the system's
// error in *error.
int listenOn(const QHostAddress &address, quint16 port, int *error)
{
    if (address == QHostAddress::Any) {
        const int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0) {
            const int off = 0;
            ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
            sockaddr_in6 any{};
            any.sin6_family = AF_INET6;
            any.sin6_addr = in6addr_any;
            any.sin6_port = htons(port);
            *error = bindAndListen(fd, reinterpret_cast<const sockaddr *>(&any), sizeof any);
            if (*error == 0)
                return fd;
            if (*error != EAFNOSUPPORT && *error != EADDRNOTAVAIL)
                return -1;
        }
    }
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    sockaddr_storage storage{};
    if (v6) {
        auto *chosen = reinterpret_cast<sockaddr_in6 *>(&storage);
        chosen->sin6_family = AF_INET6;
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&chosen->sin6_addr, &bytes, sizeof bytes);
        chosen->sin6_scope_id = scopeIndex(address.scopeId());
        chosen->sin6_port = htons(port);
    } else {
        auto *chosen = reinterpret_cast<sockaddr_in *>(&storage);
        chosen->sin_family = AF_INET;
        chosen->sin_addr.s_addr = htonl(address == QHostAddress::Any ? INADDR_ANY : address.toIPv4Address());
        chosen->sin_port = htons(port);
    }
    *error = bindAndListen(fd, reinterpret_cast<const sockaddr *>(&storage),
                           v6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in));
    return *error == 0 ? fd : -1;
}

// An address as people write it: IPv4 peers of a dual-stack socket without
// their IPv6 dress.
QHostAddress plainAddress(const QHostAddress &address)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

QString peerText(const QHostAddress &address, quint16 port)
{
    const QHostAddress shown = plainAddress(address);
    return shown.protocol() == QAbstractSocket::IPv6Protocol
               ? QStringLiteral("[%1]:%2").arg(shown.toString()).arg(port)
               : QStringLiteral("%1:%2").arg(shown.toString()).arg(port);
}

} // namespace

class MessageStream;

// The streams of one receiver with bytes waiting, served in turn a few
// messages each, in passes of bounded time: however many readers flood
// the window, it paints and answers between two passes.
class ReadingTurns : public QObject
{
public:
    using QObject::QObject;

    void want(MessageStream *stream)
    {
        if (!waiting_.contains(stream))
            waiting_.push_back(stream);
        if (!scheduled_) {
            scheduled_ = true;
            QTimer::singleShot(0, this, &ReadingTurns::pass);
        }
    }
    void forget(MessageStream *stream) { waiting_.removeAll(stream); }

private:
    void pass();

    QList<MessageStream *> waiting_;
    bool scheduled_ = false;
};

// Reads one byte stream into messages when its turn comes, and reads no
// more from the device while split messages wait: a reader faster than the
// window is held back by its own connection instead of filling memory.
class MessageStream : public QObject
{
public:
    MessageStream(QIODevice *device, const Settings &settings, ReadingTurns *turns,
                  std::function<void(const QByteArray &)> deliver)
        : QObject(device),
          device_(device),
          splitter_(settings.terminator(), settings.heartbeat),
          turns_(turns),
          deliver_(std::move(deliver))
    {
        pause_.setSingleShot(true);
        pause_.setInterval(kPauseMs);
        connect(&pause_, &QTimer::timeout, this, [this] {
            const QByteArray rest = splitter_.rest();
            if (!rest.isEmpty())
                deliver_(rest);
        });
        connect(device, &QIODevice::readyRead, this, [this] {
            pause_.stop();
            if (turns_)
                turns_->want(this);
        });
    }
    ~MessageStream() override
    {
        if (turns_)
            turns_->forget(this);
    }

    // Delivers a few messages; false once nothing whole is left to take.
    bool step()
    {
        QList<QByteArray> messages = splitter_.take(kMessagesPerStep);
        if (messages.size() < kMessagesPerStep && device_->bytesAvailable() > 0) {
            splitter_.add(device_->read(kReadBytes));
            messages += splitter_.take(kMessagesPerStep - messages.size());
        }
        for (const QByteArray &message : messages)
            deliver_(message);
        const bool more = messages.size() == kMessagesPerStep || device_->bytesAvailable() > 0;
        if (!more)
            pause_.start();
        return more;
    }

private:
    QIODevice *device_;
    StreamSplitter splitter_;
    QPointer<ReadingTurns> turns_;
    std::function<void(const QByteArray &)> deliver_;
    QTimer pause_;
};

void ReadingTurns::pass()
{
    scheduled_ = false;
    QElapsedTimer spent;
    spent.start();
    while (!waiting_.isEmpty() && !spent.hasExpired(kPassMs)) {
        MessageStream *stream = waiting_.takeFirst();
        if (stream->step() && !waiting_.contains(stream))
            waiting_.push_back(stream);
    }
    if (!waiting_.isEmpty() && !scheduled_) {
        scheduled_ = true;
        QTimer::singleShot(0, this, &ReadingTurns::pass);
    }
}

StreamSplitter::StreamSplitter(const QByteArray &terminator, const QByteArray &heartbeat)
    : terminator_(terminator), heartbeat_(heartbeat)
{}

void StreamSplitter::add(const QByteArray &bytes)
{
    pending_ += bytes;
}

// The length of the first message not taken; 0 while it has no end yet.
int StreamSplitter::nextLength()
{
    const int waiting = pending_.size() - start_;
    const char *at = pending_.constData() + start_;
    if (!heartbeat_.isEmpty() && waiting >= heartbeat_.size()
        && std::memcmp(at, heartbeat_.constData(), size_t(heartbeat_.size())) == 0) {
        const int length = heartbeat_.size();
        const bool ended = !terminator_.isEmpty() && waiting - length >= terminator_.size()
                           && std::memcmp(at + length, terminator_.constData(), size_t(terminator_.size())) == 0;
        return ended ? length + terminator_.size() : length;
    }
    if (!terminator_.isEmpty()) {
        const int end = pending_.indexOf(terminator_, std::max(start_, searchFrom_));
        if (end >= 0)
            return end - start_ + terminator_.size();
        searchFrom_ = std::max(start_, pending_.size() - terminator_.size() + 1);
    }
    return waiting >= kMessageBytes ? kMessageBytes : 0;
}

QList<QByteArray> StreamSplitter::take(int most)
{
    QList<QByteArray> messages;
    while (messages.size() < most) {
        const int length = nextLength();
        if (length == 0)
            break;
        messages << pending_.mid(start_, length);
        start_ += length;
    }
    // What was taken goes once it is the larger part: each byte moves a few times at most.
    if (start_ > 0 && start_ * 2 >= pending_.size()) {
        pending_.remove(0, start_);
        searchFrom_ = std::max(0, searchFrom_ - start_);
        start_ = 0;
    }
    return messages;
}

QByteArray StreamSplitter::rest()
{
    const QByteArray rest = pending_.mid(start_);
    pending_.clear();
    start_ = searchFrom_ = 0;
    return rest;
}

TcpReceiver::TcpReceiver(const Settings &settings, QObject *parent)
    : OutputReceiver(parent),
      settings_(settings),
      server_(new QTcpServer(this)),
      peers_(new PeerTable(this)),
      turns_(new ReadingTurns(this))
{
    connect(server_, &QTcpServer::newConnection, this, &TcpReceiver::accept);
    quietCheck_.setInterval(1000);
    connect(&quietCheck_, &QTimer::timeout, this, &TcpReceiver::dropQuietPeers);
}

std::optional<OpenFailure> TcpReceiver::open(const QHostAddress &address, quint16 port)
{
    int error = 0;
    const int fd = listenOn(address, port, &error);
    if (fd < 0)
        return portFailure(error, port);
    if (!server_->setSocketDescriptor(fd)) {
        ::close(fd);
        return OpenFailure{server_->errorString(), OutputReceiver::tr("换一个端口再试。")};
    }
    quietCheck_.start();
    return std::nullopt;
}

void TcpReceiver::accept()
{
    while (QTcpSocket *socket = server_->nextPendingConnection()) {
        if (links_.size() >= std::size_t(kMaxPeers))
            dropQuietest();
        attach(socket);
    }
}

void TcpReceiver::attach(QTcpSocket *socket)
{
    socket->setParent(this);
    socket->setReadBufferSize(kReadBufferBytes);
    Link &link = links_[socket];
    link.address = peerText(socket->peerAddress(), socket->peerPort());
    link.quiet.start();
    peers_->add(link.address);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { forget(socket); });
    new MessageStream(socket, settings_, turns_,
                      [this, socket](const QByteArray &bytes) { heard(socket, bytes); });
}

void TcpReceiver::heard(QTcpSocket *socket, const QByteArray &bytes)
{
    const auto found = links_.find(socket);
    if (found == links_.end())
        return;
    Link &link = found->second;
    link.quiet.restart();
    const bool heartbeat = settings_.isHeartbeat(bytes);
    peers_->heard(link.address, heartbeat);
    emit received({QDateTime::currentDateTimeUtc(), link.address, bytes, QString()});
    if (reply_.isEmpty() || heartbeat)
        return;
    // Paused at the bound, resumed only once the peer has read all: a peer
    // reading slowly is not told about at every message.
    const qint64 unsent = socket->bytesToWrite();
    if (link.replying && unsent > kMostUnsentReply) {
        emit note(OutputReceiver::tr("%1 不读取回复（%2 字节未发出），暂停回复它").arg(link.address).arg(unsent));
        link.replying = false;
    } else if (!link.replying && unsent == 0) {
        emit note(OutputReceiver::tr("%1 已读取回复，恢复回复它").arg(link.address));
        link.replying = true;
    }
    if (link.replying)
        socket->write(reply_);
}

void TcpReceiver::dropQuietPeers()
{
    QList<QTcpSocket *> quiet;
    for (const auto &[socket, link] : links_)
        if (link.quiet.hasExpired(kQuietSeconds * 1000))
            quiet << socket;
    for (QTcpSocket *socket : quiet) {
        emit note(OutputReceiver::tr("%1 已 %2 秒未发送任何内容（心跳也没有），已断开")
                      .arg(links_[socket].address)
                      .arg(kQuietSeconds));
        socket->abort();
        forget(socket);
    }
}

void TcpReceiver::forget(QTcpSocket *socket)
{
    const auto found = links_.find(socket);
    if (found != links_.end()) {
        peers_->remove(found->second.address);
        links_.erase(found);
    }
    socket->deleteLater();
}

// Makes a place for a new peer: a reader that sends will always get in,
// however many connections others hold open without sending.
void TcpReceiver::dropQuietest()
{
    const auto quietest = std::max_element(links_.begin(), links_.end(), [](const auto &a, const auto &b) {
        return a.second.quiet.elapsed() < b.second.quiet.elapsed();
    });
    emit note(OutputReceiver::tr("已有 %1 个连接：断开最久未发送的 %2（%n 秒未发送），为新连接腾出位置", nullptr,
                                 int(quietest->second.quiet.elapsed() / 1000))
                  .arg(kMaxPeers)
                  .arg(quietest->second.address));
    QTcpSocket *socket = quietest->first;
    socket->abort();
    forget(socket);
}

SerialReceiver::SerialReceiver(const Settings &settings, QObject *parent)
    : OutputReceiver(parent), settings_(settings), port_(new QSerialPort(this))
{}

std::optional<OpenFailure> SerialReceiver::open(const QString &portName)
{
    port_->setPortName(portName);
    port_->setBaudRate(settings_.baudRate);
    port_->setDataBits(QSerialPort::DataBits(settings_.dataBits));
    port_->setParity(settings_.parity == 'O'   ? QSerialPort::OddParity
                     : settings_.parity == 'E' ? QSerialPort::EvenParity
                                               : QSerialPort::NoParity);
    port_->setStopBits(settings_.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    if (!port_->open(QIODevice::ReadOnly)) {
        QString suggestion;
        if (port_->error() == QSerialPort::PermissionError)
            suggestion = OutputReceiver::tr(kSerialBusyOrForbidden);
        else if (port_->error() == QSerialPort::DeviceNotFoundError)
            suggestion = OutputReceiver::tr("检查读头的连线，或选另一个串口。");
        else
            suggestion = OutputReceiver::tr("检查串口的设置，或选另一个串口。");
        return OpenFailure{port_->errorString(), suggestion};
    }
    const QString source = portName;
    port_->setReadBufferSize(kReadBufferBytes);
    new MessageStream(port_, settings_, new ReadingTurns(this), [this, source](const QByteArray &bytes) {
        emit received({QDateTime::currentDateTimeUtc(), source, bytes, QString()});
    });
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
            emit note(OutputReceiver::tr("串口出错：%1").arg(port_->errorString()));
            port_->close();
        }
    });
    return std::nullopt;
}

namespace {

// A request's body is kept up to this; more is counted, not kept.
constexpr size_t kBodyBytes = 64 * 1024;
constexpr int kHeaderLines = 100;

struct HttpRequest
{
    QByteArray body;
    size_t dropped = 0;
};

MHD_Result collectHeader(void *lines, MHD_ValueKind, const char *key, const char *value)
{
    auto *list = static_cast<QStringList *>(lines);
    if (list->size() < kHeaderLines)
        *list << visibleText(QString::fromUtf8(key) + QLatin1String(": ")
                             + QString::fromUtf8(value ? value : ""));
    return MHD_YES;
}

MHD_Result collectArgument(void *arguments, MHD_ValueKind, const char *key, const char *value)
{
    auto *list = static_cast<QStringList *>(arguments);
    if (list->size() < kHeaderLines)
        *list << (value ? QString::fromUtf8(key) + QLatin1Char('=') + QString::fromUtf8(value)
                        : QString::fromUtf8(key));
    return MHD_YES;
}

QString clientOf(MHD_Connection *connection)
{
    const MHD_ConnectionInfo *info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr)
        return QString();
    const sockaddr *address = info->client_addr;
    quint16 port = 0;
    if (address->sa_family == AF_INET6)
        port = ntohs(reinterpret_cast<const sockaddr_in6 *>(address)->sin6_port);
    else if (address->sa_family == AF_INET)
        port = ntohs(reinterpret_cast<const sockaddr_in *>(address)->sin_port);
    return peerText(QHostAddress(address), port);
}

Message httpMessage(MHD_Connection *connection, const char *url, const char *method, const char *version,
                    const HttpRequest &request)
{
    QStringList query;
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, collectArgument, &query);
    QStringList headers;
    MHD_get_connection_values(connection, MHD_HEADER_KIND, collectHeader, &headers);
    QString target = QString::fromUtf8(url);
    if (!query.isEmpty())
        target += QLatin1Char('?') + query.join(QLatin1Char('&'));
    // Each part of the details stays one line: a decoded path or header
    // holding a line feed cannot forge another.
    const QString requestLine = visibleText(QString::fromUtf8(method) + QLatin1Char(' ') + target);
    QString details = requestLine + QLatin1Char(' ') + visibleText(QString::fromUtf8(version)) + QLatin1Char('\n')
                      + headers.join(QLatin1Char('\n'));
    if (request.dropped > 0)
        details += QLatin1Char('\n') + OutputReceiver::tr("正文另有 %1 字节未保留").arg(request.dropped);
    return {QDateTime::currentDateTimeUtc(), clientOf(connection) + QLatin1Char(' ') + requestLine, request.body,
            details};
}

MHD_Result answerRequest(void *receiver, MHD_Connection *connection, const char *url, const char *method,
                         const char *version, const char *upload, size_t *uploadSize, void **state)
{
    if (!*state) {
        *state = new HttpRequest;
        return MHD_YES;
    }
    auto *request = static_cast<HttpRequest *>(*state);
    if (*uploadSize > 0) {
        const size_t kept = std::min(*uploadSize, kBodyBytes - size_t(request->body.size()));
        request->body.append(upload, int(kept));
        request->dropped += *uploadSize - kept;
        *uploadSize = 0;
        return MHD_YES;
    }
    auto *http = static_cast<HttpReceiver *>(receiver);
    http->deliver(httpMessage(connection, url, method, version, *request));
    QByteArray reply = http->reply();
    MHD_Response *response =
        MHD_create_response_from_buffer(size_t(reply.size()), reply.data(), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
    const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_OK, response);
    MHD_destroy_response(response);
    return queued;
}

// Why a request ended before its answer went out, in the user's words;
// empty for a request answered in full.
QString terminationText(MHD_RequestTerminationCode code)
{
    switch (code) {
    case MHD_REQUEST_TERMINATED_COMPLETED_OK:
        return QString();
    case MHD_REQUEST_TERMINATED_TIMEOUT_REACHED:
        return OutputReceiver::tr("超时");
    case MHD_REQUEST_TERMINATED_CLIENT_ABORT:
        return OutputReceiver::tr("对方断开");
    case MHD_REQUEST_TERMINATED_DAEMON_SHUTDOWN:
        return OutputReceiver::tr("接收已停止");
    case MHD_REQUEST_TERMINATED_READ_ERROR:
        return OutputReceiver::tr("读取出错或超过期限");
    default:
        break;
    }
    return OutputReceiver::tr("出错");
}

void requestCompleted(void *receiver, MHD_Connection *connection, void **state, MHD_RequestTerminationCode code)
{
    delete static_cast<HttpRequest *>(*state);
    *state = nullptr;
    auto *http = static_cast<HttpReceiver *>(receiver);
    http->requestEnded(connection);
    const QString why = terminationText(code);
    if (!why.isEmpty())
        http->tell(OutputReceiver::tr("来自 %1 的 HTTP 请求未完成就被中断：%2").arg(clientOf(connection), why));
}

MHD_Result admitConnection(void *receiver, const sockaddr *address, socklen_t)
{
    return static_cast<HttpReceiver *>(receiver)->admit(plainAddress(QHostAddress(address))) ? MHD_YES : MHD_NO;
}

void connectionNotified(void *receiver, MHD_Connection *connection, void **, MHD_ConnectionNotificationCode code)
{
    auto *http = static_cast<HttpReceiver *>(receiver);
    if (code == MHD_CONNECTION_NOTIFY_STARTED)
        http->connectionStarted(connection);
    else
        http->connectionClosed(connection);
}

} // namespace

HttpReceiver::HttpReceiver(QObject *parent) : OutputReceiver(parent)
{
    qRegisterMetaType<Message>();
    deadlineCheck_.setInterval(1000);
    connect(&deadlineCheck_, &QTimer::timeout, this, &HttpReceiver::cutLateRequests);
    connect(&deadlineCheck_, &QTimer::timeout, this, &HttpReceiver::sayRefusals);
}

HttpReceiver::~HttpReceiver()
{
    // Waits for the server's thread; the listening socket closes with it.
    if (daemon_)
        MHD_stop_daemon(daemon_);
}

std::optional<OpenFailure> HttpReceiver::open(const QHostAddress &address, quint16 port)
{
    int error = 0;
    const int fd = listenOn(address, port, &error);
    if (fd < 0)
        return portFailure(error, port);
    daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO, 0, admitConnection, this,
                               answerRequest, this, MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_NOTIFY_COMPLETED,
                               requestCompleted, this, MHD_OPTION_NOTIFY_CONNECTION, connectionNotified, this,
                               MHD_OPTION_CONNECTION_TIMEOUT, kHttpQuietSeconds, MHD_OPTION_END);
    if (!daemon_) {
        ::close(fd);
        return OpenFailure{systemReason(errno), OutputReceiver::tr("换一个端口再试。")};
    }
    deadlineCheck_.start();
    return std::nullopt;
}

void HttpReceiver::connectionStarted(MHD_Connection *connection)
{
    const MHD_ConnectionInfo *info = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
    QMutexLocker lock(&connectionsLock_);
    const MHD_ConnectionInfo *client = MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    OpenConnection &opened = connections_[connection];
    opened.fd = info ? info->connect_fd : -1;
    opened.from =
        client && client->client_addr ? plainAddress(QHostAddress(client->client_addr)) : QHostAddress();
    opened.age.start();
}

// The server's own limits would refuse unseen: the limits are held here,
// and what they refuse is counted for the next check to say.
bool HttpReceiver::admit(const QHostAddress &from)
{
    QMutexLocker lock(&connectionsLock_);
    const auto same = std::count_if(connections_.begin(), connections_.end(),
                                    [&from](const auto &open) { return open.second.from == from; });
    if (connections_.size() < kHttpConnections && same < kHttpConnectionsPerAddress)
        return true;
    ++refused_;
    lastRefused_ = from;
    return false;
}

void HttpReceiver::sayRefusals()
{
    QMutexLocker lock(&connectionsLock_);
    const int refused = std::exchange(refused_, 0);
    const QString from = lastRefused_.toString();
    lock.unlock();
    if (refused > 0)
        emit note(
            OutputReceiver::tr("拒绝了 %n 个 HTTP 连接（最近一个来自 %1）：每个地址最多 %2 个连接，共最多 %3 个",
                               nullptr, refused)
                .arg(from)
                .arg(kHttpConnectionsPerAddress)
                .arg(kHttpConnections));
}

void HttpReceiver::connectionClosed(MHD_Connection *connection)
{
    QMutexLocker lock(&connectionsLock_);
    connections_.erase(connection);
}

void HttpReceiver::requestEnded(MHD_Connection *connection)
{
    QMutexLocker lock(&connectionsLock_);
    const auto found = connections_.find(connection);
    if (found != connections_.end())
        found->second.age.restart();
}

// The server closes a connection that is quiet for a while, but not one
// that trickles a header line now and then: its socket is shut here, which
// the server's thread sees as the end of the connection. The socket stays
// open until the server has said the connection closed, so the number
// shut down is always its own.
void HttpReceiver::cutLateRequests()
{
    QStringList cut;
    {
        QMutexLocker lock(&connectionsLock_);
        for (auto &[connection, opened] : connections_) {
            if (opened.cut || opened.fd < 0 || !opened.age.hasExpired(kHttpRequestSeconds * 1000))
                continue;
            ::shutdown(opened.fd, SHUT_RDWR);
            opened.cut = true;
            cut << clientOf(connection);
        }
    }
    for (const QString &client : cut)
        emit note(
            OutputReceiver::tr("%1 的 HTTP 请求 %2 秒内未完成，已断开").arg(client).arg(kHttpRequestSeconds));
}

void HttpReceiver::setReply(const QByteArray &reply)
{
    QMutexLocker lock(&replyLock_);
    reply_ = reply;
}

QByteArray HttpReceiver::reply() const
{
    QMutexLocker lock(&replyLock_);
    return reply_;
}

} // namespace output_test
