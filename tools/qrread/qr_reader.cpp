#include "tools/qrread/qr_reader.h"

#include <QPainter>
#include <ZXing/ReadBarcode.h>

QByteArray readQrCode(const QImage &picture, int marginPixels)
{
    if (picture.isNull())
        return QByteArray();
    QImage framed(picture.width() + 2 * marginPixels, picture.height() + 2 * marginPixels,
                  QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    {
        QPainter painter(&framed);
        painter.drawImage(marginPixels, marginPixels, picture);
    }

    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    const ZXing::ImageView view(framed.constBits(), framed.width(), framed.height(), ZXing::ImageFormat::Lum,
                                framed.bytesPerLine());
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return QByteArray();
    const auto &bytes = result.bytes();
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), int(bytes.size()));
}
