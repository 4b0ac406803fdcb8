#ifndef TARVO_RECEIVERS_OUTPUT_RECEIVERS_H
#define TARVO_RECEIVERS_OUTPUT_RECEIVERS_H

// The receiving ends of the output test: what a reader sends to a server
// over TCP or HTTP, or down a serial line, taken in message by message. All
// of them work from the event loop or a thread of their own, never blocking
// the caller; a port that cannot be opened is said with the system's reason
// and what to try instead.

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>

#include <optional>

#include "receivers/output_log.h"
#include "receivers/output_test_settings.h"

class QSerialPort;
class QTcpServer;
class QTcpSocket;
struct MHD_Daemon;

namespace output_test {

struct OpenFailure
{
    QString reason;     // the system's words
    QString suggestion; // what to try instead
};

// Cuts a byte stream into messages: after each terminator, and a heartbeat
// as soon as it stands whole at the start. What has no end yet waits for
// the next bytes or a pause.
class StreamSplitter
{
public:
    StreamSplitter(const QByteArray &terminator, const QByteArray &heartbeat);
    QList<QByteArray> take(const QByteArray &bytes);
    // What is left once the stream pauses.
    QByteArray rest();

private:
    QByteArray terminator_;
    QByteArray heartbeat_;
    QByteArray pending_;
};

class OutputReceiver : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void received(const output_test::Message &message);
    // A peer came or went, or the port stopped working.
    void note(const QString &text);
};

// Listens on all interfaces; several readers may connect at once. After
// each message that is not a heartbeat the reply, when there is one, goes
// back to its sender.
class TcpReceiver : public OutputReceiver
{
    Q_OBJECT

public:
    explicit TcpReceiver(const Settings &settings, QObject *parent = nullptr);

    std::optional<OpenFailure> open(quint16 port);
    void setReply(const QByteArray &reply) { reply_ = reply; }

private:
    void accept();
    void attach(QTcpSocket *socket);

    Settings settings_;
    QTcpServer *server_;
    QByteArray reply_;
    // Peers connected and not yet gone.
    int peers_ = 0;
};

// A serial port with the form's line settings.
class SerialReceiver : public OutputReceiver
{
    Q_OBJECT

public:
    explicit SerialReceiver(const Settings &settings, QObject *parent = nullptr);

    std::optional<OpenFailure> open(const QString &portName);

private:
    Settings settings_;
    QSerialPort *port_;
};

// An HTTP server on its own thread: each request becomes a message holding
// its body, with method, path, query and headers in the details, and is
// answered 200 with the reply.
class HttpReceiver : public OutputReceiver
{
    Q_OBJECT

public:
    explicit HttpReceiver(QObject *parent = nullptr);
    ~HttpReceiver() override;

    std::optional<OpenFailure> open(quint16 port);
    void setReply(const QByteArray &reply);

    // Called on the server's thread.
    QByteArray reply() const;
    void deliver(const Message &message) { emit received(message); }

private:
    MHD_Daemon *daemon_ = nullptr;
    mutable QMutex replyLock_;
    QByteArray reply_;
};

} // namespace output_test

Q_DECLARE_METATYPE(output_test::Message)

#endif
