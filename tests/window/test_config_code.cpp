// The config code painted into the window's label: read back with a real QR
// decoder, drawn in whole-pixel modules, and refused without damage when the
// text or the symbol does not fit.
#include <QLabel>
#include <QPixmap>
#include <QtTest>
#include <qrencode.h>

#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "tools/qrread/qr_reader.h"
#include "window/widget.h"

namespace {

// Bytes that a version holds at level Q when every byte goes into an 8-bit
// run, indexed by version (index 0 unused).
const int kByteCapacity[41] = {
    0,   11,  20,  32,   46,   60,   74,   86,   108,  130,  151,  177,  203,  241,
    258, 292, 322, 364,  394,  442,  482,  509,  565,  611,  661,  715,  751,  805,
    868, 908, 982, 1030, 1112, 1168, 1228, 1283, 1351, 1423, 1499, 1579, 1663,
};

const char kStatusTitle[] = "生成二维码状态";

// A text of the given length in characters that the encoder can only put into
// 8-bit runs: lower-case letters and the punctuation of configuration entries.
QString byteModeText(int length)
{
    static const QString alphabet = QStringLiteral("ssid='tarvo_office',key=value,{}");
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text += alphabet.at(i % alphabet.size());
    return text;
}

// The symbol version the encoder picks for a text, 0 when it gives none.
int versionOf(const QString &text)
{
    QRcode *symbol = QRcode_encodeString(text.toUtf8().constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1);
    if (!symbol)
        return 0;
    const int version = symbol->version;
    QRcode_free(symbol);
    return version;
}

QLabel *codeLabel(Widget &window)
{
    return formChild<QLabel>(window, "label");
}

QImage shownPicture(Widget &window)
{
    return codeLabel(window)->pixmap(Qt::ReturnByValue).toImage();
}

QImage paintedCode(const QString &text)
{
    Widget w;
    WidgetProbe(w).generateQRcode(text);
    return shownPicture(w);
}

} // namespace

class ConfigCodeTest : public QObject
{
    Q_OBJECT

private slots:
    // The shortest and the longest text of each version from 2 to 40.
    void readsBackAtEveryVersion_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("version");
        for (int version = 2; version <= 40; ++version) {
            const int shortest = version == 2 ? 1 : kByteCapacity[version - 1] + 1;
            QTest::addRow("v%d shortest", version) << shortest << version;
            QTest::addRow("v%d longest", version) << kByteCapacity[version] << version;
        }
    }

    void readsBackAtEveryVersion()
    {
        QFETCH(int, length);
        QFETCH(int, version);
        const QString text = byteModeText(length);
        QCOMPARE(versionOf(text), version);

        Widget w;
        MessageBoxAnswerer answerer;
        WidgetProbe(w).generateQRcode(text);
        QVERIFY2(answerer.seen().isEmpty(), qPrintable(answerer.summary().join('\n')));
        const QImage picture = shownPicture(w);
        QCOMPARE(picture.size(), QSize(258, 258));
        QCOMPARE(readQrCode(picture), text.toUtf8());
        QCOMPARE(codeLabel(w)->alignment(), Qt::AlignCenter);
    }

    // Each module is a square of min(W, H) / n whole pixels; the symbol sits
    // in the middle and everything around it is white.
    void drawsWholePixelModulesCentred_data()
    {
        QTest::addColumn<QSize>("labelSize");
        QTest::addColumn<int>("length");
        QTest::newRow("v2 in the form's label") << QSize(258, 258) << 1;
        QTest::newRow("v22 in the form's label") << QSize(258, 258) << kByteCapacity[22];
        QTest::newRow("v40 in the form's label") << QSize(258, 258) << kByteCapacity[40];
        QTest::newRow("v10 in a wide label") << QSize(300, 200) << kByteCapacity[10];
        QTest::newRow("v10 in a tall label") << QSize(151, 260) << kByteCapacity[10];
    }

    void drawsWholePixelModulesCentred()
    {
        QFETCH(QSize, labelSize);
        QFETCH(int, length);
        const QByteArray bytes = byteModeText(length).toUtf8();
        QRcode *symbol = QRcode_encodeString(bytes.constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1);
        QVERIFY(symbol);
        const int n = symbol->width;
        const QByteArray modules(reinterpret_cast<const char *>(symbol->data), n * n);
        QRcode_free(symbol);

        Widget w;
        codeLabel(w)->resize(labelSize);
        WidgetProbe(w).generateQRcode(QString::fromUtf8(bytes));
        const QImage picture = shownPicture(w).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), labelSize);

        const int m = qMin(labelSize.width(), labelSize.height()) / n;
        const QRect symbolArea((labelSize.width() - m * n) / 2, (labelSize.height() - m * n) / 2, m * n, m * n);
        int mismatches = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                bool dark = false;
                if (symbolArea.contains(x, y)) {
                    const int row = (y - symbolArea.top()) / m;
                    const int column = (x - symbolArea.left()) / m;
                    dark = modules.at(row * n + column) & 1;
                }
                if (picture.pixel(x, y) != (dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)))
                    ++mismatches;
            }
        }
        QCOMPARE(mismatches, 0);
    }

    // What the reader receives is the text's UTF-8 bytes, whatever the mix of
    // scripts, cases and digit runs that tempt the denser modes.
    void keepsEveryByte_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("Chinese Wi-Fi name")
            << QStringLiteral("___TRVO_CONFIG_V1.1.0___{wifi_ssid='办公室网络',wifi_pwd='密码12345678'}");
        QTest::newRow("lower case stays lower") << QStringLiteral("ssid='tarvo',key=abcdefghijklmnop");
        QTest::newRow("upper case stays upper") << QStringLiteral("SSID='TARVO',KEY=ABCDEFGHIJKLMNOP");
        QTest::newRow("long digit and capital runs")
            << QStringLiteral("tcpport=80808080808080,host='HOST-ABCDEFGHIJKLMN.LOCAL',x=a1B2c3");
    }

    void keepsEveryByte()
    {
        QFETCH(QString, text);
        QCOMPARE(readQrCode(paintedCode(text)), text.toUtf8());
    }

    void sameTextSamePicture()
    {
        const QString text = byteModeText(kByteCapacity[20]);
        Widget w;
        WidgetProbe probe(w);
        probe.generateQRcode(text);
        const QImage first = shownPicture(w);
        probe.generateQRcode(QStringLiteral("something else"));
        probe.generateQRcode(text);
        QCOMPARE(shownPicture(w), first);
        QCOMPARE(paintedCode(text), first);
    }

    // A text that no symbol holds, or a symbol that the label cannot show,
    // leaves the label as it was and tells the user once.
    void refusesWhatCannotBeShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("labelSize");
        QTest::newRow("one byte over version 40") << byteModeText(kByteCapacity[40] + 1) << QSize(258, 258);
        QTest::newRow("Chinese text over version 40")
            << QString(kByteCapacity[40] / 3 + 1, QChar(0x914D)) << QSize(258, 258);
        QTest::newRow("symbol wider than the label") << byteModeText(1) << QSize(24, 100);
    }

    void refusesWhatCannotBeShown()
    {
        QFETCH(QString, text);
        QFETCH(QSize, labelSize);
        Widget w;
        WidgetProbe probe(w);
        QLabel *label = codeLabel(w);
        MessageBoxAnswerer answerer;

        // Before any code: the label keeps its text.
        label->resize(labelSize);
        probe.generateQRcode(text);
        QCOMPARE(label->text(), QStringLiteral("二维码显示位置"));
        QVERIFY(label->pixmap(Qt::ReturnByValue).isNull());

        // After a code: the label keeps that code.
        label->resize(258, 258);
        probe.generateQRcode(QStringLiteral("previous"));
        const QImage previous = shownPicture(w);
        label->resize(labelSize);
        probe.generateQRcode(text);
        QCOMPARE(shownPicture(w), previous);

        QCOMPARE(answerer.seen().size(), 2);
        for (const MessageBoxAnswerer::Seen &box : answerer.seen()) {
            QCOMPARE(box.title, QString::fromUtf8(kStatusTitle));
            QVERIFY(!box.text.isEmpty());
            QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box.parent, static_cast<QWidget *>(&w));
        }
    }
};

QTEST_MAIN(ConfigCodeTest)
#include "test_config_code.moc"
