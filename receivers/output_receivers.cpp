#include "receivers/output_receivers.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace output_test {

namespace {

// A message without its terminator ends at a pause this long.
constexpr int kPauseMs = 50;
// No message grows beyond this: a reader streaming without an end is cut.
constexpr int kMessageBytes = 64 * 1024;
constexpr int kMaxPeers = 64;
constexpr unsigned kHttpTimeoutSeconds = 10;

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

OpenFailure portFailure(int error, quint16 port)
{
    QString suggestion;
    if (error == EADDRINUSE)
        suggestion = OutputReceiver::tr("另一个程序已在使用端口 %1：关闭它，或换一个端口（读头的配置一起改）。").arg(port);
    else if (error == EACCES && port < 1024)
        suggestion = OutputReceiver::tr("1024 以下的端口只有管理员能打开：换一个 1024 以上的端口（读头的配置一起改）。");
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

// A socket listening on every interface, IPv6 and IPv4 alike where the
// system has IPv6; on failure -1 and the system's error in *error.
int listenOnAllInterfaces(quint16 port, int *error)
{
    int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0) {
        const int off = 0;
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(port);
        *error = bindAndListen(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
        if (*error == 0)
            return fd;
        if (*error != EAFNOSUPPORT && *error != EADDRNOTAVAIL)
            return -1;
    }
    fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    *error = bindAndListen(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    return *error == 0 ? fd : -1;
}

// An address as people write it: IPv4 peers of a dual-stack socket without
// their IPv6 dress.
QString peerText(const QHostAddress &address, quint16 port)
{
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    const QHostAddress shown = isV4 ? QHostAddress(v4) : address;
    return shown.protocol() == QAbstractSocket::IPv6Protocol
               ? QStringLiteral("[%1]:%2").arg(shown.toString()).arg(port)
               : QStringLiteral("%1:%2").arg(shown.toString()).arg(port);
}

// Messages of one byte stream: split as they come, the rest after a pause.
void readMessages(QIODevice *device, const Settings &settings, std::function<void(const QByteArray &)> deliver)
{
    auto splitter = std::make_shared<StreamSplitter>(settings.terminator(), settings.heartbeat);
    auto *pause = new QTimer(device);
    pause->setSingleShot(true);
    pause->setInterval(kPauseMs);
    QObject::connect(pause, &QTimer::timeout, device, [splitter, deliver] {
        const QByteArray rest = splitter->rest();
        if (!rest.isEmpty())
            deliver(rest);
    });
    QObject::connect(device, &QIODevice::readyRead, device, [device, splitter, deliver, pause] {
        for (const QByteArray &message : splitter->take(device->readAll()))
            deliver(message);
        pause->start();
    });
}

} // namespace

StreamSplitter::StreamSplitter(const QByteArray &terminator, const QByteArray &heartbeat)
    : terminator_(terminator), heartbeat_(heartbeat)
{
}

QList<QByteArray> StreamSplitter::take(const QByteArray &bytes)
{
    pending_ += bytes;
    QList<QByteArray> messages;
    for (;;) {
        int length = 0;
        if (!heartbeat_.isEmpty() && pending_.startsWith(heartbeat_)) {
            length = heartbeat_.size();
            if (!terminator_.isEmpty() && pending_.mid(length).startsWith(terminator_))
                length += terminator_.size();
        } else if (const int end = terminator_.isEmpty() ? -1 : pending_.indexOf(terminator_); end >= 0) {
            length = end + terminator_.size();
        } else if (pending_.size() >= kMessageBytes) {
            length = kMessageBytes;
        } else {
            return messages;
        }
        messages << pending_.left(length);
        pending_.remove(0, length);
    }
}

QByteArray StreamSplitter::rest()
{
    QByteArray rest;
    rest.swap(pending_);
    return rest;
}

TcpReceiver::TcpReceiver(const Settings &settings, QObject *parent)
    : OutputReceiver(parent), settings_(settings), server_(new QTcpServer(this))
{
    server_->setMaxPendingConnections(kMaxPeers);
    connect(server_, &QTcpServer::newConnection, this, &TcpReceiver::accept);
}

std::optional<OpenFailure> TcpReceiver::open(quint16 port)
{
    int error = 0;
    const int fd = listenOnAllInterfaces(port, &error);
    if (fd < 0)
        return portFailure(error, port);
    if (!server_->setSocketDescriptor(fd)) {
        ::close(fd);
        return OpenFailure{server_->errorString(), OutputReceiver::tr("换一个端口再试。")};
    }
    return std::nullopt;
}

void TcpReceiver::accept()
{
    while (QTcpSocket *socket = server_->nextPendingConnection()) {
        if (peers_ >= kMaxPeers) {
            emit note(OutputReceiver::tr("%1 被拒绝：已有 %2 个连接").arg(peerText(socket->peerAddress(), socket->peerPort())).arg(kMaxPeers));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        attach(socket);
    }
}

void TcpReceiver::attach(QTcpSocket *socket)
{
    socket->setParent(this);
    ++peers_;
    const QString peer = peerText(socket->peerAddress(), socket->peerPort());
    emit note(OutputReceiver::tr("%1 已连接").arg(peer));
    connect(socket, &QTcpSocket::disconnected, this, [this, socket, peer] {
        --peers_;
        emit note(OutputReceiver::tr("%1 已断开").arg(peer));
        socket->deleteLater();
    });
    readMessages(socket, settings_, [this, socket, peer](const QByteArray &bytes) {
        emit received({QDateTime::currentDateTime(), peer, bytes, QString()});
        if (!reply_.isEmpty() && !settings_.isHeartbeat(bytes))
            socket->write(reply_);
    });
}

SerialReceiver::SerialReceiver(const Settings &settings, QObject *parent)
    : OutputReceiver(parent), settings_(settings), port_(new QSerialPort(this))
{
}

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
            suggestion = OutputReceiver::tr("串口被其他程序占用，或当前用户无权打开：关闭占用它的程序；无权时把用户加入 dialout "
                            "组（sudo usermod -aG dialout $USER）并重新登录。");
        else if (port_->error() == QSerialPort::DeviceNotFoundError)
            suggestion = OutputReceiver::tr("检查读头的连线，或选另一个串口。");
        else
            suggestion = OutputReceiver::tr("检查串口的设置，或选另一个串口。");
        return OpenFailure{port_->errorString(), suggestion};
    }
    const QString source = portName;
    readMessages(port_, settings_, [this, source](const QByteArray &bytes) {
        emit received({QDateTime::currentDateTime(), source, bytes, QString()});
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
        *list << QString::fromUtf8(key) + QLatin1String(": ") + QString::fromUtf8(value ? value : "");
    return MHD_YES;
}

MHD_Result collectArgument(void *arguments, MHD_ValueKind, const char *key, const char *value)
{
    auto *list = static_cast<QStringList *>(arguments);
    if (list->size() < kHeaderLines)
        *list << (value ? QString::fromUtf8(key) + QLatin1Char('=') + QString::fromUtf8(value) : QString::fromUtf8(key));
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
    const QString requestLine = QString::fromUtf8(method) + QLatin1Char(' ') + target;
    QString details = requestLine + QLatin1Char(' ') + QString::fromUtf8(version) + QLatin1Char('\n') + headers.join(QLatin1Char('\n'));
    if (request.dropped > 0)
        details += QLatin1Char('\n') + OutputReceiver::tr("正文另有 %1 字节未保留").arg(request.dropped);
    return {QDateTime::currentDateTime(), clientOf(connection) + QLatin1Char(' ') + requestLine, request.body, details};
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
    MHD_Response *response = MHD_create_response_from_buffer(size_t(reply.size()), reply.data(), MHD_RESPMEM_MUST_COPY);
    if (!response)
        return MHD_NO;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
    const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_OK, response);
    MHD_destroy_response(response);
    return queued;
}

void forgetRequest(void *, MHD_Connection *, void **state, MHD_RequestTerminationCode)
{
    delete static_cast<HttpRequest *>(*state);
    *state = nullptr;
}

} // namespace

HttpReceiver::HttpReceiver(QObject *parent) : OutputReceiver(parent)
{
    qRegisterMetaType<Message>();
}

HttpReceiver::~HttpReceiver()
{
    // Waits for the server's thread; the listening socket closes with it.
    if (daemon_)
        MHD_stop_daemon(daemon_);
}

std::optional<OpenFailure> HttpReceiver::open(quint16 port)
{
    int error = 0;
    const int fd = listenOnAllInterfaces(port, &error);
    if (fd < 0)
        return portFailure(error, port);
    daemon_ = MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_AUTO, 0, nullptr, nullptr, answerRequest, this,
                               MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_NOTIFY_COMPLETED, forgetRequest, nullptr,
                               MHD_OPTION_CONNECTION_LIMIT, unsigned(kMaxPeers), MHD_OPTION_CONNECTION_TIMEOUT,
                               kHttpTimeoutSeconds, MHD_OPTION_END);
    if (!daemon_) {
        ::close(fd);
        return OpenFailure{systemReason(errno), OutputReceiver::tr("换一个端口再试。")};
    }
    return std::nullopt;
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
