#ifndef TARVO_RECEIVERS_OUTPUT_RECEIVERS_H
#define TARVO_RECEIVERS_OUTPUT_RECEIVERS_H

// The receiving ends of the output test: what a reader sends to a server
// over TCP or HTTP, or down a serial line, taken in message by message. All
// of them work from the event loop or a thread of their own, never blocking
// the caller; a port that cannot be opened is said with the system's reason
// and what to try instead.

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <optional>

#include "receivers/output_log.h"
#include "receivers/output_test_settings.h"
#include "receivers/peer_table.h"

class QSerialPort;
class QTcpServer;
class QTcpSocket;
struct MHD_Connection;
struct MHD_Daemon;

namespace output_test {

class ReadingTurns;

struct OpenFailure
{
    QString reason;     // the system's words
    QString suggestion; // what to try instead
};

// Cuts a byte stream into messages: after each terminator, and a heartbeat
// as soon as it stands whole at the start. What has no end yet waits for
// the next bytes or a pause. Each message is taken from a moving start, so
// that a stream of many short messages costs no more than one long one.
class StreamSplitter
{
public:
    StreamSplitter(const QByteArray &terminator, const QByteArray &heartbeat);
    void add(const QByteArray &bytes);
    // Up to `most` whole messages, in order; the others wait for the next call.
    QList<QByteArray> take(int most);
    // What is left once the stream pauses.
    QByteArray rest();

private:
    int nextLength();

    QByteArray terminator_;
    QByteArray heartbeat_;
    QByteArray pending_;
    int start_ = 0;      // where the first message not taken begins
    int searchFrom_ = 0; // where no terminator was found before it
};

class OutputReceiver : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void received(const output_test::Message &message);
    // What the receiver did besides receiving: a peer refused or dropped, a
    // request cut off, the port stopped working.
    void note(const QString &text);
};

// Listens on the address given, every interface for QHostAddress::Any;
// several readers may connect at once. After each message that is not a
// heartbeat the reply, when there is one, goes back to its sender, unless
// the sender leaves its replies unread. A reader quiet for a minute is
// dropped, and when every place is taken the quietest makes way for a new one.
class TcpReceiver : public OutputReceiver
{
    Q_OBJECT

public:
    static constexpr int kMaxPeers = 64;
    static constexpr int kQuietSeconds = 60;
    // Unsent reply bytes beyond which a peer gets no further reply.
    static constexpr qint64 kMostUnsentReply = 1024 * 1024;

    explicit TcpReceiver(const Settings &settings, QObject *parent = nullptr);

    std::optional<OpenFailure> open(const QHostAddress &address, quint16 port);
    void setReply(const QByteArray &reply) { reply_ = reply; }
    PeerTable *peers() const { return peers_; }

private:
    struct Link
    {
        QString address;
        QElapsedTimer quiet; // since the peer last sent anything
        bool replying = true;
    };
    void accept();
    void attach(QTcpSocket *socket);
    void heard(QTcpSocket *socket, const QByteArray &bytes);
    void dropQuietPeers();
    void dropQuietest();
    void forget(QTcpSocket *socket);

    Settings settings_;
    QTcpServer *server_;
    QByteArray reply_;
    std::map<QTcpSocket *, Link> links_;
    PeerTable *peers_;
    ReadingTurns *turns_;
    QTimer quietCheck_;
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
// answered 200 with the reply. One address holds a few connections at
// most, and a request gets a deadline for the whole of it, so that peers
// trickling their headers cannot keep a reader out; what is cut off is said.
class HttpReceiver : public OutputReceiver
{
    Q_OBJECT

public:
    explicit HttpReceiver(QObject *parent = nullptr);
    ~HttpReceiver() override;

    std::optional<OpenFailure> open(const QHostAddress &address, quint16 port);
    void setReply(const QByteArray &reply);

    // Called on the server's thread.
    QByteArray reply() const;
    void deliver(const Message &message) { emit received(message); }
    void tell(const QString &text) { emit note(text); }
    // A connection opened, ended or finished a request.
    // Whether a new connection from the address is let in.
    bool admit(const QHostAddress &from);
    void connectionStarted(MHD_Connection *connection);
    void connectionClosed(MHD_Connection *connection);
    void requestEnded(MHD_Connection *connection);

private:
    struct OpenConnection
    {
        int fd;
        QHostAddress from;
        QElapsedTimer age; // since it opened or its last request ended
        bool cut = false;
    };
    void cutLateRequests();
    void sayRefusals();

    MHD_Daemon *daemon_ = nullptr;
    QMutex connectionsLock_;
    std::map<MHD_Connection *, OpenConnection> connections_;
    int refused_ = 0; // connections refused since the last check
    QHostAddress lastRefused_;
    QTimer deadlineCheck_;
    mutable QMutex replyLock_;
    QByteArray reply_;
};

} // namespace output_test

Q_DECLARE_METATYPE(output_test::Message)

#endif
