#include "simulator/reader_output.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QUrl>

#include <algorithm>

#include "simulator/console.h"
#include "simulator/reader.h"
#include "simulator/reader_config.h"
#include "simulator/reader_link.h"

namespace {

// ochannel bits.
enum Channel { Keyboard = 1, Serial = 2, Ttl = 4, Wifi = 8, Wiegand = 16, Ethernet = 32 };
// HTTP's bits among owifi's (Wi-Fi) and eth's (wired) transfer methods.
constexpr int kWifiHttp = 1 | 2;
constexpr int kWiredHttp = 4 | 8;
// The longest card number a reader reads, in bytes.
constexpr int kUidBytes = 10;

QByteArray unquoted(const QByteArray &value)
{
    return value.size() >= 2 && value.startsWith('\'') && value.endsWith('\'') ? value.mid(1, value.size() - 2)
                                                                               : value;
}

// Bytes as one line of the console: printable ASCII kept, the rest as \xNN.
QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte >= 0x20 && byte < 0x7F ? QString(QChar(byte)) : QString::asprintf("\\x%02X", byte);
    }
    return text;
}

// The selected bytes of a card number as a decimal number, as wide as the
// largest number of that many bytes.
QByteArray decimalOf(const QByteArray &bytes)
{
    quint64 number = 0;
    for (const char c : bytes)
        number = (number << 8) | static_cast<unsigned char>(c);
    const quint64 largest = bytes.size() >= 8 ? ~quint64(0) : (quint64(1) << (8 * bytes.size())) - 1;
    const int width = QByteArray::number(largest).size();
    return QByteArray::number(number).rightJustified(width, '0');
}

} // namespace

ReaderOutput::ReaderOutput(const Reader &reader, ReaderLink &link, QObject *parent)
    : QObject(parent), reader_(reader), link_(link)
{
    connect(&heartbeat_, &QTimer::timeout, this, [this] { sendTcp(value("heart_data")); });
    reconfigure();
}

void ReaderOutput::reconfigure()
{
    entries_.clear();
    QVector<reader_config::Entry> entries;
    if (reader_config::parseEntries(reader_.config(), &entries))
        for (const reader_config::Entry &entry : entries)
            entries_.insert(entry.key, unquoted(entry.value));
    const QString target = QString::fromUtf8(value("taddr")) + ':' + QString::number(number("port"));
    if (socket_ && (target != target_ || wire() != Wire::Tcp)) {
        socket_->deleteLater();
        socket_ = nullptr;
    }
    target_ = target;
    const int seconds = number("heart_time");
    if (wire() == Wire::Tcp && number("heart_en") == 1 && seconds > 0 && !value("heart_data").isEmpty())
        heartbeat_.start(seconds * 1000);
    else
        heartbeat_.stop();
}

ReaderOutput::Wire ReaderOutput::wire() const
{
    switch (number("ochannel")) {
    case Serial:
    case Ttl:
        return Wire::Serial;
    case Wifi:
        return number("owifi") & kWifiHttp ? Wire::Http : Wire::Tcp;
    case Ethernet:
        return number("eth") & kWiredHttp ? Wire::Http : Wire::Tcp;
    case Wiegand:
        return Wire::Wiegand;
    }
    return Wire::Keyboard;
}

QByteArray ReaderOutput::value(const char *key) const
{
    return entries_.value(key);
}

int ReaderOutput::number(const char *key) const
{
    return entries_.value(key).trimmed().toInt();
}

// A prefix or suffix: its text, or its hexadecimal digits as bytes when the
// form key says hex.
QByteArray ReaderOutput::affix(const char *key, const char *formKey, int hexForm) const
{
    return number(formKey) == hexForm ? QByteArray::fromHex(value(key)) : value(key);
}

QByteArray ReaderOutput::terminator() const
{
    return QByteArray(number("cr") == 1 ? "\r" : "") + QByteArray(number("nl") == 1 ? "\n" : "");
}

void ReaderOutput::sendCode(const QByteArray &text)
{
    send(affix("prefix", "chorc", 2) + text + affix("postfix", "chorc", 2) + terminator());
}

void ReaderOutput::sendCard(const QString &uid)
{
    QByteArray number = QByteArray::fromHex(uid.toLatin1());
    if (uid.isEmpty() || uid.size() % 2 != 0 || number.toHex().toUpper() != uid.toUpper().toLatin1()
        || number.size() > kUidBytes)
        return say(
            QString("error: card takes the card number as up to %1 bytes of hexadecimal digits").arg(kUidBytes));
    if (this->number("nfc") != 1)
        return say("card not read: NFC is off (nfc=0)");
    if (this->number("ord") == 1)
        std::reverse(number.begin(), number.end());
    const int start = std::max(1, this->number("st"));
    const int length = std::max(1, this->number("len"));
    number = number.mid(start - 1, length);
    QByteArray shown = number;
    if (this->number("nft") == 1)
        shown = number.toHex().toUpper();
    else if (this->number("nft") == 2)
        shown = decimalOf(number);
    send(affix("pri", "horc", 1) + shown + affix("pos", "horc", 1) + terminator());
}

void ReaderOutput::send(const QByteArray &bytes)
{
    switch (wire()) {
    case Wire::Serial:
        link_.sendOnPty(bytes);
        say(QString("output sent pty %1 bytes: %2").arg(bytes.size()).arg(printable(bytes)));
        return;
    case Wire::Tcp:
        return sendTcp(bytes);
    case Wire::Http:
        return sendHttp(bytes);
    case Wire::Keyboard:
        return say("output typed on the keyboard (not sent here): " + printable(bytes));
    case Wire::Wiegand:
        return say("output on Wiegand (not sent here): " + printable(bytes));
    }
}

void ReaderOutput::sendTcp(const QByteArray &bytes)
{
    queued_ += bytes;
    if (!socket_) {
        socket_ = new QTcpSocket(this);
        QTcpSocket *socket = socket_;
        connect(socket, &QTcpSocket::connected, this, &ReaderOutput::flushTcp);
        connect(socket, &QTcpSocket::readyRead, this,
                [socket] { say("output reply: " + printable(socket->readAll())); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
            // A server that stays away is said once, not at every heartbeat.
            const QString failure = QString("output failed tcp %1: %2").arg(target_, socket->errorString());
            if (failure != lastFailure_)
                say(failure);
            lastFailure_ = failure;
            if (socket_ == socket) {
                socket_ = nullptr;
                queued_.clear();
            }
            socket->deleteLater();
        });
        socket->connectToHost(QString::fromUtf8(value("taddr")), quint16(number("port")));
        return;
    }
    if (socket_->state() == QAbstractSocket::ConnectedState)
        flushTcp();
}

void ReaderOutput::flushTcp()
{
    if (queued_.isEmpty())
        return;
    lastFailure_.clear();
    socket_->write(queued_);
    say(QString("output sent tcp %1 %2 bytes: %3").arg(target_).arg(queued_.size()).arg(printable(queued_)));
    queued_.clear();
}

void ReaderOutput::sendHttp(const QByteArray &bytes)
{
    if (!http_)
        http_ = new QNetworkAccessManager(this);
    QString address = QString::fromUtf8(value("haddr")).trimmed();
    if (!address.contains("://"))
        address.prepend("http://");
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
    QNetworkReply *reply = http_->post(request, bytes);
    connect(reply, &QNetworkReply::finished, this, [reply, address] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() == QNetworkReply::NoError)
            say(QString("output http %1 %2: %3").arg(status).arg(address, printable(reply->readAll())));
        else
            say(QString("output failed http %1: %2").arg(address, reply->errorString()));
        reply->deleteLater();
    });
}
