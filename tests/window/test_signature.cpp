// The window's signature of an enveloped text: the configuration password's
// length check and the digest over the text's UTF-8 bytes.
#include <QLineEdit>
#include <QMessageAuthenticationCode>
#include <QtTest>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/widget.h"

class SignatureTest : public QObject
{
    Q_OBJECT

private slots:
    void passwordOfWrongLengthIsRefused_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("empty") << QString();
        QTest::newRow("15 characters") << QString("0123456789abcde");
    }

    void passwordOfWrongLengthIsRefused()
    {
        QFETCH(QString, password);
        Widget w;
        WidgetProbe probe(w);
        formChild<QLineEdit>(w, "manpw")->setText(password);
        probe.configText() = "___TRVO_CONFIG_V1.1.0___{w_mode=1}";
        char digest[17];
        std::fill(std::begin(digest), std::end(digest), 'x');

        MessageBoxAnswerer answerer;
        QCOMPARE(probe.getHmac(probe.configText(), digest), -1);
        QCOMPARE(answerer.summary(), QStringList{"注意 / 配置密码的长度需要为16个字符"});
        QCOMPARE(answerer.seen().first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(answerer.seen().first().parent, &w);
        QVERIFY(probe.configText().isEmpty());
        QVERIFY(std::all_of(std::begin(digest), std::end(digest), [](char c) { return c == 'x'; }));
    }

    // The key is the password's Latin-1, the message the text's UTF-8. A
    // password beyond Latin-1 is refused: it would sign as "?"s, the same as
    // any other password of as many such characters.
    void digestOverUtf8KeyedByLatin1_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("ASCII") << QString("0123456789abcdef") << QByteArray("0123456789abcdef")
                               << QString("___TRVO_CONFIG_V1.1.0___{w_mode=1}");
        QTest::newRow("Latin-1 password") << QString("éééé456789abcdef")
                                          << QByteArray("\xe9\xe9\xe9\xe9"
                                                        "456789abcdef")
                                          << QString("___TRVO_CONFIG_V1.1.0___{w_mode=1}");
        QTest::newRow("Chinese password, refused") << QString("配置密码456789abcdef") << QByteArray()
                                                   << QString("___TRVO_CONFIG_V1.1.0___{prefix='扫码',w_mode=1}");
    }

    void digestOverUtf8KeyedByLatin1()
    {
        QFETCH(QString, password);
        QFETCH(QByteArray, key);
        QFETCH(QString, text);
        Widget w;
        WidgetProbe probe(w);
        formChild<QLineEdit>(w, "manpw")->setText(password);
        char digest[17];
        digest[16] = 'x';

        MessageBoxAnswerer answerer;
        if (key.isEmpty()) {
            QCOMPARE(probe.getHmac(text, digest), -1);
            QCOMPARE(answerer.summary(),
                     QStringList{"注意 / 配置密码只能包含 Latin-1 字符（西文字母、数字和符号）"});
            return;
        }
        QCOMPARE(probe.getHmac(text, digest), 0);
        QVERIFY(answerer.seen().isEmpty());
        QCOMPARE(digest[16], '\0');
        QCOMPARE(QByteArray(digest, 16),
                 QMessageAuthenticationCode::hash(text.toUtf8(), key, QCryptographicHash::Md5));
    }
};

QTEST_MAIN(SignatureTest)
#include "test_signature.moc"
