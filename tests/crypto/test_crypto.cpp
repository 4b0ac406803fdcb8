// MD5, HMAC-MD5 and Base64 against their RFC vectors and against Qt's own
// implementations on random inputs.
#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdlib>

#include "crypto/base64.h"
#include "crypto/hmac_md5.h"
#include "crypto/md5.h"

namespace {

const unsigned char *bytes(const QByteArray &data)
{
    return reinterpret_cast<const unsigned char *>(data.constData());
}

QByteArray randomBytes(QRandomGenerator &random, int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (char &c : data)
        c = static_cast<char>(random.bounded(256));
    return data;
}

// MD5 fed in random pieces, to cross block boundaries at every offset.
QByteArray md5InPieces(const QByteArray &message, QRandomGenerator &random)
{
    md5_context ctx;
    md5_init(&ctx);
    for (int done = 0; done < message.size();) {
        const int piece = random.bounded(1, 100);
        const int size = qMin(piece, message.size() - done);
        md5_update(&ctx, bytes(message) + done, static_cast<size_t>(size));
        done += size;
    }
    md5_final(&ctx);
    return QByteArray(reinterpret_cast<const char *>(ctx.digest), MD5_DIGEST_SIZE);
}

QByteArray hmac(const QByteArray &text, const QByteArray &key)
{
    unsigned char digest[HMAC_MD5_DIGEST_SIZE];
    const int size = hmac_md5(bytes(text), static_cast<size_t>(text.size()), bytes(key),
                              static_cast<size_t>(key.size()), digest);
    return QByteArray(reinterpret_cast<const char *>(digest), size);
}

QByteArray base64(const QByteArray &data)
{
    char *encoded = base64_encode(bytes(data), static_cast<size_t>(data.size()));
    const QByteArray result(encoded);
    std::free(encoded);
    return result;
}

} // namespace

class CryptoTest : public QObject
{
    Q_OBJECT

private slots:
    void md5Rfc1321Suite_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
        QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("message digest")
            << QByteArray("message digest") << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
        QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                                  << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
        QTest::newRow("alphanumeric") << QByteArray(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
                                      << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
        QTest::newRow("digits") << QByteArray("1234567890").repeated(8)
                                << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
    }

    void md5Rfc1321Suite()
    {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, digest);
        unsigned char out[MD5_DIGEST_SIZE];
        QCOMPARE(md5_digest(bytes(message), static_cast<size_t>(message.size()), out), int(MD5_DIGEST_SIZE));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), MD5_DIGEST_SIZE).toHex(), digest);
    }

    void md5MatchesQtOnRandomMessages()
    {
        QRandomGenerator random(20240601);
        for (int i = 0; i < 3000; ++i) {
            const QByteArray message = randomBytes(random, random.bounded(0, 300));
            QCOMPARE(md5InPieces(message, random), QCryptographicHash::hash(message, QCryptographicHash::Md5));
        }
    }

    void hmacRfc2104Vectors_data()
    {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("0x0b key") << QByteArray(16, '\x0b') << QByteArray("Hi There")
                                  << QByteArray("9294727a3638bb1c13f48ef8158bfc9d");
        QTest::newRow("Jefe") << QByteArray("Jefe") << QByteArray("what do ya want for nothing?")
                              << QByteArray("750c783e6ab0b503eaa86e310a5db738");
        QTest::newRow("0xAA key, 0xDD text")
            << QByteArray(16, '\xaa') << QByteArray(50, '\xdd') << QByteArray("56be34521d144c88dbb8c733f0e8b3f6");
        // A key longer than a block is hashed first.
        QTest::newRow("80-byte key") << QByteArray(80, '\xaa')
                                     << QByteArray("Test Using Larger Than Block-Size Key - Hash Key First")
                                     << QByteArray("6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
    }

    void hmacRfc2104Vectors()
    {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, digest);
        QCOMPARE(hmac(text, key).toHex(), digest);
    }

    void hmacMatchesQtOnRandomInputs()
    {
        QRandomGenerator random(777);
        for (int i = 0; i < 3000; ++i) {
            const QByteArray key = randomBytes(random, random.bounded(0, 100));
            const QByteArray text = randomBytes(random, random.bounded(0, 300));
            QCOMPARE(hmac(text, key), QMessageAuthenticationCode::hash(text, key, QCryptographicHash::Md5));
        }
    }

    void hmacNullArguments()
    {
        const QByteArray key(16, 'k');
        unsigned char digest[HMAC_MD5_DIGEST_SIZE];
        hmac_md5(nullptr, 5, bytes(key), 16, digest);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(digest), 16), hmac(QByteArray(), key));
        hmac_md5(bytes(QByteArray("text")), 4, nullptr, 16, digest);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(digest), 16), hmac(QByteArray("text"), QByteArray()));
        QCOMPARE(hmac_md5(bytes(key), 16, bytes(key), 16, nullptr), int(HMAC_MD5_DIGEST_SIZE));
    }

    void base64Padding_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("encoded");
        QTest::newRow("0 bytes") << QByteArray() << QByteArray("");
        QTest::newRow("1 byte") << QByteArray("f") << QByteArray("Zg==");
        QTest::newRow("2 bytes") << QByteArray("fo") << QByteArray("Zm8=");
        QTest::newRow("3 bytes") << QByteArray("foo") << QByteArray("Zm9v");
        QTest::newRow("16 bytes") << QByteArray::fromHex("fbfff0e1d2c3b4a5968778695a4b3c2d")
                                  << QByteArray("+//w4dLDtKWWh3hpWks8LQ==");
    }

    void base64Padding()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, encoded);
        QCOMPARE(base64(data), encoded);
    }

    void base64MatchesQtOnRandomData()
    {
        QRandomGenerator random(4648);
        for (int i = 0; i < 3000; ++i) {
            const QByteArray data = randomBytes(random, random.bounded(0, 100));
            QCOMPARE(base64(data), data.toBase64());
        }
    }
};

QTEST_GUILESS_MAIN(CryptoTest)
#include "test_crypto.moc"
