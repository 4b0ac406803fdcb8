// The reader import, driven through the shipped configuration script as a
// connect drives it: each case compares the whole form before and after, so
// a key that sets too much, too little or the wrong widget shows up.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QRandomGenerator>
#include <QSlider>
#include <QtTest>

#include <algorithm>

#include "config/import.h"
#include "script/script_fixture.h"
#include "support/form_setup.h"
#include "support/form_state.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/form_binding.h"
#include "window/widget.h"

namespace {

using namespace random_form;

// Visibility steps, "name:shown" and "name:hidden", beside fillForm's steps.
bool isVisibilityStep(const QString &step)
{
    return step.endsWith(QLatin1String(":shown")) || step.endsWith(QLatin1String(":hidden"));
}

// What an import is expected to change, in fillForm's notation (with
// visibility steps), applied to a form's state.
FormState withChanges(FormState state, const QStringList &changes)
{
    for (const QString &change : changes) {
        const int equals = change.indexOf('=');
        if (isVisibilityStep(change))
            state[change.section(':', 0, 0) + ":shown"] = change.endsWith(":shown") ? "yes" : "no";
        else if (equals > 0)
            state[change.left(equals)] = change.mid(equals + 1);
        else if (change.startsWith('!'))
            state[change.mid(1)] = "off";
        else
            state[change] = "on";
    }
    return state;
}

void prepare(QWidget &window, const QStringList &steps)
{
    for (const QString &step : steps) {
        if (isVisibilityStep(step))
            formChild<QWidget>(window, step.section(':', 0, 0).toLatin1().constData())
                ->setVisible(step.endsWith(":shown"));
        else
            fillForm(window, {step});
    }
}

// A working directory holding the shipped script (or none), where an import
// reads a given text into a window.
class ImportRun
{
public:
    explicit ImportRun(bool withScript = true)
        : copied(!withScript || dir.copyFrom(QStringLiteral(TARVO_SHIPPED_SCRIPT)))
    {}
    bool ready() const { return copied; }

    void import(Widget &window, const QByteArray &text)
    {
        WidgetProbe probe(window);
        probe.setDevConfig(text);
        StreamCapture quiet(stderr);
        probe.getinitkeyvalue();
    }

private:
    ScriptDir dir;
    bool copied;
};

const QByteArray kHead = "___TRVO_CONFIG_V1.1.0___{";

} // namespace

class ImportTest : public QObject
{
    Q_OBJECT

private slots:
    // The import says when the script does not take the text, so that its
    // caller can tell a reader's text from one the script chokes on.
    void reasonWhenTheScriptRefusesTheText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("refused");
        QTest::newRow("taken") << QByteArray("ochannel=1") << false;
        QTest::newRow("refused") << QByteArray("bad") << true;
    }

    void reasonWhenTheScriptRefusesTheText()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, refused);
        ScriptDir dir;
        QVERIFY(dir.write("function updatecfg(text) if text == 'bad' then error('no') end end\n"));
        Widget w;
        lua_State *script = script_open();
        QVERIFY(script);
        StreamCapture quiet(stderr);
        const std::optional<QString> reason =
            binding::importIntoForm(WidgetProbe(w).form(), script, text.constData());
        script_close(script);
        QCOMPARE(reason.has_value(), refused);
        QVERIFY(!reason || !reason->isEmpty());
    }

    void keys_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("changes");

        auto row = [](const char *tag, const QStringList &before, const char *text, const QStringList &changes) {
            QTest::newRow(tag) << before << QByteArray(text) << changes;
        };
        // Output channels.
        row("ochannel 0", {}, "ochannel=0", {});
        row("ochannel serial", {}, "ochannel=2",
            {"serialOut", "!keyboardOut", "serial_groupbox:shown", "ip_modegroupbox:hidden"});
        row("ochannel wifi then ethernet", {}, "ochannel=40",
            {"ethernetOut", "!keyboardOut", "ethoption:shown", "eth1_group:shown", "ip_modegroupbox:shown",
             "wifi1_group:hidden", "wifi2_group:hidden"});
        row("ochannel wiegand", {}, "ochannel=16",
            {"weigenOut", "!keyboardOut", "wgoption:shown", "ip_modegroupbox:hidden", "zjformout",
             "!tenformout"});
        row("ochannel beyond the channels", {}, "ochannel=64", {});
        row("ochannel keyboard on a series without NFC page",
            {"!tarvo_ZB", "tarvo_RN310", "nfc_option:hidden", "serial_groupbox:shown"}, "ochannel=1",
            {"serial_groupbox:hidden", "ip_modegroupbox:hidden"});
        row("ochannel keyboard brings the NFC page back", {"nfc_option:hidden"}, "ochannel=1",
            {"nfc_option:shown", "ip_modegroupbox:hidden"});
        // General settings.
        row("de_type bars only", {}, "de_type=62", {"barCheck", "!qrCheck"});
        row("de_type short of the bars", {"barCheck"}, "de_type=30", {"!barCheck", "!qrCheck"});
        row("de_type all", {}, "de_type=32767",
            {"barCheck", "code128Check", "databarCheck", "databar_expCheck", "pdf417Check", "dmCheck", "itfCheck",
             "isbn10Check", "upceCheck", "upcaCheck"});
        row("chorc char", {}, "chorc=1", {"char_qhz"});
        row("chorc hex", {"char_qhz"}, "chorc=2", {"hex_qhz", "!char_qhz"});
        row("chorc unknown", {}, "chorc=3", {});
        row("terminators and light", {}, "cr=1,nl=1,wled=0", {"enterCheck", "wrapCheck", "!ledControl"});
        row("terminators other than 1", {"enterCheck", "wrapCheck"}, "cr=2,nl=0,wled=5",
            {"!enterCheck", "!wrapCheck", "!ledControl"});
        row("prefix and suffix", {}, "prefix='a,b'c',postfix='后缀é'", {"linePrefix=a,b'c", "lineSuffix=后缀é"});
        row("empty prefix empties", {"linePrefix=x", "lineSuffix=y"}, "prefix='',postfix=''",
            {"linePrefix=", "lineSuffix="});
        row("s_mode single", {}, "s_mode=1", {"singlemode", "!intermode"});
        row("s_mode unknown", {}, "s_mode=7", {});
        row("interval", {}, "interval=1500", {"lineIntervaltime=1500"});
        row("w_mode development", {}, "w_mode=2", {"developmode", "!scanmode", "develop_groupbox:shown"});
        row("w_mode scan hides the development box", {"developmode", "develop_groupbox:shown"}, "w_mode=1",
            {"scanmode", "!developmode", "develop_groupbox:hidden"});
        row("w_mode development then gun", {}, "w_mode=130", {"gunmode", "!scanmode", "develop_groupbox:hidden"});
        row("w_mode unused bits", {"develop_groupbox:shown"}, "w_mode=28", {});
        row("decoder one qr bit", {"barup"}, "decoder=1", {});
        row("decoder qr", {"barup"}, "decoder=3", {"qrup", "!barup"});
        row("decoder bars", {}, "decoder=16", {"barup", "!qrup"});
        row("dchannel serial", {}, "dchannel=2", {"serialchoose", "!usbhidchoose"});
        row("dchannel unused bits", {}, "dchannel=24", {});
        row("dchannel two bits, the higher wins", {}, "dchannel=96", {"tarvoxy", "!usbhidchoose"});
        row("device number and brightness", {}, "devnum=7,brightness=17", {"devnum=7", "brightadjust=17"});
        row("ascan", {}, "ascan=770", {"!buzzers", "lightoff", "pay_light", "pay_light_play"});
        row("delays", {}, "ledd=500,beepd=40", {"lightoffinterval=500", "beepinterval=40"});
        // Serial settings, taken by character positions.
        row("serial settings", {}, "p_uart1='300-6-O-2'",
            {"baudRate=300", "dataBit=6", "checkBit=O", "stopBit=2"});
        row("serial settings with other separators", {}, "p_uart1='57600 5:E;2'",
            {"baudRate=57600", "dataBit=5", "checkBit=E", "stopBit=2"});
        row("serial parts the boxes lack", {}, "p_uart1='1-9-X-2'", {"stopBit=2"});
        row("serial settings without baud rate", {}, "p_uart1='-7-E-2'",
            {"dataBit=7", "checkBit=E", "stopBit=2"});
        row("serial settings too short", {}, "p_uart1='7-E-2'", {});
        row("serial settings of one character", {}, "p_uart1='2'", {});
        row("serial settings empty", {}, "p_uart1=''", {});
        row("second port on a series without one", {}, "p_uart2='9600-8-N-2'", {});
        // The output channel is read before the serial step, the
        // configuration channel only after it.
        row("ttl output read before the serial step", {"!tarvo_ZB", "tarvo_RN310"},
            "ochannel=4,p_uart1='9600-8-N-1',p_uart2='2400-8-N-1'",
            {"ttlOut", "!keyboardOut", "serial_groupbox:shown", "ip_modegroupbox:hidden", "baudRate=2400"});
        row("serial configuration read after the serial step", {"!tarvo_ZB", "tarvo_RN310", "ttlOut"},
            "dchannel=2,p_uart1='9600-8-N-1',p_uart2='2400-8-N-1'",
            {"serialchoose", "!usbhidchoose", "baudRate=2400"});
        // Network.
        row("owifi http", {}, "owifi=1", {"httpO", "!tcpO"});
        row("owifi none", {}, "owifi=0", {});
        row("awifi_s output high", {}, "awifi_s=16", {"!Slightoffaction", "outputhight", "outputhight_2"});
        row("awifi_s signals", {"outputhight", "outputhight_2"}, "awifi_s=13",
            {"Sbeepaction", "!Slightoffaction", "Slightredaction", "Slightgreenaction", "!outputhight",
             "!outputhight_2"});
        row("volctl low", {}, "volctl=1", {"lowvoltage", "lowvoltage_2"});
        row("volctl high", {}, "volctl=0", {"highvoltage", "highvoltage_2"});
        row("volctl unknown", {}, "volctl=2", {});
        row("volctl low over high", {"highvoltage", "highvoltage_2"}, "volctl=1",
            {"lowvoltage", "lowvoltage_2", "!highvoltage", "!highvoltage_2"});
        row("volctl high over low", {"lowvoltage", "lowvoltage_2"}, "volctl=0",
            {"highvoltage", "highvoltage_2", "!lowvoltage", "!lowvoltage_2"});
        row("volctl unknown keeps both", {"lowvoltage_2"}, "volctl=5", {});
        row("awifi_f", {}, "awifi_f=9", {"Fbeepaction", "!Flightredaction", "Flightgreenaction"});
        row("eth", {}, "eth=4", {"wiredhttp", "!wiredtcp"});
        row("wifi network", {}, "ssid='my,net',psk='p'w'", {"wifiname=my,net", "wifipasswd=p'w"});
        row("heartbeat", {}, "heart_en=0,heart_time=90,heart_data='ping'",
            {"heart_off", "!heart_on", "heart_time=90", "heart_content=ping"});
        row("empty heartbeat data kept", {}, "heart_data=''", {});
        row("static address", {}, "ip_mode=1, ip='10.0.0.2',mask='255.0.0.0',gateway='10.0.0.1'",
            {"jtip", "ip_address=10.0.0.2", "ip_mask=255.0.0.0", "ip_gateway=10.0.0.1"});
        row("empty address kept", {"ip_address=1.2.3.4"}, "ip_mode=0,ip='',mask='',gateway=''", {"dtip"});
        row("servers", {}, "port=8080,touttime=5,houttime=6,taddr='t.example',haddr='http://h/a?b=1'",
            {"tcpport=8080", "tcpdelay=5", "httpdelay=6", "tcpaddr=t.example", "httpaddr=http://h/a?b=1"});
        // NFC and Wiegand.
        row("nfc on", {}, "nfc=1", {"nfcable"});
        row("nfc other than 1", {"nfcable"}, "nfc=2", {"!nfcable"});
        row("start and length", {}, "st=3,len=5", {"outbit=3", "outlen=5"});
        row("start beyond the entries", {}, "st=9,len=0", {});
        row("horc hex", {}, "horc=1", {"nfcpreform", "!nfcsuffform"});
        row("card prefix and suffix", {}, "pri='0D0A',pos='尾'", {"nfcprefix=0D0A", "nfcsuffix=尾"});
        row("anfc", {}, "anfc=6", {"!nfc_beep", "nfc_lightoff", "nfc_flared"});
        row("nft direct", {}, "nft=0", {"zjformout", "!tenformout"});
        row("nft hex", {}, "nft=1", {"hexformout", "!tenformout"});
        row("nft unknown", {}, "nft=3", {});
        row("ord and idord forward", {}, "ord=0,idord=0", {"zxout", "!fxout", "idzx", "!idfx"});
        row("ord other values read as forward", {}, "ord=5,idord=7", {"zxout", "!fxout", "idzx", "!idfx"});
        row("ord and idord reverse", {"zxout", "idzx"}, "ord=1,idord=1", {"fxout", "!zxout", "idfx", "!idzx"});
        row("vg 34", {}, "vg=2", {"vg34", "!vg26"});
        row("vg none", {}, "vg=0", {});
        row("ft", {}, "ft=32", {"tentopidvidf", "!wgchartohex"});
        // Answers the bridge refuses: too long for the key's buffer.
        const QByteArray fits = "prefix='" + QByteArray(199, 'p') + "',ip='" + QByteArray(19, '1')
                                + "',heart_data='" + QByteArray(39, 'h') + "'";
        const QByteArray over = "prefix='" + QByteArray(200, 'p') + "',ip='" + QByteArray(20, '1')
                                + "',heart_data='" + QByteArray(40, 'h') + "',postfix='s'";
        QTest::newRow("longest values that fit")
            << QStringList() << fits
            << QStringList{"linePrefix=" + QString(199, 'p'), "ip_address=" + QString(19, '1'),
                           "heart_content=" + QString(39, 'h')};
        QTest::newRow("values one byte too long") << QStringList() << over << QStringList{"lineSuffix=s"};
        // A signed text with keys that are no form's and values that are no numbers.
        row("foreign and malformed values", {},
            "___TRVO_CONFIG_V1.1.0___{chk_env=0,usb_mode=1,de_type=x,cr=,ochannel='',nfc=1}--AAAA==",
            {"nfcable"});
    }

    void keys()
    {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, changes);

        ImportRun run;
        QVERIFY(run.ready());
        Widget window;
        prepare(window, before);
        const FormState expected = withChanges(formState(window), changes);
        run.import(window, text);
        const FormState got = formState(window);
        QVERIFY2(got == expected, qPrintable(differences(expected, got)));
    }

    void serialStep_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("configuration");
        QTest::addColumn<int>("port");

        const QStringList secondUartSeries = {"tarvo_rseven", "tarvo_RN310", "tarvo_RN450"};
        const QStringList otherSeries = {"tarvo_ZB", "tarvo_WT",     "tarvo_E200FK",
                                         "tarvo_PL", "tarvo_HD5000", "tarvo_KS"};
        const QStringList outputs = {"keyboardOut", "serialOut", "ttlOut", "wifiOut"};
        const QStringList configurations = {"usbhidchoose", "serialchoose", "ttlchoose"};
        // 0: the form keeps its settings; 1 or 2: the settings of that port.
        for (const QString &series : secondUartSeries + otherSeries)
            for (const QString &output : outputs)
                for (const QString &configuration : configurations) {
                    int port = 1;
                    if (secondUartSeries.contains(series)) {
                        const bool serial = output == "serialOut" || configuration == "serialchoose";
                        const bool ttl = output == "ttlOut" || configuration == "ttlchoose";
                        port = serial ? 1 : ttl ? 2 : 0;
                    }
                    QTest::addRow("%s %s %s", qPrintable(series), qPrintable(output), qPrintable(configuration))
                        << series << output << configuration << port;
                }
    }

    void serialStep()
    {
        QFETCH(QString, series);
        QFETCH(QString, output);
        QFETCH(QString, configuration);
        QFETCH(int, port);

        ImportRun run;
        QVERIFY(run.ready());
        Widget window;
        prepare(window, {"!tarvo_ZB", series, output, configuration});
        run.import(window, "p_uart1='9600-7-E-2',p_uart2='2400/5/O/1'");
        const QStringList settings[] = {{"115200", "8", "N", "1"},
                                        {"9600", "7", "E", "2"},
                                        {"2400", "5", "O", "1"}};
        const QStringList got = {formChild<QComboBox>(window, "baudRate")->currentText(),
                                 formChild<QComboBox>(window, "dataBit")->currentText(),
                                 formChild<QComboBox>(window, "checkBit")->currentText(),
                                 formChild<QComboBox>(window, "stopBit")->currentText()};
        QCOMPARE(got, settings[port]);
    }

    void withoutScriptNothingChanges()
    {
        ImportRun run(false);
        Widget window;
        const FormState before = formState(window);
        run.import(window, kHead + "ochannel=2,de_type=62,prefix='x',w_mode=2}");
        QCOMPARE(formState(window), before);
        QVERIFY(WidgetProbe(window).luaState() != nullptr);
    }

    void repeatedImportStartsAfresh()
    {
        ImportRun run;
        QVERIFY(run.ready());
        Widget window;
        run.import(window, "prefix='first',devnum=3");
        run.import(window, "devnum=4");
        QCOMPARE(formChild<QLineEdit>(window, "linePrefix")->text(), QString("first"));
        QCOMPARE(formChild<QLineEdit>(window, "devnum")->text(), QString("4"));
    }
};

QTEST_MAIN(ImportTest)
#include "test_import.moc"
