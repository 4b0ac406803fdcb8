#include "qr/config_code.h"

#include <QDebug>
#include <QPainter>
#include <QRect>
#include <QVector>
#include <cerrno>
#include <qrencode.h>

namespace {

// Smallest symbol version we let the encoder pick; it grows the symbol from
// there as far as the text needs.
const int kMinimumVersion = 2;

qr::Code failed(const char *reason)
{
    return {QImage(), QString::fromUtf8(reason)};
}

// Draws the symbol with square modules of a whole number of pixels, as large
// as fit, centred on a white picture of the given size. Fractional modules
// blur the module edges and defeat scanners on the larger versions; the white
// around the symbol also serves as its quiet zone. Returns a null image when
// the picture is too small to give each module even one pixel.
QImage paintSymbol(const QRcode &symbol, int width, int height)
{
    const int modules = symbol.width;
    const int modulePixels = qMin(width, height) / modules;
    if (modulePixels < 1)
        return QImage();
    const int side = modulePixels * modules;
    const int left = (width - side) / 2;
    const int top = (height - side) / 2;

    QVector<QRect> dark;
    for (int row = 0; row < modules; ++row)
        for (int column = 0; column < modules; ++column)
            if (symbol.data[row * modules + column] & 1) // bit 0: dark module
                dark.append(QRect(left + column * modulePixels, top + row * modulePixels,
                                  modulePixels, modulePixels));

    QImage picture(width, height, QImage::Format_ARGB32);
    QPainter painter(&picture);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(0, 0, width, height));
    painter.setBrush(Qt::black);
    painter.drawRects(dark.constData(), dark.size());
    return picture;
}

} // namespace

namespace qr {

Code paintCode(const QString &text, const QSize &area)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    QRcode *symbol = QRcode_encodeString(bytes.constData(), kMinimumVersion, QR_ECLEVEL_Q,
                                         QR_MODE_8, 1);
    if (!symbol) {
        // ERANGE: the text needs more than the largest symbol holds.
        return failed(errno == ERANGE ? "配置内容过长，超出配置码的容量，无法生成配置码"
                                      : "生成二维码失败");
    }

    qDebug() << "temp_width=" << area.width() << ";temp_height=" << area.height();
    const QImage picture = paintSymbol(*symbol, area.width(), area.height());
    QRcode_free(symbol);
    if (picture.isNull())
        return failed("配置码过大，显示区域容纳不下");
    return {picture, QString()};
}

} // namespace qr
