// Frames between the device library and a reader: what a receiver makes of
// sound frames, noise, frames cut short, oversized and corrupted ones.
#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

#include "trvo/frame.h"

namespace {

QByteArray encode(trvo_frame_kind kind, uint16_t seq, int32_t command, const QByteArray &payload)
{
    QByteArray frame(int(trvo_frame_size(size_t(payload.size()))), '\0');
    const size_t size = trvo_frame_encode(reinterpret_cast<unsigned char *>(frame.data()), size_t(frame.size()),
                                          kind, seq, command, payload.constData(), size_t(payload.size()));
    return size == size_t(frame.size()) ? frame : QByteArray();
}

struct Decoded
{
    int status; // a trvo_frame_status
    trvo_frame frame;
    size_t consumed;
};

Decoded decode(const QByteArray &bytes)
{
    Decoded d{};
    d.status = trvo_frame_decode(reinterpret_cast<const unsigned char *>(bytes.constData()), size_t(bytes.size()),
                                 &d.frame, &d.consumed);
    return d;
}

QByteArray payloadOf(const trvo_frame &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.payload), int(f.length));
}

} // namespace

class FrameTest : public QObject
{
    Q_OBJECT

private slots:
    void crcIsTheCommonOne()
    {
        QCOMPARE(trvo_crc32("123456789", 9), 0xCBF43926u);
        QCOMPARE(trvo_crc32("", 0), 0u);
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("seq");
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("empty request") << int(TRVO_FRAME_REQUEST) << 1 << 2 << QByteArray();
        QTest::newRow("text reply") << int(TRVO_FRAME_REPLY) << 65535 << 12 << QByteArray("V1.0\0", 5);
        QTest::newRow("refusal, negative command") << int(TRVO_FRAME_REFUSAL) << 0 << -7 << QByteArray();
        QTest::newRow("largest payload")
            << int(TRVO_FRAME_REPLY) << 300 << 1 << QByteArray(TRVO_FRAME_MAX_PAYLOAD, '\xA5');
    }

    void roundTrip()
    {
        QFETCH(int, kind);
        QFETCH(int, seq);
        QFETCH(int, command);
        QFETCH(QByteArray, payload);
        const QByteArray frame = encode(trvo_frame_kind(kind), uint16_t(seq), command, payload);
        QVERIFY(!frame.isEmpty());
        const Decoded d = decode(frame);
        QCOMPARE(d.status, int(TRVO_FRAME_OK));
        QCOMPARE(d.consumed, size_t(frame.size()));
        QCOMPARE(int(d.frame.kind), kind);
        QCOMPARE(int(d.frame.seq), seq);
        QCOMPARE(d.frame.command, command);
        QCOMPARE(payloadOf(d.frame), payload);
    }

    void encodeRefusesWhatDoesNotFit()
    {
        unsigned char small[TRVO_FRAME_HEADER_SIZE + 3];
        QCOMPARE(trvo_frame_encode(small, sizeof small, TRVO_FRAME_REQUEST, 1, 2, "ab", 2), size_t(0));
        QByteArray big(TRVO_FRAME_MAX_PAYLOAD + 1, 'x');
        QByteArray out(int(trvo_frame_size(size_t(big.size()))), '\0');
        QCOMPARE(trvo_frame_encode(reinterpret_cast<unsigned char *>(out.data()), size_t(out.size()),
                                   TRVO_FRAME_REQUEST, 1, 2, big.constData(), size_t(big.size())),
                 size_t(0));
    }

    void noiseBeforeTheMarkerIsSkipped_data()
    {
        QTest::addColumn<QByteArray>("noise");
        QTest::newRow("plain bytes") << QByteArray("hello\r\n");
        QTest::newRow("marker bytes apart") << QByteArray("\xA5\x01\x5A\xA5", 4);
        QTest::newRow("marker in a broken header")
            << QByteArray("\xA5\x5A\x02\x00\x01\x00\x02\x00\x00\x00\x00\x00\x00\x00\xDE\xAD\xBE\xEF", 18);
        QTest::newRow("a frame's header with its check altered") << [] {
            QByteArray f = encode(TRVO_FRAME_REPLY, 9, 2, "x");
            f[TRVO_FRAME_HEADER_CHECK_OFFSET] = char(f.at(TRVO_FRAME_HEADER_CHECK_OFFSET) ^ 1);
            return f.left(TRVO_FRAME_HEADER_SIZE);
        }();
    }

    void noiseBeforeTheMarkerIsSkipped()
    {
        QFETCH(QByteArray, noise);
        const QByteArray frame = encode(TRVO_FRAME_REPLY, 7, 12, "V2");
        const QByteArray input = noise + frame;
        const Decoded d = decode(input);
        QCOMPARE(d.status, int(TRVO_FRAME_OK));
        QCOMPARE(d.consumed, size_t(noise.size() + frame.size()));
        QCOMPARE(int(d.frame.seq), 7);
        QCOMPARE(payloadOf(d.frame), QByteArray("V2"));

        // Noise alone is dropped up to what may still begin a frame.
        const Decoded alone = decode(noise);
        QCOMPARE(alone.status, int(TRVO_FRAME_INCOMPLETE));
        QVERIFY(alone.consumed == size_t(noise.size())
                || noise.at(int(alone.consumed)) == char(TRVO_FRAME_MARKER_0));
    }

    // However a frame is cut, the receiver waits for more and never takes a
    // part for the whole, nor drops the part that has arrived.
    void cutShortAtEveryByte()
    {
        const QByteArray frame = encode(TRVO_FRAME_REPLY, 3, 2, "key=1,other='a,b'");
        for (int cut = 0; cut < frame.size(); ++cut) {
            const Decoded d = decode(frame.left(cut));
            QCOMPARE(d.status, int(TRVO_FRAME_INCOMPLETE));
            QCOMPARE(d.consumed, size_t(0));
        }
    }

    void corruptedPayloadFailsItsCheck_data()
    {
        QTest::addColumn<int>("flipAt");
        const QByteArray frame = encode(TRVO_FRAME_REPLY, 1, 2, "abcdef");
        QTest::newRow("first payload byte") << int(TRVO_FRAME_HEADER_SIZE);
        QTest::newRow("last payload byte") << int(TRVO_FRAME_HEADER_SIZE) + 5;
        QTest::newRow("checksum byte") << frame.size() - 1;
    }

    void corruptedPayloadFailsItsCheck()
    {
        QFETCH(int, flipAt);
        QByteArray frame = encode(TRVO_FRAME_REPLY, 1, 2, "abcdef");
        frame[flipAt] = char(frame.at(flipAt) ^ 0x40);
        const Decoded d = decode(frame);
        QCOMPARE(d.status, int(TRVO_FRAME_BAD_CHECKSUM));
        QCOMPARE(d.consumed, size_t(TRVO_FRAME_HEADER_SIZE));
    }

    // An oversized length is refused from the header alone, before any of
    // the announced payload has to arrive.
    void oversizedLengthIsRefusedAtOnce()
    {
        QByteArray header = encode(TRVO_FRAME_REPLY, 1, 2, QByteArray()).left(TRVO_FRAME_HEADER_SIZE);
        auto *h = reinterpret_cast<unsigned char *>(header.data());
        const uint32_t length = TRVO_FRAME_MAX_PAYLOAD + 1;
        std::memcpy(h + TRVO_FRAME_LENGTH_OFFSET, &length, 4); // little-endian host
        const uint32_t check = trvo_crc32(h, TRVO_FRAME_HEADER_CHECK_OFFSET);
        std::memcpy(h + TRVO_FRAME_HEADER_CHECK_OFFSET, &check, 4);
        const Decoded d = decode(QByteArray("zz") + header);
        QCOMPARE(d.status, int(TRVO_FRAME_OVERSIZE));
        QCOMPARE(d.consumed, size_t(2 + TRVO_FRAME_HEADER_SIZE));
    }

    void framesBackToBackComeOneAtATime()
    {
        const QByteArray first = encode(TRVO_FRAME_REPLY, 1, 2, "one");
        const QByteArray second = encode(TRVO_FRAME_REPLY, 2, 12, "two");
        const QByteArray input = first + second;
        const Decoded d = decode(input);
        QCOMPARE(d.status, int(TRVO_FRAME_OK));
        QCOMPARE(d.consumed, size_t(first.size()));
        QCOMPARE(payloadOf(d.frame), QByteArray("one"));
    }

    // Random input (marker bytes plentiful) never makes the decoder claim
    // more than it was given, nor find a frame where none was sent.
    void randomBytesAreHandledSafely()
    {
        QRandomGenerator random(20240607);
        for (int round = 0; round < 2000; ++round) {
            QByteArray bytes(int(random.bounded(200)), '\0');
            for (char &c : bytes) {
                const quint32 pick = random.bounded(4);
                c = char(pick == 0 ? TRVO_FRAME_MARKER_0 : pick == 1 ? TRVO_FRAME_MARKER_1 : random.bounded(256));
            }
            const Decoded d = decode(bytes);
            QVERIFY(d.consumed <= size_t(bytes.size()));
            QVERIFY(d.status != TRVO_FRAME_OK);
        }
    }
};

QTEST_APPLESS_MAIN(FrameTest)
#include "test_frame.moc"
