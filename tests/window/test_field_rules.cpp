// What a user may type into the fields the configuration carries: each rule
// just kept and just broken, the order of the refusals, the longest accepted
// values through a reader's import, values beyond a rule marked on import,
// and no password in the debug log.
#include <QLineEdit>
#include <QtTest>

#include "config/assembly.h"
#include "config/import.h"
#include "script/script_bridge.h"
#include "script/script_fixture.h"
#include "support/debug_log.h"
#include "support/form_setup.h"
#include "support/widget_probe.h"
#include "window/form_binding.h"
#include "window/widget.h"

namespace {

const QString kPassword = "0123456789abcdef";
const QString kWifiPassword = "Wlan'Key,42";

// A form that writes every field: keyboard, Wi-Fi and Ethernet channels, a
// TCP server with heartbeat and an HTTP server, a static address, NFC on.
const QStringList kEveryField = {"manpw=" + kPassword, "+wifiOut",   "+ethernetOut",
                                 "wiredhttp",          "jtip",       "nfcable",
                                 "tcpaddr=t",          "tcpport=80", "httpaddr=h"};

QString repeated(const QString &piece, int times)
{
    QString text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

// The text of each field after the import of `text` into a fresh window.
QMap<QString, QString> imported(const QByteArray &text, const QStringList &fields, Widget &window)
{
    ScriptDir dir;
    lua_State *script = dir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)) ? script_open() : nullptr;
    if (script) {
        StreamCapture quiet(stderr);
        binding::importIntoForm(WidgetProbe(window).form(), script, text.constData());
        script_close(script);
    }
    QMap<QString, QString> texts;
    for (const QString &field : fields)
        texts[field] = formChild<QLineEdit>(window, qPrintable(field))->text();
    return texts;
}

} // namespace

class FieldRulesTest : public QObject
{
    Q_OBJECT

private slots:
    // Each rule with one text just inside and one just outside; the refusal
    // names the first field at fault in the order of the text.
    void rules_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        auto row = [](const char *tag, const QStringList &steps, const QString &field = QString(),
                      const QString &message = QString()) { QTest::newRow(tag) << steps << field << message; };
        const QString chinese66 = repeated("中", 66);
        row("printable text", {"linePrefix=a b~'中"});
        row("tab", {"linePrefix=a\tb"}, "linePrefix", "扫码前缀不能包含控制字符");
        row("delete", {"nfcsuffix=a\x7f"}, "nfcsuffix", "NFC后缀不能包含控制字符");
        row("199 bytes", {"lineSuffix=" + chinese66 + "a"});
        row("201 bytes", {"lineSuffix=" + chinese66 + "中"}, "lineSuffix",
            "扫码后缀不能超过199个字节（一个汉字占3个字节）");
        row("lone quote and comma", {"wifipasswd=ab'c,d", "wifiname=n"});
        row("quote before comma", {"wifiname=n", "wifipasswd=ab',owifi=8"}, "wifipasswd",
            "WIFI密码不能包含英文单引号紧跟英文逗号(',)");
        row("envelope head in a value", {"linePrefix=x___TRVO_CONFIG_V1.1.0___{devnum=99"}, "linePrefix",
            "扫码前缀不能包含配置文本的开头(___TRVO_CONFIG_V)");
        row("largest number", {"devnum=2147483647", "beepinterval=0"});
        row("number too large", {"devnum=2147483648"}, "devnum", "设备号必须是0到2147483647之间的数字");
        row("sign", {"lightoffinterval=-1"}, "lightoffinterval", "闪灯延迟必须是0到2147483647之间的数字");
        row("port 1 and 65535", {"tcpport=65535", "httpdelay=1"});
        row("port 0", {"tcpport=0"}, "tcpport", "TCP端口号必须是1到65535之间的数字");
        row("port 65536", {"tcpport=65536"}, "tcpport", "TCP端口号必须是1到65535之间的数字");
        row("letters in port", {"tcpport=808091ab"}, "tcpport", "TCP端口号必须是1到65535之间的数字");
        row("32-byte network name", {"wifiname=" + repeated("网", 10) + "ab"});
        row("33-byte network name", {"wifiname=" + repeated("网", 11)}, "wifiname",
            "连入WIFI名不能超过32个字节（一个汉字占3个字节）");
        row("64-byte key", {"wifiname=n", "wifipasswd=" + QString(64, 'k')});
        row("65-byte key", {"wifiname=n", "wifipasswd=" + QString(65, 'k')}, "wifipasswd",
            "WIFI密码不能超过64个字节（一个汉字占3个字节）");
        row("URL", {"httpaddr=http://h.example/a?b=1&c=%20"});
        row("blank in address", {"tcpaddr=t.example "}, "tcpaddr", "TCP服务器地址不能包含空格");
        row("wide blank in URL", {"httpaddr=h\u3000"}, "httpaddr", "HTTP服务器地址不能包含空格");
        row("39-byte heartbeat", {"heart_content=" + QString(39, 'h')});
        row("40-byte heartbeat", {"heart_content=" + QString(40, 'h')}, "heart_content",
            "心跳包内容不能超过39个字节（一个汉字占3个字节）");
        row("addresses", {"ip_address=255.255.255.255", "ip_mask=255.255.254.0", "ip_gateway=0.0.0.0"});
        row("part beyond 255", {"ip_address=256.1.1.1"}, "ip_address", "IP地址必须是IPv4地址，例如192.168.1.10");
        row("over-typed address", {"ip_gateway=192.168.1.1010.0.0.5"}, "ip_gateway",
            "网关必须是IPv4地址，例如192.168.1.10");
        row("mask with a hole", {"ip_mask=255.0.255.0"}, "ip_mask",
            "子网掩码必须是有效的子网掩码，例如255.255.255.0");
        row("hex pairs", {"hex_qhz", "linePrefix=0D0a", "nfcpreform", "nfcprefix=FF"});
        row("odd hex", {"hex_qhz", "linePrefix=0D0"}, "linePrefix",
            "扫码前缀在hex格式下必须是成对的十六进制数字");
        row("not hex", {"nfcpreform", "nfcsuffix=0G"}, "nfcsuffix", "NFC后缀在hex格式下必须是成对的十六进制数字");
        row("odd text in char mode", {"char_qhz", "linePrefix=0D0"});
        // Only what this build writes is checked.
        row("address with a dynamic address", {"dtip", "ip_address=x"});
        row("affix with NFC off", {"!nfcable", "nfcprefix=a\tb"});
        row("port without a server address", {"tcpaddr=", "tcpport=x"});
        // The first field in the text goes before later ones and before the
        // password checks.
        row("order", {"tcpport=x", "devnum=x", "linePrefix=\n", "manpw="}, "linePrefix",
            "扫码前缀不能包含控制字符");
    }

    void rules()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, field);
        QFETCH(QString, message);
        Widget window;
        fillForm(window, kEveryField + steps);
        const config::Assembly built = config::assemble(binding::read(WidgetProbe(window).form()));
        QCOMPARE(built.refusal ? built.refusal->title + " / " + built.refusal->text : QString(),
                 message.isEmpty() ? QString() : "注意 / " + message);
        const QString named =
            built.refusal && built.refusal->field
                ? binding::lineEdit(WidgetProbe(window).form(), built.refusal->field)->objectName()
                : QString();
        QCOMPARE(named, field);
        QCOMPARE(built.text.isEmpty(), !message.isEmpty());
    }

    // Every field at the longest text its rule accepts comes back exactly.
    void longestAcceptedValuesComeBack()
    {
        const QMap<QString, QString> longest = {
            {"linePrefix", repeated("前", 66) + "x"},
            {"lineSuffix", QString(199, 's')},
            {"nfcprefix", ",'" + QString(196, 'n') + "'"},
            {"nfcsuffix", repeated("é", 99) + "z"},
            {"wifiname", repeated("网", 10) + "ab"},
            {"wifipasswd", QString(62, 'k') + ",'"},
            {"tcpaddr", QString(199, 't')},
            {"httpaddr", "http://" + QString(192, 'h')},
            {"heart_content", QString(39, 'c')},
            {"ip_address", "255.255.255.255"},
            {"ip_mask", "255.255.255.254"},
            {"ip_gateway", "100.200.100.200"},
            {"tcpport", "65535"},
            {"tcpdelay", "2147483647"},
            {"httpdelay", "2147483647"},
            {"heart_time", "2147483647"},
            {"lineIntervaltime", "2147483647"},
            {"devnum", "2147483647"},
            {"beepinterval", "2147483647"},
            {"lightoffinterval", "2147483647"},
        };
        QStringList steps = kEveryField;
        for (auto it = longest.begin(); it != longest.end(); ++it)
            steps << it.key() + '=' + it.value();
        Widget source;
        fillForm(source, steps);
        const config::Assembly built = config::assemble(binding::read(WidgetProbe(source).form()));
        QVERIFY2(!built.refusal, qPrintable(built.refusal ? built.refusal->text : QString()));
        Widget target;
        QCOMPARE(imported(built.text.toUtf8(), longest.keys(), target), longest);
    }

    // Another tool's text may hold values beyond a rule: the form takes them
    // as far as it can hold them and marks the field.
    void valuesBeyondARuleAreImportedAndMarked_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("marked");
        QTest::newRow("40-byte name") << QByteArray("ssid='" + QByteArray(40, 'n') + "'") << "wifiname"
                                      << QString(40, 'n') << true;
        QTest::newRow("port 99999") << QByteArray("port=99999") << "tcpport"
                                    << "99999" << true;
        QTest::newRow("port 0") << QByteArray("port=0") << "tcpport"
                                << "0" << true;
        QTest::newRow("short address") << QByteArray("ip='1.2.3'") << "ip_address"
                                       << "1.2.3" << true;
        QTest::newRow("valid port") << QByteArray("port=8080") << "tcpport"
                                    << "8080" << false;
    }

    void valuesBeyondARuleAreImportedAndMarked()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, marked);
        Widget window;
        QCOMPARE(imported(text, {field}, window).value(field), value);
        auto *edit = formChild<QLineEdit>(window, qPrintable(field));
        QCOMPARE(!edit->toolTip().isEmpty(), marked);
        QCOMPARE(edit->styleSheet().contains("red"), marked);
    }

    // Neither the Wi-Fi password nor a configuration password, old or new,
    // reaches a log line of a build.
    void passwordsStayOutOfTheLog()
    {
        const QString newPassword = "New-Pass-000016!";
        DebugLog log;
        Widget window;
        fillForm(window, kEveryField
                             + QStringList{"wifiname=n", "wifipasswd=" + kWifiPassword, "changepwcheck",
                                           "newpw=" + newPassword, "confimpw=" + newPassword});
        const config::Assembly built = config::assemble(binding::read(WidgetProbe(window).form()));
        QVERIFY(built.text.contains("psk='" + kWifiPassword + "'"));
        const QString logged = log.lines().join('\n');
        QVERIFY(logged.contains("psk='" + QString(kWifiPassword.size(), '*') + "',"));
        for (const QString &secret : {kWifiPassword, newPassword, kPassword})
            QVERIFY2(!logged.contains(secret), qPrintable(logged));
    }
};

QTEST_MAIN(FieldRulesTest)
#include "test_field_rules.moc"
