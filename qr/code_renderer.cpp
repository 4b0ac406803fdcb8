#include "qr/code_renderer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QVector>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "files/safe_file.h"
#include "qr/qrencode_calls.h"
#include "text/plain_text.h"

namespace {

// Smallest symbol version we let the encoder pick; it grows the symbol from
// there as far as the text needs.
const int kMinimumVersion = 2;

// Paper modules are this large when the page has room, and shrink down to
// kMinimumPaperModuleMm to fit a large symbol.
const double kLargestPaperModuleMm = 1.0;
const double kPaperMarginMm = 10.0;
const double kPaperTextPoints = 10.0;
const double kMillimetresPerInch = 25.4;
const char kPageTooSmall[] = QT_TRANSLATE_NOOP("qr", "纸张太小，无法以可扫描的大小打印配置码");

// The dark modules as rectangles of module units, one per horizontal run:
// exact squares side by side, with far fewer shapes (and no seams between
// neighbours) in a vector file.
QVector<QRect> darkRuns(const CodeSymbol &symbol)
{
    QVector<QRect> runs;
    const int n = symbol.width();
    for (int row = 0; row < n; ++row) {
        int column = 0;
        while (column < n) {
            if (!symbol.isDark(row, column)) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < n && symbol.isDark(row, column))
                ++column;
            runs.append(QRect(start, row, column - start, 1));
        }
    }
    return runs;
}

// Whole-pixel modules for a raster picture.
void paintModules(QPainter &painter, const CodeSymbol &symbol, QPoint origin, int module)
{
    QVector<QRect> rects = darkRuns(symbol);
    for (QRect &r : rects)
        r = QRect(origin.x() + r.x() * module, origin.y() + r.y() * module, r.width() * module, module);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(rects.constData(), rects.size());
}

// Exact squares of any size for a vector device.
void paintModules(QPainter &painter, const CodeSymbol &symbol, QPointF origin, qreal module)
{
    const QVector<QRect> runs = darkRuns(symbol);
    QVector<QRectF> rects;
    rects.reserve(runs.size());
    for (const QRect &r : runs)
        rects.append(
            QRectF(origin.x() + r.x() * module, origin.y() + r.y() * module, r.width() * module, module));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(rects.constData(), rects.size());
}

QStringList sheetLines(const CodeSheet &sheet)
{
    return sheet.summary + QStringList{sheet.dateCaption + sheet.date.toString(Qt::ISODate)};
}

// Where the parts of a sheet go, in device units: the code with its quiet
// zone at the top, centred, and the text lines below it.
struct SheetLayout
{
    qreal module;
    QPointF codeOrigin; // top-left module of the symbol itself
    qreal textTop;
    qreal lineHeight;
    QSizeF size;
};

SheetLayout layOut(const CodeSymbol &symbol, const QStringList &lines, const QFontMetricsF &metrics, qreal module)
{
    qreal textWidth = 0;
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const qreal quiet = kQuietZoneModules * module;
    const qreal codeSide = symbol.width() * module;
    const qreal width = std::ceil(std::max(codeSide, textWidth) + 2 * quiet);
    SheetLayout layout;
    layout.module = module;
    layout.codeOrigin = QPointF(std::floor((width - codeSide) / 2), quiet);
    layout.textTop = quiet + codeSide + quiet;
    layout.lineHeight = metrics.lineSpacing();
    layout.size = QSizeF(width, std::ceil(layout.textTop + lines.size() * layout.lineHeight + quiet));
    return layout;
}

void paintText(QPainter &painter, const QStringList &lines, const SheetLayout &layout, QPointF origin)
{
    painter.setPen(Qt::black);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRectF(origin.x(), origin.y() + layout.textTop + i * layout.lineHeight,
                                layout.size.width(), layout.lineHeight),
                         Qt::AlignHCenter | Qt::AlignVCenter, lines.at(i));
}

QFont imageFont(int modulePixels)
{
    QFont font;
    font.setPixelSize(std::max(12, 2 * modulePixels));
    return font;
}

// The sheet drawn from `origin` on a device whose units are pixels, whole
// pixels a module.
void paintPixelSheet(QPainter &painter, const CodeSymbol &symbol, const QStringList &lines,
                     const SheetLayout &layout)
{
    painter.fillRect(QRectF(QPointF(0, 0), layout.size), Qt::white);
    paintModules(painter, symbol, layout.codeOrigin.toPoint(), int(layout.module));
    paintText(painter, lines, layout, QPointF(0, 0));
}

bool writeSvg(const CodeSymbol &symbol, const CodeSheet &sheet, QIODevice &file)
{
    // The lines come from what was typed or read (a network's name). The
    // generator escapes the text it draws but writes the title and the
    // description into the XML as they are, and a control character
    // anywhere: either made a file no reader opens.
    QStringList lines;
    for (const QString &line : sheetLines(sheet))
        lines << plainShown(line);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setResolution(96); // CSS pixels: the SVG shows as large as the PNG
    svg.setTitle(plainShown(sheet.title).toHtmlEscaped());
    svg.setDescription(lines.join(QLatin1Char('\n')).toHtmlEscaped());
    const QFont font = imageFont(kDefaultModulePixels);
    const SheetLayout layout = layOut(symbol, lines, QFontMetricsF(font, &svg), kDefaultModulePixels);
    const QSize size = layout.size.toSize();
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    painter.setFont(font);
    paintPixelSheet(painter, symbol, lines, layout);
    return painter.end();
}

// Lays the sheet out on a page of the given paint rectangle (device units at
// `resolution` dots an inch): modules of whole printer dots, so that every
// module prints equally wide, as large as fit up to kLargestPaperModuleMm.
// False when they would be under kMinimumPaperModuleMm.
bool layOutPage(const CodeSymbol &symbol, const QStringList &lines, const QFontMetricsF &metrics, QSizeF page,
                int resolution, SheetLayout *layout, QPointF *origin)
{
    const qreal unitsPerMm = resolution / kMillimetresPerInch;
    const int sideModules = symbol.width() + 2 * kQuietZoneModules;
    const qreal textHeight = (lines.size() + 1) * metrics.lineSpacing();
    const qreal fits = std::min(page.width(), page.height() - textHeight) / sideModules;
    const qreal module = std::floor(std::min(fits, kLargestPaperModuleMm * unitsPerMm));
    if (module < kMinimumPaperModuleMm * unitsPerMm)
        return false;
    *layout = layOut(symbol, lines, metrics, module);
    *origin = QPointF(std::floor((page.width() - layout->size.width()) / 2),
                      std::floor((page.height() - layout->size.height()) / 2));
    return true;
}

// Lines no wider than the paper: a long address is shortened in its middle
// rather than cut off at both edges of the page.
QStringList fittedLines(const QStringList &lines, const QFontMetricsF &metrics, qreal width)
{
    QStringList fitted;
    for (const QString &line : lines)
        fitted << metrics.elidedText(line, Qt::ElideMiddle, width);
    return fitted;
}

// One page of a PDF writer or a printer, whose painter is opened here.
bool paintPage(const CodeSymbol &symbol, const CodeSheet &sheet, QPagedPaintDevice &device, int resolution,
               QString *error)
{
    QFont font;
    font.setPointSizeF(kPaperTextPoints);
    const QFontMetricsF metrics(font, &device);
    const QRectF page = device.pageLayout().paintRectPixels(resolution);
    const QStringList lines = fittedLines(sheetLines(sheet), metrics, page.width());
    SheetLayout layout;
    QPointF origin;
    if (!layOutPage(symbol, lines, metrics, page.size(), resolution, &layout, &origin)) {
        *error = QString::fromUtf8(kPageTooSmall);
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QString::fromUtf8(QT_TRANSLATE_NOOP("qr", "无法打开打印输出"));
        return false;
    }
    painter.setFont(font);
    paintModules(painter, symbol, origin + layout.codeOrigin, layout.module);
    paintText(painter, lines, layout, origin);
    return painter.end();
}

bool writePdf(const CodeSymbol &symbol, const CodeSheet &sheet, QIODevice &file, QString *error)
{
    QPdfWriter pdf(&file);
    pdf.setTitle(sheet.title);
    pdf.setCreator(QStringLiteral("Tarvo配置工具"));
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(kPaperMarginMm, kPaperMarginMm, kPaperMarginMm, kPaperMarginMm),
                                  QPageLayout::Millimeter));
    return paintPage(symbol, sheet, pdf, pdf.resolution(), error);
}

} // namespace

CodeSymbol::CodeSymbol(const QString &text)
{
    const QrencodeCalls *encoder = qrencodeCalls(&detail);
    if (!encoder) {
        why = EncoderMissing;
        return;
    }
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    QRcode *symbol = encoder->encodeString(bytes.constData(), kMinimumVersion, QR_ECLEVEL_Q, QR_MODE_8, 1);
    if (!symbol) {
        // ERANGE: the text needs more than the largest symbol holds.
        why = errno == ERANGE ? TooLong : EncoderFailed;
        return;
    }
    side = symbol->width;
    dark.resize(side * side);
    for (int i = 0; i < dark.size(); ++i)
        dark[i] = char(symbol->data[i] & 1); // bit 0: dark module; the rest is the encoder's
    why = NoFailure;
    encoder->free(symbol);
}

QPixmap screenPixmap(const CodeSymbol &symbol, QSize logicalSize, qreal devicePixelRatio, int quietModules)
{
    const QSize pixels = logicalSize * devicePixelRatio;
    if (symbol.isNull() || pixels.isEmpty())
        return QPixmap();
    const int n = symbol.width();
    const int module = std::min(pixels.width(), pixels.height()) / (n + 2 * quietModules);
    if (module < 1)
        return QPixmap();
    const int side = module * n;

    QImage picture(pixels, QImage::Format_ARGB32);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(QPoint(0, 0), pixels));
    paintModules(painter, symbol, QPoint((pixels.width() - side) / 2, (pixels.height() - side) / 2), module);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QImage codeImage(const CodeSymbol &symbol, int modulePixels)
{
    if (symbol.isNull() || modulePixels < 1)
        return QImage();
    const int quiet = kQuietZoneModules * modulePixels;
    const int side = symbol.width() * modulePixels + 2 * quiet;
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    paintModules(painter, symbol, QPoint(quiet, quiet), modulePixels);
    return picture;
}

QImage sheetImage(const CodeSymbol &symbol, const CodeSheet &sheet, int modulePixels)
{
    if (symbol.isNull() || modulePixels < 1)
        return QImage();
    const QStringList lines = sheetLines(sheet);
    const QFont font = imageFont(modulePixels);
    // Measured on an image, whose text metrics every raster picture shares.
    QImage probe(1, 1, QImage::Format_RGB32);
    const SheetLayout layout = layOut(symbol, lines, QFontMetricsF(font, &probe), modulePixels);
    QImage picture(layout.size.toSize(), QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setFont(font);
    paintPixelSheet(painter, symbol, lines, layout);
    return picture;
}

bool writeSheet(const CodeSymbol &symbol, const CodeSheet &sheet, const QString &path, QString *error)
{
    error->clear();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf")) {
        *error = QString::fromUtf8(QT_TRANSLATE_NOOP("qr", "请选择 .png、.svg 或 .pdf 文件"));
        return false;
    }
    // Made whole in memory first: the file is replaced only by a complete
    // picture, never by the part a full disk let through.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool made = false;
    if (suffix == QLatin1String("png"))
        // A grey picture: a quarter of the data for the compressor.
        made = sheetImage(symbol, sheet).convertToFormat(QImage::Format_Grayscale8).save(&buffer, "PNG");
    else if (suffix == QLatin1String("svg"))
        made = writeSvg(symbol, sheet, buffer);
    else
        made = writePdf(symbol, sheet, buffer, error);
    if (!made) {
        if (error->isEmpty())
            *error = QString::fromUtf8(QT_TRANSLATE_NOOP("qr", "无法生成配置码图片"));
        return false;
    }
    if (const std::optional<QString> unwritten = files::replaceFile(path, buffer.data())) {
        *error = *unwritten;
        return false;
    }
    return true;
}

bool printSheet(const CodeSymbol &symbol, const CodeSheet &sheet, QPagedPaintDevice &printer, int resolution,
                QString *error)
{
    error->clear();
    return paintPage(symbol, sheet, printer, resolution, error);
}
