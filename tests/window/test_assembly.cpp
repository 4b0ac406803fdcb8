// The whole form built into one signed configuration text: the body order
// by mode and channel, the envelope and signature, the refusals with their
// messages, and the password kept out of the debug log.
#include <QLineEdit>
#include <QMessageAuthenticationCode>
#include <QtTest>

#include "config/assembly.h"
#include "config/groups.h"
#include "config/password_entry.h"
#include "support/debug_log.h"
#include "support/form_setup.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/form_binding.h"
#include "window/widget.h"

namespace {

const QString kHead = "___TRVO_CONFIG_V1.1.0___{";
const QString kPassword = "0123456789abcdef";

QString signatureOf(const QString &enveloped)
{
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(enveloped.toUtf8(), kPassword.toLatin1(), QCryptographicHash::Md5)
            .toBase64());
}

// The text between the envelope's braces when the text is enveloped and
// correctly signed with kPassword; otherwise "!" and what is wrong with it.
QString bodyOf(const QString &signedText)
{
    const int end = signedText.lastIndexOf("}--");
    if (!signedText.startsWith(kHead) || end < 0 || signedText.size() != end + 3 + 24)
        return "!not an enveloped, signed text: " + signedText;
    if (signedText.mid(end + 3) != signatureOf(signedText.left(end + 1)))
        return "!wrong signature: " + signedText;
    return signedText.mid(kHead.size(), end - kHead.size());
}

// Runs the build on a form with a valid configuration password and the
// given steps, answering and recording any message box.
struct Build
{
    explicit Build(const QStringList &steps)
    {
        fillForm(window, QStringList{"manpw=" + kPassword} + steps);
        MessageBoxAnswerer answerer;
        WidgetProbe probe(window);
        probe.getconfigState();
        text = probe.configText();
        for (const MessageBoxAnswerer::Seen &box : answerer.seen()) {
            messages << box.title + " / " + box.text;
            if (box.parent != &window || box.buttons != QMessageBox::Ok)
                messages << "a box without the window as parent or with other buttons";
        }
    }

    // The pattern with {G}, {S}, {N}, {T} and {W} standing for what the
    // general, serial, NFC, network and Wiegand groups write for this form.
    QString expand(QString pattern)
    {
        const std::pair<const char *, void (*)(const config::FormValue &, QString &)> groups[] = {
            {"{G}", config::appendGeneralGroup}, {"{S}", config::appendSerialGroup},
            {"{N}", config::appendNfcGroup},     {"{T}", config::appendNetworkGroup},
            {"{W}", config::appendWiegandGroup},
        };
        for (const auto &group : groups) {
            QString entries;
            group.second(binding::read(WidgetProbe(window).form()), entries);
            pattern.replace(group.first, entries);
        }
        return pattern;
    }

    Widget window;
    QString text;
    QStringList messages;
};

const QString kWorkedExample =
    "___TRVO_CONFIG_V1.1.0___{chk_env=0,de_type=1,cr=0,nl=0,wled=1,prefix='',postfix='',s_mode=0,"
    "interval=300,devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,nfc=0,"
    "ochannel=1,dchannel=1,w_mode=1}";

} // namespace

class AssemblyTest : public QObject
{
    Q_OBJECT

private slots:
    void workedExample()
    {
        DebugLog log;
        Build build({"!tarvo_ZB"});
        QCOMPARE(build.text, kWorkedExample + "--" + signatureOf(kWorkedExample));
        QVERIFY(build.text.endsWith("=="));
        QCOMPARE(log.lines(), QStringList({"------hamc签名前数据start------", '"' + kWorkedExample + '"',
                                           "------hamc签名前数据end------"}));
    }

    void bodyOrder_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("hellos");
        QTest::newRow("scan, keyboard") << QStringList{} << "chk_env=0,{G}{N}ochannel=1,dchannel=1,w_mode=1" << 0;
        QTest::newRow("scan, KS") << QStringList{"tarvo_KS"}
                                  << "chk_env=0,usb_mode=1,{G}{N}ochannel=1,dchannel=1,w_mode=1" << 0;
        QTest::newRow("payment, KS") << QStringList{"tarvo_KS", "paymode"}
                                     << "{G}{N}ochannel=1,chk_env=0,usb_mode=0,dchannel=1,w_mode=64" << 0;
        QTest::newRow("scanner gun") << QStringList{"gunmode"}
                                     << "{G}{N}ochannel=1,chk_env=1,dchannel=1,w_mode=128" << 0;
        QTest::newRow("development over TTL, KS")
            << QStringList{"developmode", "ttlchoose", "tarvo_KS"}
            << "{G}{N}ochannel=1,chk_env=0,usb_mode=1,dchannel=4,w_mode=2" << 0;
        QTest::newRow("induction") << QStringList{"ganyingmode", "tarvoxy"}
                                   << "{G}{N}ochannel=1,chk_env=0,dchannel=64,w_mode=32" << 0;
        QTest::newRow("scan and development") << QStringList{"+developmode", "+serialdragxieyi"}
                                              << "chk_env=0,{G}{N}ochannel=1,chk_env=0,dchannel=33,w_mode=3" << 0;
        QTest::newRow("no mode") << QStringList{"!scanmode"} << "{G}{N}ochannel=1,dchannel=1,w_mode=0" << 0;
        QTest::newRow("no channel") << QStringList{"!keyboardOut"} << "chk_env=0,ochannel=0,dchannel=1,w_mode=1"
                                    << 0;
        QTest::newRow("serial") << QStringList{"serialOut", "serialchoose", "nfcable"}
                                << "chk_env=0,{G}{S}{N}ochannel=2,dchannel=2,w_mode=1" << 0;
        QTest::newRow("TTL") << QStringList{"ttlOut"} << "chk_env=0,{G}{S}{N}ochannel=4,dchannel=1,w_mode=1" << 0;
        QTest::newRow("Wi-Fi") << QStringList{"wifiOut", "nfcable"}
                               << "chk_env=0,{G}{N}{T}ochannel=8,dchannel=1,w_mode=1" << 0;
        QTest::newRow("Wiegand") << QStringList{"weigenOut"}
                                 << "chk_env=0,{G}{N}{W}ochannel=16,dchannel=1,w_mode=1" << 0;
        QTest::newRow("Ethernet") << QStringList{"ethernetOut"}
                                  << "chk_env=0,{G}{N}{T}ochannel=32,dchannel=1,w_mode=1" << 0;
        QTest::newRow("serial on RN450, no NFC") << QStringList{"serialOut", "tarvo_RN450", "nfcable"}
                                                 << "chk_env=0,{G}{S}ochannel=2,dchannel=1,w_mode=1" << 1;
        QTest::newRow("keyboard on RN310, no NFC")
            << QStringList{"tarvo_RN310"} << "chk_env=0,{G}ochannel=1,dchannel=1,w_mode=1" << 0;
        QTest::newRow("keyboard and Wi-Fi")
            << QStringList{"+wifiOut"} << "chk_env=0,{G}{N}{G}{N}{T}ochannel=9,dchannel=1,w_mode=1" << 0;
        QTest::newRow("keyboard and Wi-Fi on RN310")
            << QStringList{"+wifiOut", "tarvo_RN310"} << "chk_env=0,{G}{G}{T}ochannel=9,dchannel=1,w_mode=1" << 1;
        QTest::newRow("serial, Wiegand and Ethernet")
            << QStringList{"serialOut", "+weigenOut", "+ethernetOut"}
            << "chk_env=0,{G}{S}{N}{G}{N}{W}{G}{N}{T}ochannel=50,dchannel=1,w_mode=1" << 0;
    }

    void bodyOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, body);
        QFETCH(int, hellos);
        DebugLog log;
        Build build(steps);
        QCOMPARE(build.messages, QStringList());
        QCOMPARE(bodyOf(build.text), build.expand(body));
        QCOMPARE(log.lines().count("hello"), hellos);
    }

    // Each refusal is told in one box, the first in the order the build
    // checks, and leaves the text empty. A row without messages is built.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("messages");
        const QString change = "changepwcheck";
        const QString comma = "注意 / %1不能包含英文逗号(,)";
        QTest::newRow("no configuration password")
            << QStringList{"manpw="} << QStringList{"注意 / 配置密码的长度需要为16个字符"};
        QTest::newRow("15-character configuration password")
            << QStringList{"manpw=0123456789abcde"} << QStringList{"注意 / 配置密码的长度需要为16个字符"};
        // Each would sign as "????????????????".
        QTest::newRow("configuration password outside Latin-1")
            << QStringList{"manpw=" + QString(16, QChar(0x20ac))}
            << QStringList{"注意 / 配置密码只能包含 Latin-1 字符（西文字母、数字和符号）"};
        QTest::newRow("new passwords differ in length and case")
            << QStringList{change, "newpw=abc", "confimpw=ABC", "manpw="}
            << QStringList{"注意 / 输入的新密码不一致"};
        QTest::newRow("new password too short") << QStringList{change, "newpw=abc", "confimpw=abc", "manpw="}
                                                << QStringList{"注意 / 新密码的长度需要为16个字符"};
        QTest::newRow("new password with Chinese")
            << QStringList{change, "newpw=密码abcdefghijklmn", "confimpw=密码abcdefghijklmn"}
            << QStringList{"注意 / 新密码只能包含英文字母、数字、空格和英文符号"};
        QTest::newRow("new password with Latin-1")
            << QStringList{change, "newpw=abcdefghijklmnoé", "confimpw=abcdefghijklmnoé"}
            << QStringList{"注意 / 新密码只能包含英文字母、数字、空格和英文符号"};
        QTest::newRow("valid change, short configuration password")
            << QStringList{change, "newpw=" + kPassword, "confimpw=" + kPassword, "manpw=x"}
            << QStringList{"注意 / 配置密码的长度需要为16个字符"};
        QTest::newRow("device number before password change")
            << QStringList{"devnum=1,2", change, "newpw=a", "confimpw=b"} << QStringList{comma.arg("设备号")};
        QTest::newRow("interval before device number")
            << QStringList{"devnum=1,", "lineIntervaltime=3,0"} << QStringList{comma.arg("间隔时间(毫秒)")};
        QTest::newRow("beep delay") << QStringList{"beepinterval=3,0"} << QStringList{comma.arg("蜂鸣延迟")};
        QTest::newRow("light-off delay")
            << QStringList{"lightoffinterval=,"} << QStringList{comma.arg("闪灯延迟")};
        QTest::newRow("TCP port") << QStringList{"wifiOut", "tcpaddr=h", "tcpport=80,81"}
                                  << QStringList{comma.arg("TCP端口号")};
        QTest::newRow("TCP time-out") << QStringList{"ethernetOut", "tcpaddr=h", "tcpport=80", "tcpdelay=2,3"}
                                      << QStringList{comma.arg("TCP接收超时（秒）")};
        QTest::newRow("heartbeat time")
            << QStringList{"wifiOut", "heart_time=6,0"} << QStringList{comma.arg("心跳包时间")};
        QTest::newRow("HTTP time-out") << QStringList{"wifiOut", "httpO", "httpaddr=h", "httpdelay=2,"}
                                       << QStringList{comma.arg("HTTP接收超时（秒）")};
        // A comma in a value that is not written, or that is quoted, does no harm.
        QTest::newRow("device number, no channel") << QStringList{"!keyboardOut", "devnum=1,2"} << QStringList{};
        QTest::newRow("interval on WT") << QStringList{"tarvo_WT", "lineIntervaltime=3,0"} << QStringList{};
        QTest::newRow("TCP port, keyboard") << QStringList{"tcpaddr=h", "tcpport=8,0"} << QStringList{};
        QTest::newRow("TCP port, no address") << QStringList{"wifiOut", "tcpport=8,0"} << QStringList{};
        QTest::newRow("heartbeat time, heartbeat off")
            << QStringList{"wifiOut", "heart_off", "heart_time=6,0"} << QStringList{};
        QTest::newRow("heartbeat time, HTTP only")
            << QStringList{"wifiOut", "httpO", "wiredhttp", "heart_time=6,0"} << QStringList{};
        QTest::newRow("HTTP time-out, no address")
            << QStringList{"wifiOut", "httpO", "httpdelay=2,0"} << QStringList{};
        QTest::newRow("quoted values") << QStringList{"linePrefix=a,b", "wifiOut", "wifiname=x,y"}
                                       << QStringList{};
        QTest::newRow("new passwords ignored without change")
            << QStringList{"newpw=abc", "confimpw=xyz"} << QStringList{};
    }

    void refusals()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, messages);
        Build build(steps);
        QCOMPARE(build.messages, messages);

        // Below the window the build shows nothing: it returns the refusal.
        MessageBoxAnswerer answerer;
        const config::Assembly built = config::assemble(binding::read(WidgetProbe(build.window).form()));
        QVERIFY(answerer.seen().isEmpty());
        const QStringList returned =
            built.refusal ? QStringList{built.refusal->title + " / " + built.refusal->text} : QStringList{};
        QCOMPARE(returned, messages);
        QCOMPARE(built.text, build.text);

        if (messages.isEmpty()) {
            const QString body = bodyOf(build.text);
            QVERIFY2(!body.startsWith('!') && !body.contains("com_passwd"), qPrintable(body));
        } else {
            QCOMPARE(build.text, QString());
        }
    }

    void passwordChangeSignedAndMaskedInLog()
    {
        const QString newPassword = "Ab1 '}~!@#$%^&*(";
        DebugLog log;
        Build build({"changepwcheck", "newpw=" + newPassword, "confimpw=" + newPassword});
        QCOMPARE(build.messages, QStringList());
        QVERIFY(bodyOf(build.text).endsWith("w_mode=1,com_passwd='" + newPassword + "'"));
        QCOMPARE(log.lines().size(), 3);
        QVERIFY(log.lines().at(1).endsWith("w_mode=1,com_passwd='****************'}\""));
        QVERIFY(!log.lines().join('\n').contains(newPassword));
    }

    void chineseSsidSignedOverUtf8()
    {
        Build build({"wifiOut", "wifiname=办公室网络"});
        QVERIFY(build.text.contains("ssid='办公室网络',"));
        QVERIFY2(!bodyOf(build.text).startsWith('!'), qPrintable(build.text));
        const QString enveloped = build.text.left(build.text.size() - 26);
        QVERIFY(
            QMessageAuthenticationCode::hash(enveloped.toLatin1(), kPassword.toLatin1(), QCryptographicHash::Md5)
                .toBase64()
            != build.text.right(24).toLatin1());
    }

    void logMasksSecrets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("logged");
        const QString body = kHead + "prefix='x',w_mode=1";
        QTest::newRow("no change") << body + "}--abc==" << body + "}--abc==";
        QTest::newRow("enveloped") << body + ",com_passwd='0123456789abcdef'}"
                                   << body + ",com_passwd='****************'}";
        QTest::newRow("signed, quote and brace in password")
            << body + ",com_passwd='01234}'6789abcde'}--xyz==" << body + ",com_passwd='****************'}--xyz==";
        QTest::newRow("look-alike in a prefix") << kHead + "prefix=',com_passwd='0123456789abcdef'',w_mode=1}"
                                                << kHead + "prefix=',com_passwd='0123456789abcdef'',w_mode=1}";
        // A reader's own text, spaced and quoted as its firmware likes.
        QTest::newRow("psk after a blank")
            << body + ", psk='s3cr,et',w_mode=1}" << body + ", psk='*******',w_mode=1}";
        QTest::newRow("psk bare") << kHead + "psk=bare,w_mode=1}" << kHead + "psk=****,w_mode=1}";
        QTest::newRow("psk never closed") << kHead + "psk='abc,w_mode=1}" << kHead + "psk=****,w_mode=1}";
        QTest::newRow("psk spaced, last")
            << kHead + "w_mode=1 , psk = 'a b'}" << kHead + "w_mode=1 , psk = '***'}";
        QTest::newRow("haddr credentials")
            << kHead + "haddr='http://u:pw@h/p',w_mode=1}" << kHead + "haddr='http://u@h/p',w_mode=1}";
        QTest::newRow("haddr without scheme") << kHead + "haddr=u:pw@h:80/x}" << kHead + "haddr=u@h:80/x}";
        QTest::newRow("haddr query") << kHead + "haddr='h/x?id=1&password=pw&Token=t#f'}"
                                     << kHead + "haddr='h/x?id=1&password=***&Token=***#f'}";
    }

    void logMasksSecrets()
    {
        QFETCH(QString, text);
        QFETCH(QString, logged);
        QCOMPARE(password_entry::configTextForLog(text), logged);
    }
};

QTEST_MAIN(AssemblyTest)
#include "test_assembly.moc"
