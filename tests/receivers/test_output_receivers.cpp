// The receiving ends of the output test against real peers on loopback,
// and the simulator's output as a receiver sees it on the wire.
#include <QAbstractItemModelTester>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "receivers/output_receivers.h"
#include "support/reader_sim.h"

using namespace output_test;

namespace {

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}

// What arrives on a terminal within the time, read raw.
QByteArray readTerminal(int fd, int expected, int timeoutMs)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    while (bytes.size() < expected && clock.elapsed() < timeoutMs) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 50) > 0) {
            char chunk[256];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0)
                bytes.append(chunk, int(n));
        }
    }
    return bytes;
}

} // namespace

class OutputReceiversTest : public QObject
{
    Q_OBJECT

private slots:
    void streamIsSplit_data()
    {
        QTest::addColumn<QByteArray>("terminator");
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("messages");
        QTest::addColumn<QByteArray>("rest");
        QTest::newRow("terminator across chunks") << QByteArray("\r\n") << QByteArrayList{"AB1\r", "\nAB2\r\nAB"}
                                                  << QByteArrayList{"AB1\r\n", "AB2\r\n"} << QByteArray("AB");
        QTest::newRow("heartbeat before a code")
            << QByteArray("\r") << QByteArrayList{"HBAB1\r"} << QByteArrayList{"HB", "AB1\r"} << QByteArray();
        QTest::newRow("heartbeat with its terminator")
            << QByteArray("\r") << QByteArrayList{"HB\rHB"} << QByteArrayList{"HB\r", "HB"} << QByteArray();
        QTest::newRow("no terminator waits for a pause")
            << QByteArray() << QByteArrayList{"AB1", "AB2"} << QByteArrayList{} << QByteArray("AB1AB2");
        const QByteArray endless(64 * 1024 + 5, 'x');
        QTest::newRow("endless stream is cut") << QByteArray("\r") << QByteArrayList{endless}
                                               << QByteArrayList{endless.left(64 * 1024)} << QByteArray("xxxxx");
    }

    void streamIsSplit()
    {
        QFETCH(QByteArray, terminator);
        QFETCH(QByteArrayList, chunks);
        StreamSplitter splitter(terminator, "HB");
        QByteArrayList messages;
        for (const QByteArray &chunk : chunks) {
            splitter.add(chunk);
            // Taken a few at a time, as a turn of the event loop takes them.
            for (QByteArrayList some = splitter.take(2); !some.isEmpty(); some = splitter.take(2))
                messages += some;
        }
        QTEST(messages, "messages");
        QTEST(splitter.rest(), "rest");
    }

    // A 10 MB stream of short messages in uneven chunks: every message
    // comes out once and in order, none cut or joined.
    void floodIsSplitOnce()
    {
        QByteArray stream;
        int count = 0;
        while (stream.size() < 10 * 1000 * 1000)
            stream += "C" + QByteArray::number(count++) + "\r\n";
        StreamSplitter splitter("\r\n", "HB");
        int next = 0;
        for (int at = 0, chunk = 1; at < stream.size(); at += chunk, chunk = chunk % 70000 + 4093) {
            splitter.add(stream.mid(at, chunk));
            for (const QByteArray &message : splitter.take(500)) {
                QCOMPARE(message, "C" + QByteArray::number(next) + "\r\n");
                ++next;
            }
        }
        for (QByteArrayList rest = splitter.take(500); !rest.isEmpty(); rest = splitter.take(500))
            next += rest.size();
        QCOMPARE(next, count);
        QCOMPARE(splitter.rest(), QByteArray());
    }

    void httpPortIsRead_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::newRow("with port") << "http://192.168.1.9:8081/scan?x=1" << 8081;
        QTest::newRow("no scheme") << "192.168.1.9:9000/scan" << 9000;
        QTest::newRow("default") << "http://server/scan" << 80;
        QTest::newRow("https") << "https://server/scan" << 443;
        QTest::newRow("port out of range") << "http://server:70000/" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void httpPortIsRead()
    {
        QFETCH(QString, address);
        QTEST(int(httpPortOf(address)), "port");
    }

    // What cannot be listened on is said with the system's reason: a
    // link-local address is looked for on the interface its name carries,
    // not refused as lacking one.
    void openFailureIsSaid_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("error");
        QTest::newRow("port in use") << "127.0.0.1" << EADDRINUSE;
        QTest::newRow("link-local, not on its interface") << "fe80::1%lo" << EADDRNOTAVAIL;
    }

    void openFailureIsSaid()
    {
        QFETCH(QString, address);
        QFETCH(int, error);
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        TcpReceiver receiver{Settings()};
        const std::optional<OpenFailure> failure = receiver.open(QHostAddress(address), other.serverPort());
        QVERIFY(failure);
        QCOMPARE(failure->reason, QString::fromLocal8Bit(std::strerror(error)));
    }

    // Two readers at once: each message answered to its own sender, a
    // heartbeat not at all.
    void tcpServesSeveralReaders()
    {
        Settings settings;
        settings.carriageReturn = true;
        settings.heartbeat = "HB";
        TcpReceiver receiver(settings);
        const quint16 port = freePort();
        QVERIFY(!receiver.open(QHostAddress::LocalHost, port));
        receiver.setReply("OK");
        QSignalSpy received(&receiver, &OutputReceiver::received);
        QTcpSocket first, second;
        for (QTcpSocket *reader : {&first, &second}) {
            reader->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(reader->waitForConnected(5000));
        }
        first.write("HB");
        first.write("A1\r");
        second.write("B1\r");
        QTRY_COMPARE(received.size(), 3);
        QTRY_COMPARE(first.bytesAvailable(), qint64(2));
        QTRY_COMPARE(second.bytesAvailable(), qint64(2));
        QTest::qWait(100);
        QCOMPARE(first.readAll(), QByteArray("OK"));
        QCOMPARE(second.readAll(), QByteArray("OK"));
        QVERIFY(received.at(0).at(0).value<Message>().source.startsWith("127.0.0.1:"));
    }

    // A hundred peers that connect and send nothing cannot keep a reader
    // out: the quietest make way, each said in a note, and the reader's
    // message arrives; the peers table lists the connected ones.
    void idlePeersMakeWayForAReader()
    {
        Settings settings;
        settings.carriageReturn = true;
        TcpReceiver receiver(settings);
        QAbstractItemModelTester tester(receiver.peers(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const quint16 port = freePort();
        QVERIFY(!receiver.open(QHostAddress::LocalHost, port));
        QSignalSpy received(&receiver, &OutputReceiver::received);
        QSignalSpy notes(&receiver, &OutputReceiver::note);
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < 100; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(idle.back()->waitForConnected(5000));
        }
        QTRY_COMPARE(notes.size(), 100 - TcpReceiver::kMaxPeers);
        QTcpSocket reader;
        reader.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(reader.waitForConnected(5000));
        reader.write("6901234567892\r");
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).value<Message>().bytes, QByteArray("6901234567892\r"));
        QVERIFY2(notes.last().at(0).toString().contains("64"), qPrintable(notes.last().at(0).toString()));
        QCOMPARE(receiver.peers()->rowCount(), TcpReceiver::kMaxPeers);
        QTRY_COMPARE(idle.front()->state(), QAbstractSocket::UnconnectedState);
        const QModelIndex last = receiver.peers()->index(TcpReceiver::kMaxPeers - 1, PeerTable::Messages);
        QTRY_COMPARE(last.data().toInt(), 1);
    }

    // A peer that sends and never reads its replies: the replies stop at
    // the bound, said once, and its messages still arrive.
    void unreadRepliesAreBounded()
    {
        Settings settings;
        settings.carriageReturn = true;
        TcpReceiver receiver(settings);
        const quint16 port = freePort();
        QVERIFY(!receiver.open(QHostAddress::LocalHost, port));
        receiver.setReply(QByteArray(64 * 1024, 'R'));
        QSignalSpy received(&receiver, &OutputReceiver::received);
        QSignalSpy notes(&receiver, &OutputReceiver::note);
        QTcpSocket deaf;
        deaf.setReadBufferSize(1024);
        deaf.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(deaf.waitForConnected(5000));
        const int sent = 1000;
        for (int i = 0; i < sent; ++i)
            deaf.write("C" + QByteArray::number(i) + "\r");
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), sent, 20000);
        QVERIFY(!notes.isEmpty());
        QVERIFY2(notes.at(0).at(0).toString().contains("暂停回复"), qPrintable(notes.at(0).at(0).toString()));
        QVERIFY(deaf.state() == QAbstractSocket::ConnectedState);
    }

    // Seventy connections from one address trickling header lines hold at
    // most a few places, the others refused and said: a reader's POST from
    // another address arrives.
    void slowHeadersKeepNoReaderOut()
    {
        HttpReceiver receiver;
        const quint16 port = freePort();
        QVERIFY(!receiver.open(QHostAddress::Any, port));
        QSignalSpy received(&receiver, &OutputReceiver::received);
        QSignalSpy notes(&receiver, &OutputReceiver::note);
        std::vector<std::unique_ptr<QTcpSocket>> slow;
        for (int i = 0; i < 70; ++i) {
            slow.push_back(std::make_unique<QTcpSocket>());
            QVERIFY(slow.back()->bind(QHostAddress("127.0.0.2")));
            slow.back()->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(slow.back()->waitForConnected(5000));
            slow.back()->write("POST /scan HTTP/1.1\r\nHost: x\r\n");
        }
        QTimer trickle;
        connect(&trickle, &QTimer::timeout, [&slow] {
            for (auto &socket : slow)
                socket->write("X-Slow: 1\r\n");
        });
        trickle.start(500);
        QNetworkAccessManager client;
        QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1/scan").arg(port)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
        std::unique_ptr<QNetworkReply> reply(client.post(request, QByteArray("6901234567892")));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        QVERIFY(finished.wait(8000));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.at(0).at(0).value<Message>().bytes, QByteArray("6901234567892"));
        QTRY_VERIFY(!notes.isEmpty());
        const QString said = notes.at(0).at(0).toString();
        QVERIFY2(said.contains("拒绝") && said.contains("127.0.0.2"), qPrintable(said));
    }

    // A request shows its query and headers; a body past the limit is cut
    // and said so, and still answered 200.
    void httpShowsTheRequest()
    {
        HttpReceiver receiver;
        const quint16 port = freePort();
        QVERIFY(!receiver.open(QHostAddress::LocalHost, port));
        receiver.setReply("done");
        QSignalSpy received(&receiver, &OutputReceiver::received);
        QNetworkAccessManager client;
        QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1/scan?code=42&dev=7").arg(port)));
        request.setRawHeader("X-Reader", "RN450");
        request.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
        QNetworkReply *reply = client.post(request, QByteArray(70 * 1024, 'z'));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        QVERIFY(finished.wait(5000));
        QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QCOMPARE(reply->readAll(), QByteArray("done"));
        QTRY_COMPARE(received.size(), 1);
        const Message message = received.at(0).at(0).value<Message>();
        QVERIFY(message.source.endsWith(" POST /scan?code=42&dev=7"));
        QCOMPARE(message.bytes.size(), 64 * 1024);
        QVERIFY(message.details.contains("X-Reader: RN450"));
        QVERIFY(message.details.contains(QString::number(6 * 1024)));
        delete reply;
    }

    // The simulator's bytes for a code or a card under a configuration, on
    // its terminal as a serial receiver reads them.
    void simulatorSendsWhatItsConfigurationSays_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("code, char affixes, CR")
            << QByteArray("ochannel=2,prefix='AB',postfix='XY',chorc=1,cr=1,nl=0") << "code 12345"
            << QByteArray("AB12345XY\r");
        QTest::newRow("code, hex affixes, LF")
            << QByteArray("ochannel=4,prefix='02',postfix='0D0A',chorc=2,cr=0,nl=1") << "code 9"
            << QByteArray("\x02"
                          "9\r\n\n");
        const QByteArray card = "ochannel=2,nfc=1,pri='',pos='',horc=0,cr=1,nl=1,";
        QTest::newRow("card reversed, decimal") << card + "ord=1,st=1,len=4,nft=2"
                                                << "card 04A1B2C3" << QByteArray("3283263748\r\n");
        QTest::newRow("card one byte, decimal") << card + "ord=0,st=1,len=1,nft=2"
                                                << "card 04A1B2C3" << QByteArray("004\r\n");
        QTest::newRow("card middle, hex, hex affixes")
            << QByteArray("ochannel=2,nfc=1,ord=0,st=2,len=2,nft=1,pri='3C',pos='3E',horc=1") << "card 04A1B2C3"
            << QByteArray("<A1B2>");
        QTest::newRow("card direct") << QByteArray("ochannel=2,nfc=1,ord=0,st=1,len=3,nft=0,pri='C',horc=0")
                                     << "card 04A1B2C3" << QByteArray("C\x04\xA1\xB2");
    }

    void simulatorSendsWhatItsConfigurationSays()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, command);
        QFETCH(QByteArray, bytes);
        ReaderSim sim;
        QVERIFY(writeState(sim, config));
        QVERIFY(sim.start());
        const int terminal =
            ::open(QFile::encodeName(sim.ptyLink()).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        QVERIFY(terminal >= 0);
        QVERIFY(sim.control(command, "output sent pty"));
        QCOMPARE(readTerminal(terminal, bytes.size() + 1, 500), bytes);
        ::close(terminal);
    }

    void simulatorReadsNoCardWithNfcOff()
    {
        ReaderSim sim;
        QVERIFY(writeState(sim, "ochannel=2,nfc=0,cr=1"));
        QVERIFY(sim.start());
        QVERIFY(sim.control("card 04A1B2C3", "card not read"));
        QVERIFY(sim.control("card 0G", "error: card takes"));
    }

private:
    static bool writeState(const ReaderSim &sim, const QByteArray &config)
    {
        QFile state(sim.statePath());
        return state.open(QIODevice::WriteOnly)
               && state.write("{\"config\": \"" + config
                              + "\", \"password\": \"Tarvo#Factory#16\", \"firmware\": \"T\"}")
                      > 0;
    }
};

QTEST_MAIN(OutputReceiversTest)
#include "test_output_receivers.moc"
