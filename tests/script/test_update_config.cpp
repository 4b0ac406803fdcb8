// The configuration script shipped with the tool, run through the bridge as
// the import runs it: the envelope and signature present or absent, quoted
// values, blanks, repeated keys, the character-code keys, missing keys, and
// texts a reader should never send.
#include <QRandomGenerator>
#include <QtTest>

#include <iterator>

#include "script/script_bridge.h"
#include "script_fixture.h"

namespace {

const QByteArray kHead = "___TRVO_CONFIG_V1.1.0___{";
const QByteArray kSignature = "--3q2+7wAAAAAAAAAAAAAAAA==";

// A reader's entries as the tool writes them: a quoted prefix holding a
// comma and a quote, a quoted value holding "}" and "--", the address with
// its blank before the key, and w_mode last.
const QByteArray kEntries =
    "chk_env=0,de_type=1,cr=0,nl=0,wled=1,prefix='a,b'c',postfix='',s_mode=0,interval=300,"
    "devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,nfc=1,anfc=1,ord=1,"
    "idord=1,st=3,len=8,pri='',pos='x}--y',horc=0,nft=2,eth=1,ip_mode=1, ip='192.168.1.20',"
    "mask='255.255.255.0',gateway='192.168.1.1',p_uart1='115200-8-N-1',ochannel=32,"
    "dchannel=1,w_mode=1";

// What the script answers for one key: its number (-1 when it has none) and
// its string (an invalid variant when it has none).
struct Answer
{
    int number;
    QVariant string;
};

// The shipped script, copied from the build tree into a fresh working
// directory, with a state opened on it.
class ShippedScript
{
public:
    ShippedScript() : copied(dir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT))), state(openScript()) {}

    bool ready() const { return copied && state; }

    int update(const QByteArray &text) { return script_updatecfg(state.get(), text.constData()); }

    Answer answer(const QByteArray &key)
    {
        Answer result{-1, QVariant()};
        int32_t number = 0;
        if (script_getvalue_num(state.get(), key.constData(), &number) == 0)
            result.number = number;
        char buffer[200];
        int32_t len = 0;
        if (script_getvalue_str(state.get(), key.constData(), buffer, sizeof buffer, &len) == 0)
            result.string = QByteArray(buffer, len);
        return result;
    }

private:
    ScriptDir dir;
    bool copied;
    ScriptState state;
};

QVariant none()
{
    return QVariant();
}

QVariant text(const char *value)
{
    return QByteArray(value);
}

} // namespace

class UpdateConfigTest : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<int>("number");
        QTest::addColumn<QVariant>("string");

        const struct
        {
            const char *name;
            QByteArray text;
        } framings[] = {
            {"signed", kHead + kEntries + "}" + kSignature},
            {"signed with password", kHead + kEntries + ",com_passwd='0123456789abcdef'}" + kSignature},
            {"signed with line end", kHead + kEntries + "}" + kSignature + "\r\n"},
            {"enveloped", kHead + kEntries + "}"},
            {"bare", kEntries},
            {"bare signed", kEntries + kSignature},
            {"other version", "___TRVO_CONFIG_V1.2___{" + kEntries + "}" + kSignature},
        };
        const struct
        {
            const char *key;
            int number;
            QVariant string;
        } expected[] = {
            {"chk_env", 0, text("0")},
            {"de_type", 1, text("1")},
            {"interval", 300, text("300")},
            {"prefix", -1, text("a,b'c")},
            {"postfix", -1, text("")},
            {"pos", -1, text("x}--y")},
            {"ip", -1, text("192.168.1.20")},
            {"mask", -1, text("255.255.255.0")},
            {"p_uart1", -1, text("115200-8-N-1")},
            {"st", '3', text("3")},
            {"len", '8', text("8")},
            {"ochannel", 32, text("32")},
            {"w_mode", 1, text("1")},
            {"ssid", -1, none()},
        };
        for (const auto &framing : framings)
            for (const auto &entry : expected)
                QTest::addRow("%s: %s", framing.name, entry.key)
                    << framing.text << QByteArray(entry.key) << entry.number << entry.string;

        const QByteArray withPassword = framings[1].text;
        QTest::newRow("password") << withPassword << QByteArray("com_passwd") << -1 << text("0123456789abcdef");

        const struct
        {
            const char *tag;
            const char *text;
            const char *key;
            int number;
            QVariant string;
        } singles[] = {
            {"repeated key, last wins", "ochannel=1,ochannel=8", "ochannel", 8, text("8")},
            {"blanks before keys", "  de_type=5,\t nl=1", "nl", 1, text("1")},
            {"blanks around a number", "port= 8080 ,", "port", 8080, text(" 8080 ")},
            {"negative number", "vg=-3", "vg", -3, text("-3")},
            {"quoted number", "port='8080'", "port", 8080, text("8080")},
            {"not decimal", "port=0x10", "port", -1, text("0x10")},
            {"not a number", "devnum=abc", "devnum", -1, text("abc")},
            {"beyond 32 bits", "ochannel=99999999999", "ochannel", -1, text("99999999999")},
            {"empty quoted", "devnum=''", "devnum", -1, text("")},
            {"empty bare", "devnum=,nl=0", "devnum", -1, text("")},
            {"equals sign in a value", "psk=a=b", "psk", -1, text("a=b")},
            {"quote inside a value", "pri='b'c'", "pri", -1, text("b'c")},
            {"st quoted", "st='3'", "st", '3', text("3")},
            {"st of two characters", "st=10", "st", -1, text("10")},
            {"st empty", "st=", "st", -1, text("")},
            {"len of a letter", "len=A", "len", 'A', text("A")},
            {"missing key", "de_type=1", "nl", -1, none()},
            // Texts that no reader should send: what can be read is kept,
            // the rest is skipped, and nothing raises an error.
            {"empty text", "", "de_type", -1, none()},
            {"head only", "___TRVO_CONFIG_V1.1.0___{", "de_type", -1, none()},
            {"no entries at all", "garbage", "garbage", -1, none()},
            {"entry without =", "de_type 5,nl=1", "de_type", -1, none()},
            {"entry after one without =", "de_type 5,nl=1", "nl", 1, text("1")},
            {"empty key", "=5,,,nl=1", "nl", 1, text("1")},
            {"unterminated quote", "de_type=5,prefix='abc,nl=1", "prefix", -1, none()},
            {"entry before an unterminated quote", "de_type=5,prefix='abc,nl=1", "de_type", 5, text("5")},
            {"entry inside an unterminated quote", "de_type=5,prefix='abc,nl=1", "nl", -1, none()},
            {"quote closed only by a letter", "a='b'c'd", "a", -1, none()},
            {"lone quote", "'", "a", -1, none()},
            {"lone signature", "}--", "a", -1, none()},
            {"control bytes", "\x01\xff\x80=\x02,a=\x7f", "a", -1, text("\x7f")},
            // A head inside a value smuggles no entries in.
            {"head inside a quoted value", "prefix='x___TRVO_CONFIG_V1.1.0___{devnum=99,',devnum=7", "devnum", 7,
             text("7")},
            {"head inside a bare value", "prefix=x___TRVO_CONFIG_V1.1.0___{devnum=99}", "devnum", -1, none()},
            {"head inside an enveloped value",
             "___TRVO_CONFIG_V1.1.0___{prefix='___TRVO_CONFIG_V1.1.0___{devnum=99,',devnum=7}", "devnum", 7,
             text("7")},
            {"junk before the head", "reader says: ___TRVO_CONFIG_V1.1.0___{devnum=7}--abc=", "devnum", 7,
             text("7")},
        };
        for (const auto &single : singles)
            QTest::newRow(single.tag) << QByteArray(single.text) << QByteArray(single.key) << single.number
                                      << single.string;
    }

    void answers()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, key);
        QFETCH(int, number);
        QFETCH(QVariant, string);

        ShippedScript script;
        QVERIFY(script.ready());
        StreamCapture err(stderr);
        const int updated = script.update(text);
        const Answer got = script.answer(key);
        const QByteArray messages = err.text();
        QVERIFY2(!messages.contains("error running function"), messages.constData());
        QCOMPARE(updated, 0);
        QCOMPARE(got.number, number);
        QCOMPARE(got.string, string);
    }

    void updateForgetsThePreviousText()
    {
        ShippedScript script;
        QVERIFY(script.ready());
        StreamCapture err(stderr);
        script.update("de_type=1,nl=1");
        script.update("nl=0");
        const Answer deType = script.answer("de_type");
        const Answer nl = script.answer("nl");
        err.text();
        QCOMPARE(deType.number, -1);
        QCOMPARE(deType.string, none());
        QCOMPARE(nl.number, 0);
    }

    void randomTextsNeverRaise()
    {
        // Texts made of the characters that carry the syntax, mixed with
        // words and digits, in every arrangement chance gives.
        const QByteArray pieces[] = {"'", ",", "=", "}",    "{",   "--",  " ",   "st",
                                     "a", "1", "_", "\xff", kHead, "ip=", "'x'", "=="};
        QRandomGenerator random(20240611);
        ShippedScript script;
        QVERIFY(script.ready());
        QByteArrayList failures;
        {
            StreamCapture err(stderr);
            for (int round = 0; round < 300; ++round) {
                QByteArray text;
                const int count = random.bounded(60);
                for (int i = 0; i < count; ++i)
                    text += pieces[random.bounded(int(std::size(pieces)))];
                if (script.update(text) != 0)
                    failures << text;
                for (const char *key : {"a", "st", "ip", "_"})
                    script.answer(key);
            }
            // A long text of opening quotes and commas.
            script.update("a=" + QByteArray(200000, '\'') + QByteArray(200000, ','));
            script.answer("a");
            if (err.text().contains("error running function"))
                failures << "a query raised an error";
        }
        QVERIFY2(failures.isEmpty(), failures.join("\n").constData());
    }
};

QTEST_GUILESS_MAIN(UpdateConfigTest)
#include "test_update_config.moc"
