// The config code's files and printed pages read back with a real QR decoder
// the way a user views them (the PNG as it is, the SVG drawn by Qt, PDF pages
// rendered by poppler), and so does the label on a screen scaled twice.
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "qr/code_renderer.h"
#include "qr/config_code.h"
#include "tools/qrread/qr_reader.h"

namespace {

const CodeSheet kSheet{{"读头系列：ZB系列", "输出方式：USB键盘"}, QDate(2026, 3, 14)};
const QStringList kSheetWords = kSheet.summary + QStringList{"2026-03-14"};

// Lower-case letters: the encoder can only put them into 8-bit runs.
QString byteModeText(int length)
{
    return QString(length, QLatin1Char('x'));
}

// A poppler tool's standard output; empty when it fails.
QByteArray poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    const bool ran = process.waitForFinished(60000) && process.exitCode() == 0;
    return ran ? process.readAllStandardOutput() : QByteArray();
}

// The file as a viewer shows it: a PDF's first page at 150 dots an inch.
QImage viewed(const QString &path)
{
    if (path.endsWith(QLatin1String(".pdf"))) {
        poppler("pdftoppm", {"-r", "150", "-png", "-singlefile", path, path});
        return QImage(path + QStringLiteral(".png"));
    }
    if (!path.endsWith(QLatin1String(".svg")))
        return QImage(path);
    QSvgRenderer svg(path);
    QImage picture(svg.defaultSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    svg.render(&painter);
    return picture;
}

QString wordsOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".pdf")))
        return QString::fromUtf8(poppler("pdftotext", {path, "-"}));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class CodeRendererTest : public QObject
{
    Q_OBJECT

private slots:
    // The longest text of each version, in every format. PNG and SVG must
    // read back with only their own quiet zone around the code; the vector
    // files carry the summary and the date as text, and squares, no image.
    void filesReadBack_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("suffix");
        const QPair<int, int> versions[] = {{2, 20}, {13, 241}, {22, 565}, {40, 1663}};
        for (const char *suffix : {"png", "svg", "pdf"})
            for (const auto &v : versions)
                QTest::addRow("v%d %s", v.first, suffix) << v.first << v.second << suffix;
    }

    void filesReadBack()
    {
        QFETCH(int, version);
        QFETCH(int, length);
        QFETCH(QString, suffix);
        const CodeSymbol symbol(byteModeText(length));
        QCOMPARE(symbol.width(), 17 + 4 * version); // a version's side, in modules
        const QString path = dir.filePath(QStringLiteral("v%1.%2").arg(version).arg(suffix));
        QString error;
        QVERIFY2(writeSheet(symbol, kSheet, path, &error), qPrintable(error));
        QCOMPARE(readQrCode(viewed(path), 0), byteModeText(length).toUtf8());
        if (suffix == QLatin1String("png"))
            return;
        const QString words = wordsOf(path);
        for (const QString &word : kSheetWords)
            QVERIFY2(words.contains(word), qPrintable(word));
        QVERIFY(!words.contains(QLatin1String("<image")));
    }

    // A network's name and a file's are typed or read from a file: whatever
    // they hold, the SVG stays well-formed XML and keeps their printable text.
    void svgTextStaysXml()
    {
        const CodeSheet sheet{{QStringLiteral("输出方式：WIFI，网络 a<b>&\"c\x01\x1b[31m")},
                              QDate(2026, 3, 14),
                              QStringLiteral("生成日期："),
                              QStringLiteral("Tom & Jerry <3")};
        const QString path = dir.filePath(QStringLiteral("odd.svg"));
        QString error;
        QVERIFY2(writeSheet(CodeSymbol(byteModeText(20)), sheet, path, &error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString text;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement
                && (xml.name() == QLatin1String("title") || xml.name() == QLatin1String("desc")))
                text += xml.readElementText() + QLatin1Char('|');
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(text,
                 QStringLiteral("Tom & Jerry <3|输出方式：WIFI，网络 a<b>&\"c  [31m\n生成日期：2026-03-14|"));
        QCOMPARE(readQrCode(viewed(path), 0), byteModeText(20).toUtf8());
    }

    // Set up in main below; at version 40 each module is 2 device pixels.
    void labelFollowsTheScreenDensity()
    {
        // The code label's size on the form.
        const qr::Code code = qr::paintCode(byteModeText(1663), QSize(258, 258), qApp->devicePixelRatio());
        const QPixmap &shown = code.picture;
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(readQrCode(shown.toImage()), byteModeText(1663).toUtf8());
    }

    // One page per code through the printer's own PDF output; a page too
    // small for modules of 0.4 mm is refused without printing.
    void printsOnePage_data()
    {
        QTest::addColumn<QSizeF>("pageMm");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("printed");
        QTest::newRow("A4, v40") << QSizeF(210, 297) << 1663 << true;
        QTest::newRow("label 60 mm, v13") << QSizeF(60, 60) << 241 << true;
        QTest::newRow("label 60 mm, v40") << QSizeF(60, 60) << 1663 << false;
    }

    void printsOnePage()
    {
        QFETCH(QSizeF, pageMm);
        QFETCH(int, length);
        QFETCH(bool, printed);
        const QString path = dir.filePath(QTest::currentDataTag() + QStringLiteral(".pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(pageMm, QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        QString error;
        QCOMPARE(printSheet(CodeSymbol(byteModeText(length)), kSheet, printer, printer.resolution(), &error),
                 printed);
        QCOMPARE(error.isEmpty(), printed);
        QCOMPARE(QFile::exists(path), printed);
        if (printed) {
            QVERIFY(poppler("pdfinfo", {path}).contains("Pages:           1\n"));
            QCOMPARE(readQrCode(viewed(path)), byteModeText(length).toUtf8());
        }
    }

    // A summary line wider than the paper is shortened in its middle, so that
    // both of its ends and every other line stay on the page.
    void printsLongLinesWhole()
    {
        const QString path = dir.filePath(QStringLiteral("long line.pdf"));
        const QString address = QStringLiteral("http://10.0.0.1/") + QString(300, 'a') + "/end";
        const CodeSheet sheet{kSheet.summary + QStringList{address}, kSheet.date};
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QString error;
        QVERIFY2(printSheet(CodeSymbol(byteModeText(241)), sheet, printer, printer.resolution(), &error),
                 qPrintable(error));
        const QString words = QString::fromUtf8(poppler("pdftotext", {"-layout", path, "-"}));
        QVERIFY2(QRegularExpression("http://10\\.0\\.0\\.1/a+…a+/end").match(words).hasMatch(),
                 qPrintable(words));
        for (const QString &word : kSheetWords)
            QVERIFY2(words.contains(word), qPrintable(word));
    }

    void refusesWhatItCannotWrite_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown suffix") << "code.jpg";
        QTest::newRow("no such folder") << "missing/code.png";
    }

    void refusesWhatItCannotWrite()
    {
        QFETCH(QString, name);
        QString error;
        QVERIFY(!writeSheet(CodeSymbol(QStringLiteral("x")), kSheet, dir.filePath(name), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(name)));
    }

private:
    QTemporaryDir dir;
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    CodeRendererTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_code_renderer.moc"
