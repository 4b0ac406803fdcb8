#include "app/widget.h"

#include <QDebug>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QVector>
#include <cerrno>
#include <qrencode.h>

#include "ui_widget.h"

namespace {

// Smallest symbol version we let the encoder pick; it grows the symbol from
// there as far as the text needs.
const int kMinimumVersion = 2;

const char kStatusTitle[] = "生成二维码状态";

void tellStatus(QWidget *window, const char *text)
{
    QMessageBox::information(window, QString::fromUtf8(kStatusTitle), QString::fromUtf8(text),
                             QMessageBox::Ok);
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

void Widget::ButtonClicked()
{
    GetconfigState();
    if (configText.isEmpty()) {
        // Assembly has already told the user why it refused.
        tellStatus(this, "生成二维码失败");
        return;
    }
    GenerateQRcode(configText);
    configText.clear();
}

void Widget::GenerateQRcode(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    QRcode *symbol = QRcode_encodeString(bytes.constData(), kMinimumVersion, QR_ECLEVEL_Q,
                                         QR_MODE_8, 1);
    if (!symbol) {
        // ERANGE: the text needs more than the largest symbol holds.
        tellStatus(this, errno == ERANGE ? "配置内容过长，超出配置码的容量，无法生成配置码"
                                         : "生成二维码失败");
        return;
    }

    const int width = ui->label->width();
    const int height = ui->label->height();
    qDebug() << "temp_width=" << width << ";temp_height=" << height;

    const QImage picture = paintSymbol(*symbol, width, height);
    QRcode_free(symbol);
    if (picture.isNull()) {
        tellStatus(this, "配置码过大，显示区域容纳不下");
        return;
    }
    ui->label->setPixmap(QPixmap::fromImage(picture));
    ui->label->setAlignment(Qt::AlignCenter);
    ui->label->show();
}
