// The config code's files and pages read back with a real QR decoder after
// the way a user would view them: the PNG as it is, the SVG drawn by Qt, the
// PDF and the printed page rendered by poppler.
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include "app/widget.h"
#include "qr/code_renderer.h"
#include "support/widget_probe.h"
#include "tools/qrread/qr_reader.h"

namespace {

// A text of the given length that only 8-bit runs can hold.
QString byteModeText(int length)
{
    static const QString alphabet = QStringLiteral("ssid='tarvo_office',key=value,{}");
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(i % alphabet.size());
    return text;
}

const CodeSheet kSheet{{QStringLiteral("读头系列：ZB系列"), QStringLiteral("输出方式：USB键盘")},
                       QDate(2026, 3, 14)};

// Runs a poppler tool; its standard output, empty when it fails.
QByteArray poppler(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return QByteArray();
    return process.readAllStandardOutput();
}

// The first page of a PDF as a picture at 150 dots an inch.
QImage pdfPage(const QString &path)
{
    const QString prefix = path + QStringLiteral("-page");
    poppler(QStringLiteral("pdftoppm"), {"-r", "150", "-png", "-singlefile", path, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

QImage svgPicture(const QString &path)
{
    QSvgRenderer renderer(path);
    QImage picture(renderer.defaultSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

// The file as a user's viewer shows it.
QImage viewed(const QString &path)
{
    if (path.endsWith(QLatin1String(".svg")))
        return svgPicture(path);
    if (path.endsWith(QLatin1String(".pdf")))
        return pdfPage(path);
    return QImage(path);
}

// The words a file or page carries, for the summary under the code.
QString wordsOf(const QString &path)
{
    if (path.endsWith(QLatin1String(".pdf")))
        return QString::fromUtf8(poppler(QStringLiteral("pdftotext"), {path, "-"}));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int pdfPages(const QString &path)
{
    const QString info = QString::fromUtf8(poppler(QStringLiteral("pdfinfo"), {path}));
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : 0;
}

} // namespace

class CodeRendererTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    // The longest text of each version, in every format.
    void filesReadBack_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("suffix");
        const QPair<int, int> versions[] = {{2, 20}, {13, 241}, {22, 565}, {40, 1663}};
        for (const QString suffix : {"png", "svg", "pdf"})
            for (const auto &v : versions)
                QTest::addRow("v%d %s", v.first, qPrintable(suffix)) << v.first << v.second << suffix;
    }

    void filesReadBack()
    {
        QFETCH(int, version);
        QFETCH(int, length);
        QFETCH(QString, suffix);
        const QString text = byteModeText(length);
        const CodeSymbol symbol(text);
        QCOMPARE(symbol.version(), version);
        const QString path = dir.filePath(QStringLiteral("v%1.%2").arg(version).arg(suffix));
        QString error;
        QVERIFY2(writeSheet(symbol, kSheet, path, &error), qPrintable(error));
        QCOMPARE(readQrCode(viewed(path)), text.toUtf8());
    }

    // Vector files hold squares, not a picture, and every sheet says what
    // the code sets and when it was made.
    void sheetsCarryTheSummary_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("svg") << "svg";
        QTest::newRow("pdf") << "pdf";
    }

    void sheetsCarryTheSummary()
    {
        QFETCH(QString, suffix);
        const QString path = dir.filePath(QStringLiteral("summary.") + suffix);
        QString error;
        QVERIFY2(writeSheet(CodeSymbol(byteModeText(100)), kSheet, path, &error), qPrintable(error));
        const QString words = wordsOf(path);
        for (const QString &line : kSheet.summary + QStringList{"2026-03-14"})
            QVERIFY2(words.contains(line), qPrintable(line + QLatin1String(" missing")));
        if (suffix == QLatin1String("svg")) {
            QVERIFY(words.contains(QLatin1String("<rect")));
            QVERIFY(!words.contains(QLatin1String("<image")));
        }
    }

    // The PNG: whole pixels a module, a quiet zone of 4 modules, the symbol
    // exactly, and the sheet's text only below it.
    void pngModulesArePixelExact()
    {
        const CodeSymbol symbol(byteModeText(258));
        const int module = kDefaultModulePixels;
        const QImage sheet = sheetImage(symbol, kSheet).convertToFormat(QImage::Format_RGB32);
        const int n = symbol.width();
        const int left = (sheet.width() - n * module) / 2;
        const int top = kQuietZoneModules * module;
        int mismatches = 0;
        for (int y = 0; y < top + (n + kQuietZoneModules) * module; ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const int row = (y - top) / module;
                const int column = (x - left) / module;
                const bool inside = y >= top && x >= left && row < n && column < n;
                const bool dark = inside && symbol.isDark(row, column);
                mismatches += sheet.pixel(x, y) != (dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
            }
        QCOMPARE(mismatches, 0);
        QVERIFY(left >= kQuietZoneModules * module);
        QCOMPARE(codeImage(symbol).size(), QSize(n + 8, n + 8) * module);
    }

    // On a high-density screen every module is whole device pixels and the
    // picture keeps the label's logical size.
    void screenPictureAtDoubleDensity_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("v2") << 20;
        QTest::newRow("v40") << 1663;
    }

    void screenPictureAtDoubleDensity()
    {
        QFETCH(int, length);
        const QString text = byteModeText(length);
        const CodeSymbol symbol(text);
        const QPixmap pixmap = screenPixmap(symbol, QSize(258, 258), 2.0, 0);
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        QCOMPARE(pixmap.size(), QSize(516, 516));
        const QImage picture = pixmap.toImage();
        QCOMPARE(readQrCode(picture), text.toUtf8());

        // The dark pixels span exactly n modules of 516 / n device pixels.
        const int side = symbol.width() * (516 / symbol.width());
        int first = -1, last = -1;
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, (516 - side) / 2)) == 0) {
                first = first < 0 ? x : first;
                last = x;
            }
        QCOMPARE(first, (516 - side) / 2);
        QCOMPARE(last - first + 1, side);
    }

    // The window on a screen scaled twice (set up in main below).
    void labelFollowsTheScreenDensity()
    {
        const QString text = byteModeText(1663);
        Widget w;
        WidgetProbe(w).generateQRcode(text);
        const QPixmap shown = formChild<QLabel>(w, "label")->pixmap(Qt::ReturnByValue);
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        QCOMPARE(readQrCode(shown.toImage()), text.toUtf8());
    }

    // One centred page per code through the printer's own PDF output; a page
    // too small for modules of 0.4 mm is refused without printing.
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
        const QString text = byteModeText(length);
        const QString path = dir.filePath(QStringLiteral("printed-%1.pdf").arg(QTest::currentDataTag()));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(pageMm, QPageSize::Millimeter));
        printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);

        QString error;
        QCOMPARE(printSheet(CodeSymbol(text), kSheet, printer, &error), printed);
        QCOMPARE(error.isEmpty(), printed);
        if (!printed) {
            QVERIFY(!QFile::exists(path));
            return;
        }
        QCOMPARE(pdfPages(path), 1);
        QCOMPARE(readQrCode(pdfPage(path)), text.toUtf8());
        QVERIFY(wordsOf(path).contains(kSheet.summary.first()));
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
