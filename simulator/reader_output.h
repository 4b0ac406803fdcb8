#ifndef TARVO_SIMULATOR_READER_OUTPUT_H
#define TARVO_SIMULATOR_READER_OUTPUT_H

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QTcpSocket;
class Reader;
class ReaderLink;

// What the reader sends when it reads a code or a card, over the output
// channel its configuration names: a TCP connection it keeps (with its
// heartbeats), an HTTP request, or bytes on its pseudo-terminal. See
// simulator/README.md for the bytes.
class ReaderOutput : public QObject
{
public:
    ReaderOutput(const Reader &reader, ReaderLink &link, QObject *parent = nullptr);

    void sendCode(const QByteArray &text);
    // uid: the card's number in hexadecimal digits, as read.
    void sendCard(const QString &uid);
    // The configuration changed: the TCP target and the heartbeat follow it.
    void reconfigure();

private:
    enum class Wire { Keyboard, Serial, Tcp, Http, Wiegand };
    Wire wire() const;
    QByteArray value(const char *key) const;
    int number(const char *key) const;
    QByteArray affix(const char *key, const char *formKey, int hexForm) const;
    QByteArray terminator() const;
    void send(const QByteArray &bytes);
    void sendTcp(const QByteArray &bytes);
    void sendHttp(const QByteArray &bytes);
    void flushTcp();

    const Reader &reader_;
    ReaderLink &link_;
    QHash<QByteArray, QByteArray> entries_;
    QTcpSocket *socket_ = nullptr;
    QString target_; // host:port the socket is for
    QByteArray queued_;
    QString lastFailure_;
    QTimer heartbeat_;
    QNetworkAccessManager *http_ = nullptr;
};

#endif
