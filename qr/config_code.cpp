#include "qr/config_code.h"

#include <QDebug>

#include "qr/code_renderer.h"

namespace {

qr::Code failed(const char *reason)
{
    return {QPixmap(), QString::fromUtf8(reason), QString()};
}

} // namespace

namespace qr {

QString symbolFailure(const CodeSymbol &symbol)
{
    return QString::fromUtf8(symbol.failure() == CodeSymbol::TooLong
                                 ? QT_TRANSLATE_NOOP("qr", "配置内容过长，超出配置码的容量，无法生成配置码")
                                 : QT_TRANSLATE_NOOP("qr", "生成二维码失败"));
}

Code paintCode(const QString &text, const QSize &area, qreal devicePixelRatio)
{
    const CodeSymbol symbol(text);
    if (symbol.isNull())
        return {QPixmap(), symbolFailure(symbol), symbol.failureDetail()};

    qDebug() << "temp_width=" << area.width() << ";temp_height=" << area.height();
    // Square modules of whole device pixels; the white around them is the
    // code's quiet zone.
    const QPixmap picture = screenPixmap(symbol, area, devicePixelRatio, 0);
    if (picture.isNull())
        return failed(QT_TRANSLATE_NOOP("qr", "配置码过大，显示区域容纳不下"));
    return {picture, QString(), QString()};
}

} // namespace qr
