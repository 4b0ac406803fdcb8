// Readers as typed for a batch: what each text becomes, and what is refused
// with which reason.
#include <QtTest>

#include "device/reader_links.h"

class ReaderLinksTest : public QObject
{
    Q_OBJECT

private slots:
    void typedReaders_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("links");
        QTest::addColumn<QString>("refusal"); // a word of the reason; empty when taken

        const QString port = QStringLiteral("端口");
        const QString address = QStringLiteral("IPv4");
        const QString host = QStringLiteral("不是读卡器地址");
        QTest::newRow("host and port") << "reader-7.site.lan:47811" << QStringList{"tcp:reader-7.site.lan:47811"}
                                       << "";
        QTest::newRow("range, ends included")
            << "192.168.1.10-12:47811"
            << QStringList{"tcp:192.168.1.10:47811", "tcp:192.168.1.11:47811", "tcp:192.168.1.12:47811"} << "";
        QTest::newRow("range of one") << "10.0.0.5-5:1" << QStringList{"tcp:10.0.0.5:1"} << "";
        QTest::newRow("leading zeros are decimal, not octal")
            << "192.168.001.010:047811" << QStringList{"tcp:192.168.1.10:47811"} << "";
        QTest::newRow("library links, several, in order")
            << " tcp:[::1]:47811,serial:/dev/ttyUSB0:9600  ; 10.1.1.1:2"
            << QStringList{"tcp:[::1]:47811", "serial:/dev/ttyUSB0:9600", "tcp:10.1.1.1:2"} << "";
        QTest::newRow("full-width separators")
            << "10.0.0.1:1，10.0.0.2:1；10.0.0.3:1"
            << QStringList{"tcp:10.0.0.1:1", "tcp:10.0.0.2:1", "tcp:10.0.0.3:1"} << "";
        QStringList most;
        for (int last = 0; last < 128; ++last)
            most << QStringLiteral("tcp:10.0.0.%1:47811").arg(last);
        QTest::newRow("as many as taken") << "10.0.0.0-127:47811" << most << "";

        QTest::newRow("nothing") << "  , " << QStringList() << "请填写";
        QTest::newRow("no port") << "192.168.1.10" << QStringList() << port;
        QTest::newRow("empty port") << "192.168.1.10-20:" << QStringList() << port;
        QTest::newRow("port zero") << "host:0" << QStringList() << port;
        QTest::newRow("port too big") << "host:65536" << QStringList() << port;
        QTest::newRow("signed port") << "host:+80" << QStringList() << port;
        QTest::newRow("reversed range") << "192.168.1.60-10:47811" << QStringList() << "颠倒";
        QTest::newRow("octet over 255") << "192.168.1.256:47811" << QStringList() << address;
        QTest::newRow("range end over 255") << "192.168.1.250-300:47811" << QStringList() << address;
        QTest::newRow("huge octet") << "1.2.3.99999999999999:47811" << QStringList() << address;
        QTest::newRow("short address") << "10.1:47811" << QStringList() << address;
        QTest::newRow("hexadecimal address") << "0x7f.1:47811" << QStringList() << address;
        QTest::newRow("range on a short address") << "10.0.1-5:47811" << QStringList() << address;
        QTest::newRow("two ranges") << "10.0.0.1-5-7:47811" << QStringList() << address;
        QTest::newRow("too many") << "10.0.0.0-127:1 10.0.1.1:1" << QStringList() << "128";
        QTest::newRow("garbage") << "<b>reader</b>:47811" << QStringList() << host;
        QTest::newRow("bare IPv6") << "::1:47811" << QStringList() << host;
        QTest::newRow("serial without a path") << "serial:" << QStringList() << host;
        QTest::newRow("one bad entry refuses all") << "10.0.0.1:1 10.0.0.2" << QStringList() << port;
    }

    void typedReaders()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, links);
        QFETCH(QString, refusal);

        const device::TypedReaders parsed = device::parseTypedReaders(text);
        const QString problem = device::typedReadersProblemText(parsed);
        if (refusal.isEmpty()) {
            QCOMPARE(problem, QString());
            QCOMPARE(parsed.links, links);
            return;
        }
        QVERIFY2(problem.contains(refusal), qPrintable(problem));
        QVERIFY(parsed.links.isEmpty());
        // The reason names the entry at fault.
        QVERIFY2(problem.contains(parsed.entry.left(20)), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(ReaderLinksTest)
#include "test_reader_links.moc"
