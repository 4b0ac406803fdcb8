// The buffer block shared with the device library: its layout, its copies,
// and the way back from a payload address to its block.
#include <QtTest>

#include <cstring>

#include "trvo/rpc_buffer.h"

class RpcBufferTest : public QObject
{
    Q_OBJECT

private slots:
    void newCopiesAndLaysOut_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<bool>("withSource");
        QTest::newRow("empty, no source") << QByteArray() << false;
        QTest::newRow("empty source") << QByteArray("") << true;
        QTest::newRow("one byte") << QByteArray("\x01", 1) << true;
        QTest::newRow("text with NULs") << QByteArray("a\0b\0c", 5) << true;
        QTest::newRow("no source, five bytes") << QByteArray(5, '\0') << false;
    }

    void newCopiesAndLaysOut()
    {
        QFETCH(QByteArray, source);
        QFETCH(bool, withSource);
        const int32_t n = source.size();
        rpc_buffer *buffer = rpc_buffer_new(withSource ? source.constData() : nullptr, n);
        QVERIFY(buffer);
        QCOMPARE(rpc_buffer_len(buffer), n);

        // The layout is the contract with the library: length at offset 4 in
        // host order, payload at offset 8.
        const char *block = reinterpret_cast<const char *>(buffer);
        int32_t lengthField = -1;
        std::memcpy(&lengthField, block + 4, sizeof lengthField);
        QCOMPARE(lengthField, n);
        QCOMPARE(static_cast<const void *>(rpc_buffer_data(buffer)),
                 static_cast<const void *>(block + RPC_BUFFER_HEADER_SIZE));
        if (withSource)
            QCOMPARE(QByteArray(rpc_buffer_data(buffer), n), source);

        QCOMPARE(rpc_buffer_of_data(rpc_buffer_data(buffer)), buffer);
        rpc_buffer_free(rpc_buffer_of_data(rpc_buffer_data(buffer)));
    }

    void sourceIsCopiedNotKept()
    {
        QByteArray source("abc");
        rpc_buffer *buffer = rpc_buffer_new(source.constData(), source.size());
        source[0] = 'x';
        QCOMPARE(QByteArray(rpc_buffer_data(buffer), 3), QByteArray("abc"));
        rpc_buffer_free(buffer);
    }

    void refusesNegativeCount()
    {
        QVERIFY(!rpc_buffer_new("abc", -1));
        QVERIFY(!rpc_buffer_new(nullptr, INT32_MIN));
    }

    // A caller may hold a null buffer after a failed call or allocation.
    void nullBufferIsHarmless()
    {
        QVERIFY(!rpc_buffer_data(nullptr));
        QCOMPARE(rpc_buffer_len(nullptr), 0);
        QVERIFY(!rpc_buffer_of_data(nullptr));
        rpc_buffer_free(nullptr);
    }
};

QTEST_APPLESS_MAIN(RpcBufferTest)
#include "test_rpc_buffer.moc"
