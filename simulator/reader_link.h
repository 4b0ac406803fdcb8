#ifndef TARVO_SIMULATOR_READER_LINK_H
#define TARVO_SIMULATOR_READER_LINK_H

#include <QByteArray>
#include <QObject>
#include <QString>

#include "simulator/fault.h"
#include "trvo/frame.h"

class QSocketNotifier;
struct Request;
class QTcpServer;
class QTcpSocket;
class Reader;

// A byte stream to one client of the reader: a TCP connection or the
// pseudo-terminal.
class Stream : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual void send(const QByteArray &bytes) = 0;
    // The connection ends, as when a cable is pulled.
    virtual void hangUp() = 0;

    QByteArray received; // bytes not yet taken as frames

signals:
    void arrived();
};

// The pseudo-terminal through which the reader looks like a serial device.
// The simulator holds the terminal's device side open itself, so that a
// client may come and go without the reader seeing a hang-up.
class PtyPort : public Stream
{
    Q_OBJECT

public:
    using Stream::Stream;
    ~PtyPort() override;

    // Opens a new pseudo-terminal; when linkPath is given, a symbolic link
    // there points to it (a stable name across restarts and hang-ups).
    bool open(const QString &linkPath, QString *error);
    QString devicePath() const { return devicePath_; }

    void send(const QByteArray &bytes) override;
    // Closes the terminal and opens a new one in its place.
    void hangUp() override;

private:
    void closePty();
    void readable();
    void flush();

    int master_ = -1;
    int device_ = -1;
    QSocketNotifier *reader_ = nullptr;
    QSocketNotifier *writer_ = nullptr;
    QByteArray pending_;
    QString devicePath_;
    QString linkPath_;
};

// Serves the reader's commands in frames over loopback TCP and a
// pseudo-terminal, misbehaving as the fault setting says.
class ReaderLink : public QObject
{
    Q_OBJECT

public:
    ReaderLink(Reader *reader, QObject *parent = nullptr);

    // Listens on 127.0.0.1; port 0 takes a free port. Says "tcp 127.0.0.1:PORT".
    bool listenTcp(quint16 port, QString *error);
    // Says "pty PATH" (the device path) and again after every hang-up.
    bool openPty(const QString &linkPath, QString *error);

    void setFault(const FaultSetting &fault) { fault_ = fault; }
    // Bytes the reader sends on its own down the pseudo-terminal, as its
    // serial output; nothing without one.
    void sendOnPty(const QByteArray &bytes);
    void setLateMs(int ms) { lateMs_ = ms; }

private:
    void attach(Stream *stream);
    void takeFrames(Stream *stream);
    void serve(Stream *stream, const Request &request);

    Reader *reader_;
    QTcpServer *server_ = nullptr;
    PtyPort *pty_ = nullptr;
    FaultSetting fault_;
    int lateMs_ = 1500;
};

#endif
