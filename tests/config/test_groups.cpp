// Each group builder's entries for form states a user can leave, checked
// against the whole text the builder appends.
#include <QtTest>

#include "config/groups.h"
#include "value_setup.h"

namespace {

using Builder = void (*)(const config::FormValue &, QString &);

// What the builder appends to a text that already holds an entry.
QString groupOf(Builder builder, const QStringList &steps)
{
    config::FormValue value = config::startValue();
    fillValue(value, steps);
    QString text = "x=1,";
    builder(value, text);
    if (!text.startsWith("x=1,"))
        return "builder rewrote the text before it: " + text;
    return text.mid(4);
}

void addColumns()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
}

const QString kGeneralAtStart = "de_type=1,cr=0,nl=0,wled=1,prefix='',postfix='',s_mode=0,"
                                "interval=300,devnum=0,brightness=200,ascan=1,decoder=3,"
                                "beepd=30,ledd=200,ft=1,";

} // namespace

class GroupsTest : public QObject
{
    Q_OBJECT

private slots:
    void general_data()
    {
        addColumns();
        QTest::newRow("start") << QStringList{} << kGeneralAtStart;
        QTest::newRow("bar codes only") << QStringList{"!qrCheck", "barCheck"}
                                        << QString(kGeneralAtStart).replace("de_type=1,", "de_type=62,");
        QTest::newRow("all symbologies")
            << QStringList{"barCheck", "code128Check", "databarCheck", "databar_expCheck", "pdf417Check",
                           "dmCheck",  "itfCheck",     "isbn10Check",  "upceCheck",        "upcaCheck"}
            << QString(kGeneralAtStart).replace("de_type=1,", "de_type=32767,");
        QTest::newRow("no symbology, CR LF, no light")
            << QStringList{"!qrCheck", "enterCheck", "wrapCheck", "!ledControl"}
            << "de_type=0,cr=1,nl=1,wled=0,prefix='',postfix='',s_mode=0,interval=300,devnum=0,"
               "brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,";
        QTest::newRow("affixes copied verbatim, char format")
            << QStringList{"linePrefix=a,b'c", "lineSuffix= é中", "char_qhz"}
            << "de_type=1,cr=0,nl=0,wled=1,prefix='a,b'c',postfix=' é中',chorc=1,s_mode=0,"
               "interval=300,devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,";
        QTest::newRow("hex format") << QStringList{"hex_qhz"}
                                    << QString(kGeneralAtStart).replace("s_mode", "chorc=2,s_mode");
        QTest::newRow("WT: light on, single mode, no interval")
            << QStringList{"tarvo_WT", "!ledControl", "lineIntervaltime=500"}
            << "de_type=1,cr=0,nl=0,wled=1,prefix='',postfix='',s_mode=1,devnum=0,"
               "brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,";
        QTest::newRow("single mode, empty interval")
            << QStringList{"singlemode", "lineIntervaltime="}
            << QString(kGeneralAtStart).replace("s_mode=0,interval=300", "s_mode=1,interval=0");
        QTest::newRow("no scan mode") << QStringList{"!intermode"}
                                      << QString(kGeneralAtStart).replace("s_mode=0,", "");
        QTest::newRow("empty fields take defaults")
            << QStringList{"devnum=", "beepinterval=", "lightoffinterval=", "brightadjust=0"}
            << QString(kGeneralAtStart).replace("devnum=0,brightness=200", "devnum='',brightness=0");
        QTest::newRow("typed values bare")
            << QStringList{"devnum=7", "beepinterval=55", "lightoffinterval=0", "brightadjust=255"}
            << QString(kGeneralAtStart)
                   .replace("devnum=0,brightness=200", "devnum=7,brightness=255")
                   .replace("beepd=30,ledd=200", "beepd=55,ledd=0");
        QTest::newRow("all feedback, bar enhancement, last format")
            << QStringList{"lightoff",       "redlight", "greenlight",  "pay_light",
                           "pay_light_play", "barup",    "tentopidvidf"}
            << QString(kGeneralAtStart)
                   .replace("ascan=1,decoder=3", "ascan=783,decoder=16")
                   .replace("ft=1", "ft=32");
        QTest::newRow("both enhancements, no feedback")
            << QStringList{"+barup", "!buzzers"}
            << QString(kGeneralAtStart).replace("ascan=1,decoder=3", "ascan=0,decoder=19");
        QTest::newRow("no enhancement, no format")
            << QStringList{"!qrup", "!wgchartohex"}
            << QString(kGeneralAtStart).replace("decoder=3", "decoder=0").replace("ft=1", "ft=0");
    }

    void general()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QCOMPARE(groupOf(config::appendGeneralGroup, steps), expected);
    }

    void nfc_data()
    {
        addColumns();
        QTest::newRow("off") << QStringList{"nfcprefix=AB", "zxout", "outbit=4"} << "nfc=0,";
        QTest::newRow("on at start") << QStringList{"nfcable"}
                                     << "nfc=1,anfc=1,ord=1,idord=1,st=1,len=8,pri='',pos='',horc=0,nft=2,";
        QTest::newRow("all actions, forward, hex affix")
            << QStringList{"nfcable",        "nfc_lightoff",   "nfc_flared", "nfc_flagreen",
                           "zxout",          "idzx",           "outbit=3",   "outlen=5",
                           "nfcprefix=0D0A", "nfcsuffix=a,'b", "nfcpreform", "zjformout"}
            << "nfc=1,anfc=15,ord=0,idord=0,st=3,len=5,pri='0D0A',pos='a,'b',horc=1,nft=0,";
        QTest::newRow("no actions, hex output")
            << QStringList{"nfcable", "!nfc_beep", "hexformout"}
            << "nfc=1,anfc=0,ord=1,idord=1,st=1,len=8,pri='',pos='',horc=0,nft=1,";
        QTest::newRow("radio sets left empty")
            << QStringList{"nfcable", "!fxout", "!idfx", "!nfcsuffform", "!tenformout"}
            << "nfc=1,anfc=1,st=1,len=8,pri='',pos='',";
    }

    void nfc()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QCOMPARE(groupOf(config::appendNfcGroup, steps), expected);
    }

    void network_data()
    {
        addColumns();
        const QString heartbeat = "heart_en=1,heart_time=60,heart_data='www.tarvo.com',";
        QTest::newRow("Wi-Fi at start")
            << QStringList{"wifiOut"} << "owifi=4," + heartbeat + "awifi_s=2,awifi_f=4,";
        QTest::newRow("Wi-Fi name, empty password")
            << QStringList{"wifiOut", "wifiname=office"}
            << "ssid='office',psk='',owifi=4," + heartbeat + "awifi_s=2,awifi_f=4,";
        QTest::newRow("password without name")
            << QStringList{"wifiOut", "wifipasswd=secret"} << "owifi=4," + heartbeat + "awifi_s=2,awifi_f=4,";
        QTest::newRow("TCP server complete")
            << QStringList{"wifiOut", "wifiname=办公室",  "wifipasswd=p,w'd",
                           "tcpOx",   "tcpaddr=10.0.0.2", "tcpport=9000"}
            << "ssid='办公室',psk='p,w'd',owifi=8,taddr='10.0.0.2',port=9000,touttime=2," + heartbeat
                   + "awifi_s=2,awifi_f=4,";
        QTest::newRow("TCP server without time-out")
            << QStringList{"wifiOut", "tcpaddr=10.0.0.2", "tcpport=9000", "tcpdelay="}
            << "owifi=4," + heartbeat + "awifi_s=2,awifi_f=4,";
        QTest::newRow("heartbeat off") << QStringList{"wifiOut", "heart_off"}
                                       << "owifi=4,heart_en=0,awifi_s=2,awifi_f=4,";
        QTest::newRow("heartbeat on, nothing typed") << QStringList{"wifiOut", "heart_time=", "heart_content="}
                                                     << "owifi=4,heart_en=1,awifi_s=2,awifi_f=4,";
        QTest::newRow("HTTP on Wi-Fi, TCP on the wired set")
            << QStringList{"wifiOut", "httpOx", "httpaddr=http://h/x"}
            << "owifi=2," + heartbeat + "haddr='http://h/x',houttime=2,awifi_s=2,awifi_f=4,";
        QTest::newRow("HTTP only, time-out without address")
            << QStringList{"wifiOut", "httpO", "wiredhttp", "httpdelay=5"} << "owifi=1,awifi_s=2,awifi_f=4,";
        QTest::newRow("HTTP address without time-out")
            << QStringList{"ethernetOut", "httpO", "wiredhttpx", "httpaddr=h", "httpdelay="}
            << "haddr='h',eth=8,ip_mode=0,awifi_s=2,awifi_f=4,";
        QTest::newRow("HTTP on the hidden Wi-Fi page, wired TCP")
            << QStringList{"ethernetOut", "httpOx", "httpaddr=h"}
            << heartbeat + "eth=1,ip_mode=0,awifi_s=2,awifi_f=4,";
        QTest::newRow("Ethernet, dynamic, fields ignored")
            << QStringList{"ethernetOut", "dtip", "ip_address=1.2.3.4", "ip_gateway=1.2.3.1"}
            << heartbeat + "eth=1,ip_mode=0,awifi_s=2,awifi_f=4,";
        QTest::newRow("Ethernet, static, gateway only")
            << QStringList{"ethernetOut", "wiredtcpx", "jtip", "ip_gateway=1.2.3.1"}
            << heartbeat + "eth=2,ip_mode=1,gateway='1.2.3.1',awifi_s=2,awifi_f=4,";
        QTest::newRow("Ethernet, static, all fields")
            << QStringList{"ethernetOut",        "jtip",     "ip_address=1.2.3.4", "ip_mask=255.0.0.0",
                           "ip_gateway=1.2.3.1", "heart_off"}
            << "heart_en=0,eth=1,ip_mode=1, ip='1.2.3.4',mask='255.0.0.0',gateway='1.2.3.1',"
               "awifi_s=2,awifi_f=4,";
        QTest::newRow("all actions, both voltages, no channel")
            << QStringList{"Sbeepaction",       "Slightredaction", "Slightgreenaction", "outputhight",
                           "lowvoltage",        "highvoltage",     "Fbeepaction",       "Flightoffaction",
                           "Flightgreenaction", "heart_off"}
            << "heart_en=0,awifi_s=31,volctl=1,volctl=0,awifi_f=15,";
        QTest::newRow("high voltage, no actions")
            << QStringList{"heart_off", "!Slightoffaction", "!Flightredaction", "highvoltage"}
            << "heart_en=0,awifi_s=0,volctl=0,awifi_f=0,";
    }

    void network()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QCOMPARE(groupOf(config::appendNetworkGroup, steps), expected);
    }

    void wiegand_data()
    {
        addColumns();
        QTest::newRow("at start") << QStringList{"weigenOut"} << "vg=1,awifi_s=0,";
        QTest::newRow("34 bits, output high, 3.3 V")
            << QStringList{"weigenOut", "vg34", "outputhight_2", "lowvoltage_2"} << "vg=2,awifi_s=16,volctl=1,";
        QTest::newRow("both voltages after output high is off")
            << QStringList{"weigenOut", "lowvoltage_2", "highvoltage_2"} << "vg=1,awifi_s=0,volctl=1,volctl=0,";
        QTest::newRow("not the Wiegand channel") << QStringList{"outputhight_2"} << "awifi_s=16,";
    }

    void wiegand()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QCOMPARE(groupOf(config::appendWiegandGroup, steps), expected);
    }

    void serial_data()
    {
        addColumns();
        QTest::newRow("serial at start") << QStringList{"serialOut"} << "p_uart1='115200-8-N-1',";
        QTest::newRow("TTL on another series") << QStringList{"ttlOut", "tarvo_PL"} << "p_uart1='115200-8-N-1',";
        QTest::newRow("TTL on RN450") << QStringList{"ttlOut", "tarvo_RN450"} << "p_uart2='115200-8-N-1',";
        QTest::newRow("serial on RN310, TTL development")
            << QStringList{"serialOut", "tarvo_RN310", "ttlchoose"} << "p_uart2='115200-8-N-1',";
        QTest::newRow("line parameters")
            << QStringList{"serialOut", "baudRate=9600", "dataBit=7", "checkBit=E", "stopBit=2"}
            << "p_uart1='9600-7-E-2',";
    }

    void serial()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, expected);
        QCOMPARE(groupOf(config::appendSerialGroup, steps), expected);
    }
};

QTEST_MAIN(GroupsTest)
#include "test_groups.moc"
