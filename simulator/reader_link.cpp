#include "simulator/reader_link.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "simulator/console.h"
#include "simulator/reader.h"

struct Request
{
    uint16_t seq;
    int32_t command;
    QByteArray payload;
};

namespace {

// What waits for a client that does not read is dropped beyond this.
const int maxPending = 1 << 20;

class TcpStream : public Stream
{
public:
    TcpStream(QTcpSocket *socket, QObject *parent) : Stream(parent), socket_(socket)
    {
        socket_->setParent(this);
        connect(socket_, &QTcpSocket::readyRead, this, [this] {
            received += socket_->readAll();
            emit arrived();
        });
        connect(socket_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    }

    void send(const QByteArray &bytes) override
    {
        if (socket_->bytesToWrite() < maxPending)
            socket_->write(bytes);
    }

    void hangUp() override { socket_->disconnectFromHost(); }

private:
    QTcpSocket *socket_;
};

void putLe32(unsigned char *p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}

QByteArray frameOf(trvo_frame_kind kind, const Request &request, const QByteArray &payload)
{
    QByteArray frame(int(trvo_frame_size(size_t(payload.size()))), '\0');
    trvo_frame_encode(reinterpret_cast<unsigned char *>(frame.data()), size_t(frame.size()), kind, request.seq,
                      request.command, payload.constData(), size_t(payload.size()));
    return frame;
}

// A sound header announcing one byte more than a frame may carry.
QByteArray oversizeHeader(const Request &request)
{
    QByteArray header = frameOf(TRVO_FRAME_REPLY, request, QByteArray()).left(TRVO_FRAME_HEADER_SIZE);
    auto *h = reinterpret_cast<unsigned char *>(header.data());
    putLe32(h + TRVO_FRAME_LENGTH_OFFSET, TRVO_FRAME_MAX_PAYLOAD + 1);
    putLe32(h + TRVO_FRAME_HEADER_CHECK_OFFSET, trvo_crc32(h, TRVO_FRAME_HEADER_CHECK_OFFSET));
    return header + QByteArray(64, 'x');
}

// Line noise, with a start marker whose header does not hold.
QByteArray noise()
{
    QByteArray bytes(48, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 37 + 11) & 0xFF);
    bytes[5] = char(TRVO_FRAME_MARKER_0);
    bytes[6] = char(TRVO_FRAME_MARKER_1);
    return bytes;
}

} // namespace

PtyPort::~PtyPort()
{
    closePty();
    if (!linkPath_.isEmpty())
        QFile::remove(linkPath_);
}

bool PtyPort::open(const QString &linkPath, QString *error)
{
    linkPath_ = linkPath;
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const char *name =
        master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0 ? ptsname(master_) : nullptr;
    if (name)
        device_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw;
    if (device_ < 0 || tcgetattr(device_, &raw) != 0) {
        *error = QString("cannot open a pseudo-terminal: %1").arg(strerror(errno));
        closePty();
        return false;
    }
    // Raw, as a serial line carries bytes: no echo, no line editing.
    cfmakeraw(&raw);
    tcsetattr(device_, TCSANOW, &raw);
    devicePath_ = QString::fromLocal8Bit(name);

    if (!linkPath_.isEmpty()) {
        // Replaced in one step, so that a client never finds the name missing.
        const QByteArray temporary = QFile::encodeName(linkPath_ + ".new");
        ::unlink(temporary.constData());
        if (::symlink(name, temporary.constData()) != 0
            || ::rename(temporary.constData(), QFile::encodeName(linkPath_).constData()) != 0) {
            *error = QString("cannot link %1 to %2: %3").arg(linkPath_, devicePath_, strerror(errno));
            closePty();
            return false;
        }
    }

    reader_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(reader_, &QSocketNotifier::activated, this, &PtyPort::readable);
    writer_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writer_->setEnabled(false);
    connect(writer_, &QSocketNotifier::activated, this, &PtyPort::flush);
    say("pty " + devicePath_);
    return true;
}

void PtyPort::closePty()
{
    delete reader_;
    delete writer_;
    reader_ = writer_ = nullptr;
    if (master_ >= 0)
        ::close(master_);
    if (device_ >= 0)
        ::close(device_);
    master_ = device_ = -1;
    pending_.clear();
    received.clear();
}

void PtyPort::hangUp()
{
    closePty();
    QString error;
    if (!open(linkPath_, &error))
        say("error: " + error);
}

void PtyPort::readable()
{
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n > 0) {
            received.append(chunk, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (!(n < 0 && errno == EAGAIN)) {
            say(QString("error: reading the pseudo-terminal: %1").arg(strerror(errno)));
            reader_->setEnabled(false);
        }
        break;
    }
    emit arrived();
}

void PtyPort::send(const QByteArray &bytes)
{
    if (master_ < 0 || pending_.size() >= maxPending)
        return;
    pending_ += bytes;
    flush();
}

void PtyPort::flush()
{
    while (!pending_.isEmpty()) {
        const ssize_t n = ::write(master_, pending_.constData(), size_t(pending_.size()));
        if (n > 0) {
            pending_.remove(0, int(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // full: wait until the client reads
        }
    }
    writer_->setEnabled(!pending_.isEmpty());
}

ReaderLink::ReaderLink(Reader *reader, QObject *parent) : QObject(parent), reader_(reader) {}

bool ReaderLink::listenTcp(quint16 port, QString *error)
{
    server_ = new QTcpServer(this);
    if (!server_->listen(QHostAddress::LocalHost, port)) {
        *error = QString("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(server_->errorString());
        return false;
    }
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = server_->nextPendingConnection())
            attach(new TcpStream(socket, this));
    });
    say(QString("tcp 127.0.0.1:%1").arg(server_->serverPort()));
    return true;
}

bool ReaderLink::openPty(const QString &linkPath, QString *error)
{
    pty_ = new PtyPort(this);
    attach(pty_);
    return pty_->open(linkPath, error);
}

void ReaderLink::sendOnPty(const QByteArray &bytes)
{
    if (pty_)
        pty_->send(bytes);
}

void ReaderLink::attach(Stream *stream)
{
    connect(stream, &Stream::arrived, this, [this, stream] { takeFrames(stream); });
}

void ReaderLink::takeFrames(Stream *stream)
{
    for (;;) {
        const auto *bytes = reinterpret_cast<const unsigned char *>(stream->received.constData());
        trvo_frame frame;
        size_t used = 0;
        const trvo_frame_status status = trvo_frame_decode(bytes, size_t(stream->received.size()), &frame, &used);
        if (status == TRVO_FRAME_INCOMPLETE) {
            stream->received.remove(0, int(used));
            return;
        }
        if (status == TRVO_FRAME_OK && frame.kind == TRVO_FRAME_REQUEST) {
            const Request request{frame.seq, frame.command,
                                  QByteArray(reinterpret_cast<const char *>(frame.payload), int(frame.length))};
            stream->received.remove(0, int(used));
            serve(stream, request);
            continue;
        }
        if (status != TRVO_FRAME_OK)
            say(status == TRVO_FRAME_OVERSIZE ? "frame dropped: oversized" : "frame dropped: bad checksum");
        stream->received.remove(0, int(used));
    }
}

void ReaderLink::serve(Stream *stream, const Request &request)
{
    const Fault fault = fault_.command == 0 || fault_.command == request.command ? fault_.fault : Fault::None;
    QByteArray reply;
    const bool known = faultCarriesOut(fault) && reader_->answer(request.command, request.payload, &reply);
    if (fault == Fault::Unterminated && reply.endsWith('\0'))
        reply.chop(1);
    if (fault == Fault::Empty)
        reply.clear();
    if (fault == Fault::Alter && request.command == 1 && reply == QByteArray(1, 0))
        reader_->alterBrightness();
    QByteArray answer = frameOf(known ? TRVO_FRAME_REPLY : TRVO_FRAME_REFUSAL, request, reply);

    switch (fault) {
    case Fault::None:
    case Fault::Unterminated:
    case Fault::Empty:
    case Fault::Refuse:
    case Fault::Alter:
        stream->send(answer);
        break;
    case Fault::Vanish:
        // Gone for good: what comes later (a new connection included) meets silence.
        fault_ = {Fault::NoAnswer, 0};
        say("fault noanswer");
        stream->hangUp();
        break;
    case Fault::NoAnswer:
        break;
    case Fault::Late:
        QTimer::singleShot(lateMs_, stream, [stream, answer] { stream->send(answer); });
        break;
    case Fault::Garbage:
        stream->send(noise());
        break;
    case Fault::Short:
        stream->send(answer.left(answer.size() / 2));
        break;
    case Fault::Oversize:
        stream->send(oversizeHeader(request));
        break;
    case Fault::Close:
        stream->hangUp();
        break;
    case Fault::BadChecksum:
        answer[answer.size() - 1] = char(answer.at(answer.size() - 1) ^ 0xFF);
        stream->send(answer);
        break;
    }
}
