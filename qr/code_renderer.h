#ifndef TARVO_QR_CODE_RENDERER_H
#define TARVO_QR_CODE_RENDERER_H

// Every picture of a config code is made here: the window's label, the zoom
// view, the exported PNG, SVG and PDF files, and the printed page. They all
// encode the signed text the same way and draw the same modules, so what a
// reader scans from paper is what it scans from the screen.

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

// The modules of one config code.
class CodeSymbol
{
public:
    // EncoderMissing: the encoder's library could not be opened.
    enum Failure { NoFailure, TooLong, EncoderFailed, EncoderMissing };

    CodeSymbol() = default;
    // Encodes the text's UTF-8 bytes: version 2 at least, level Q, 8-bit
    // mode hint, case-sensitive.
    explicit CodeSymbol(const QString &text);

    bool isNull() const { return side == 0; }
    // Why the text gave no symbol; TooLong when it needs more than version 40.
    Failure failure() const { return why; }
    // The loader's words when the encoder is missing; else empty.
    QString failureDetail() const { return detail; }
    // Modules on a side, without a quiet zone.
    int width() const { return side; }
    bool isDark(int row, int column) const { return dark.at(row * side + column) != 0; }

private:
    int side = 0;
    QByteArray dark; // one byte a module, row after row
    Failure why = EncoderFailed;
    QString detail;
};

// Modules of white that a scanner needs around a code on paper or in a file.
constexpr int kQuietZoneModules = 4;
// Pixels a module in an exported PNG unless the caller asks otherwise.
constexpr int kDefaultModulePixels = 8;
// The smallest module a reader's imager resolves from paper.
constexpr double kMinimumPaperModuleMm = 0.4;

// The code for a screen: as large as fits logicalSize with square modules of
// a whole number of device pixels, centred on white, with at least
// quietModules of white around it. At a device pixel ratio of 1 the picture
// has exactly logicalSize pixels. Null when a module would get no pixel.
QPixmap screenPixmap(const CodeSymbol &symbol, QSize logicalSize, qreal devicePixelRatio, int quietModules);

// The code alone with its quiet zone, modulePixels a module.
QImage codeImage(const CodeSymbol &symbol, int modulePixels = kDefaultModulePixels);

// What a file or a page shows under the code: the caller's summary lines and
// the date the code was made, after its caption; the title names the file or
// the print job. The captions come in the source language; the window puts
// them in translated (context "qr").
struct CodeSheet
{
    QStringList summary;
    QDate date;
    QString dateCaption = QString::fromUtf8(QT_TRANSLATE_NOOP("qr", "生成日期："));
    QString title = QString::fromUtf8(QT_TRANSLATE_NOOP("qr", "配置码"));
};

// The code with its quiet zone and the sheet's lines below it, as a picture
// of modulePixels a module.
QImage sheetImage(const CodeSymbol &symbol, const CodeSheet &sheet, int modulePixels = kDefaultModulePixels);

// Writes the sheet to a file in the format its suffix names: .png, .svg or
// .pdf (any case). False, with a reason in *error, when the suffix is none of
// them or the file cannot be written.
bool writeSheet(const CodeSymbol &symbol, const CodeSheet &sheet, const QString &path, QString *error);

// Prints the sheet on one page of a printer, resolution dots per inch,
// centred, each module at least kMinimumPaperModuleMm. False, with a reason
// in *error, when the page is too small for that or the printer cannot be
// opened. The printer comes as its paged device: Qt Gui is all this needs.
bool printSheet(const CodeSymbol &symbol, const CodeSheet &sheet, QPagedPaintDevice &printer, int resolution,
                QString *error);

#endif
