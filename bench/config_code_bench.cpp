// Times the config code: painting a text into the window's label, and the
// libqrencode encoding alone, for a minimal, a typical Wi-Fi and a
// version-40 configuration text. Prints medians of repeated runs as a
// Markdown table.
#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLoggingCategory>
#include <QPixmap>
#include <QVector>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <qrencode.h>

#include "app/widget.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"

namespace {

const int kWarmUpRuns = 5;

struct Case
{
    const char *name;
    QString text;
    int runs;
};

double medianMicroseconds(int runs, const std::function<void()> &work)
{
    for (int i = 0; i < kWarmUpRuns; ++i)
        work();
    QVector<qint64> nanoseconds;
    nanoseconds.reserve(runs);
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        work();
        nanoseconds.append(timer.nsecsElapsed());
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds.at(runs / 2) / 1000.0;
}

int encodedVersion(const QByteArray &bytes)
{
    QRcode *symbol = QRcode_encodeString(bytes.constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1);
    const int version = symbol ? symbol->version : 0;
    QRcode_free(symbol);
    return version;
}

QString cpuModel()
{
    // /proc files report no size, so read them whole rather than to atEnd().
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QStringList lines = QString::fromUtf8(cpuinfo.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.startsWith(QLatin1String("model name")))
            return line.section(QLatin1Char(':'), 1).trimmed();
    return QStringLiteral("unknown");
}

const char kSignature[] = "--Dq2bBh7kFz0n4aXcJ1wQ9g==";

const char kMinimalBody[] =
    "chk_env=0,de_type=1,cr=0,nl=0,wled=1,prefix='',postfix='',s_mode=0,interval=300,"
    "devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,nfc=0,ochannel=1,"
    "dchannel=1,w_mode=1";

const char kWifiBody[] =
    "chk_env=0,de_type=1,cr=1,nl=0,wled=1,prefix='',postfix='',s_mode=0,interval=300,"
    "devnum=0,brightness=200,ascan=1,decoder=3,beepd=30,ledd=200,ft=1,nfc=1,anfc=1,ord=1,"
    "idord=1,st=0,len=8,pri='',pos='',horc=1,nft=1,ssid='Tarvo-Office-5G',psk='w1f1-Pass!2024',"
    "owifi=5,taddr='192.168.10.25',port=9000,touttime=2,heart_en=1,heart_time=60,"
    "heart_data='www.tarvo.com',haddr='http://192.168.10.25:8080/api/scan/upload',"
    "houttime=2,awifi_s=2,awifi_f=4,ochannel=8,dchannel=1,w_mode=1";

QString signedText(const QString &body)
{
    return QStringLiteral("___TRVO_CONFIG_V1.1.0___{") + body + QStringLiteral("}") +
           QLatin1String(kSignature);
}

// A body that just fills a version-40 symbol: the envelope and signature
// around a heartbeat text padded to the byte capacity at level Q.
QString versionFortyText()
{
    QString text = signedText(QStringLiteral("heart_data='',w_mode=1"));
    const int padding = 1663 - text.toUtf8().size();
    text.insert(text.indexOf(QLatin1String("''")) + 1, QString(padding, QLatin1Char('x')));
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The painting's debug line would flood the table.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    const QVector<Case> cases = {
        {"minimal", signedText(QLatin1String(kMinimalBody)), 1001},
        {"typical Wi-Fi", signedText(QLatin1String(kWifiBody)), 501},
        {"version 40", versionFortyText(), 301},
    };

    Widget window;
    WidgetProbe probe(window);
    QLabel *label = formChild<QLabel>(window, "label");
    MessageBoxAnswerer answerer;

    std::printf("CPU: %s, %s\n\n", qPrintable(cpuModel()),
                qPrintable(QDate::currentDate().toString(Qt::ISODate)));
    std::printf("| text | bytes | version | GenerateQRcode (µs) | encoding alone (µs) | ratio |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Case &c : cases) {
        const QByteArray bytes = c.text.toUtf8();
        label->clear();
        const double painting = medianMicroseconds(c.runs, [&] { probe.generateQRcode(c.text); });
        if (label->pixmap(Qt::ReturnByValue).isNull() || !answerer.seen().isEmpty()) {
            std::fprintf(stderr, "%s: no code was painted\n", c.name);
            return 1;
        }
        const double encoding = medianMicroseconds(c.runs, [&] {
            QRcode_free(QRcode_encodeString(bytes.constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1));
        });
        std::printf("| %s | %d | %d | %.0f | %.0f | %.2f |\n", c.name, int(bytes.size()),
                    encodedVersion(bytes), painting, encoding, painting / encoding);
    }
    return 0;
}
