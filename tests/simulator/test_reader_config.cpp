// How the simulated reader reads a configuration: the entries, the envelope
// and signature, and the update of its own text and password. The simulator
// is the other side of every device test, so its reading must be right.
#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QtTest>

#include "simulator/reader_config.h"

using reader_config::Verdict;

namespace {

const QByteArray password = "Tarvo#Factory#16";

QByteArray signedText(const QByteArray &body, const QByteArray &key = password)
{
    const QByteArray enveloped = "___TRVO_CONFIG_V1.1.0___{" + body + "}";
    return enveloped + "--"
           + QMessageAuthenticationCode::hash(enveloped, key, QCryptographicHash::Md5).toBase64();
}

// Entries shown as lead|key|value lines.
QStringList shown(const QVector<reader_config::Entry> &entries)
{
    QStringList lines;
    for (const auto &e : entries)
        lines << QString::fromUtf8(e.lead + '|' + e.key + '|' + e.value);
    return lines;
}

} // namespace

class ReaderConfigTest : public QObject
{
    Q_OBJECT

private slots:
    void parseEntries_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("bare values") << QByteArray("a=1,b_2=x y") << true << QStringList{"|a|1", "|b_2|x y"};
        QTest::newRow("empty") << QByteArray() << true << QStringList{};
        QTest::newRow("trailing comma") << QByteArray("a=1,") << true << QStringList{"|a|1"};
        QTest::newRow("empty bare and quoted") << QByteArray("a=,p=''") << true << QStringList{"|a|", "|p|''"};
        QTest::newRow("quoted comma") << QByteArray("prefix='a,b',cr=1") << true
                                      << QStringList{"|prefix|'a,b'", "|cr|1"};
        QTest::newRow("quote and comma inside")
            << QByteArray("prefix='a,b'c',cr=1") << true << QStringList{"|prefix|'a,b'c'", "|cr|1"};
        QTest::newRow("quote, comma, no key after")
            << QByteArray("p='a',b',c=1") << true << QStringList{"|p|'a',b'", "|c|1"};
        QTest::newRow("equals inside quotes")
            << QByteArray("p='k=v',q=2") << true << QStringList{"|p|'k=v'", "|q|2"};
        QTest::newRow("blank before a key")
            << QByteArray("mask='1', ip='2'") << true << QStringList{"|mask|'1'", " |ip|'2'"};
        QTest::newRow("no equals") << QByteArray("a") << false << QStringList{};
        QTest::newRow("no key") << QByteArray("=1") << false << QStringList{};
        QTest::newRow("empty entry") << QByteArray("a=1,,b=2") << false << QStringList{};
        QTest::newRow("unclosed quote") << QByteArray("a='open,b=2") << false << QStringList{};
        QTest::newRow("blank after last comma") << QByteArray("a=1, ") << false << QStringList{};
        QTest::newRow("dash in key") << QByteArray("a-b=1") << false << QStringList{};
    }

    void parseEntries()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(QStringList, entries);
        QVector<reader_config::Entry> parsed;
        QCOMPARE(reader_config::parseEntries(text, &parsed), ok);
        if (ok) {
            QCOMPARE(shown(parsed), entries);
            QCOMPARE(reader_config::joinEntries(parsed), text.endsWith(',') ? text.chopped(1) : text);
        }
    }

    void refusalsLeaveTheReaderAsItWas_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("verdict");
        const QByteArray good = signedText("cr=0");
        QTest::newRow("other password") << signedText("cr=0", "0123456789abcdef") << int(Verdict::BadSignature);
        QTest::newRow("body changed after signing")
            << QByteArray(good).replace("cr=0", "cr=1") << int(Verdict::BadSignature);
        QTest::newRow("no head") << good.mid(1) << int(Verdict::NotEnveloped);
        QTest::newRow("signature cut") << good.chopped(1) << int(Verdict::NotEnveloped);
        QTest::newRow("no separator") << QByteArray(good).replace("}--", "}-+") << int(Verdict::NotEnveloped);
        QTest::newRow("nothing") << QByteArray() << int(Verdict::NotEnveloped);
        QTest::newRow("signed, malformed") << signedText("cr=0,,nl=1") << int(Verdict::BadEntries);
        QTest::newRow("password of 15")
            << signedText("com_passwd='0123456789abcde'") << int(Verdict::BadPassword);
        QTest::newRow("password unquoted")
            << signedText("com_passwd=0123456789abcdef") << int(Verdict::BadPassword);
        QTest::newRow("password after good entries")
            << signedText("cr=0,com_passwd='short'") << int(Verdict::BadPassword);
    }

    void refusalsLeaveTheReaderAsItWas()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, verdict);
        reader_config::ReaderSettings settings{"cr=1,nl=0", password};
        QCOMPARE(int(reader_config::apply(text, &settings)), verdict);
        QCOMPARE(settings.config, QByteArray("cr=1,nl=0"));
        QCOMPARE(settings.password, password);
    }

    void entriesApplyInOrder()
    {
        reader_config::ReaderSettings settings{"a=1,b='x', ip='1.2.3.4',w_mode=1", password};
        // A C sender's terminating NUL is tolerated.
        QCOMPARE(reader_config::apply(signedText("b='y,z',c=3,a=4,a=5") + '\0', &settings), Verdict::Applied);
        QCOMPARE(settings.config, QByteArray("a=5,b='y,z', ip='1.2.3.4',w_mode=1,c=3"));
        QCOMPARE(settings.password, password);
    }

    void passwordChangeTakesLatin1Bytes()
    {
        reader_config::ReaderSettings settings{"cr=1", password};
        const QByteArray next = QString("Zugangsschlüssel").toUtf8(); // 16 characters, 17 UTF-8 bytes
        QCOMPARE(reader_config::apply(signedText("cr=0,com_passwd='" + next + "'"), &settings), Verdict::Applied);
        QCOMPARE(settings.password, QString("Zugangsschlüssel").toLatin1());
        QCOMPARE(settings.config, QByteArray("cr=0"));
        QCOMPARE(reader_config::apply(signedText("cr=1"), &settings), Verdict::BadSignature);
        QCOMPARE(reader_config::apply(signedText("cr=1", settings.password), &settings), Verdict::Applied);
    }

    void signatureCoversTheUtf8Text()
    {
        reader_config::ReaderSettings settings{"ssid=''", password};
        const QByteArray body = QString("ssid='仓库二号'").toUtf8();
        QCOMPARE(reader_config::apply(signedText(body), &settings), Verdict::Applied);
        QCOMPARE(settings.config, body);
    }
};

QTEST_APPLESS_MAIN(ReaderConfigTest)
#include "test_reader_config.moc"
