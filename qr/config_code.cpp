#include "qr/config_code.h"

#include <QDebug>

#include "qr/code_renderer.h"

namespace {

qr::Code failed(const char *reason)
{
    return {QPixmap(), QString::fromUtf8(reason)};
}

} // namespace

namespace qr {

Code paintCode(const QString &text, const QSize &area, qreal devicePixelRatio)
{
    const CodeSymbol symbol(text);
    if (symbol.isNull()) {
        return failed(symbol.failure() == CodeSymbol::TooLong
                          ? "配置内容过长，超出配置码的容量，无法生成配置码"
                          : "生成二维码失败");
    }

    qDebug() << "temp_width=" << area.width() << ";temp_height=" << area.height();
    // Square modules of whole device pixels; the white around them is the
    // code's quiet zone.
    const QPixmap picture = screenPixmap(symbol, area, devicePixelRatio, 0);
    if (picture.isNull())
        return failed("配置码过大，显示区域容纳不下");
    return {picture, QString()};
}

} // namespace qr
