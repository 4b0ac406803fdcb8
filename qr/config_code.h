#ifndef TARVO_QR_CONFIG_CODE_H
#define TARVO_QR_CONFIG_CODE_H

// The config code: a configuration text as a QR code picture.

#include <QPixmap>
#include <QSize>
#include <QString>

class CodeSymbol;

namespace qr {

// The picture of the text's code for an area of the given size, or the
// reason (for the user) why there is none.
struct Code
{
    QPixmap picture;
    QString failure;
    QString detail; // the cause below the reason, when there is one
};

// Why a text gave no symbol, in the user's words.
QString symbolFailure(const CodeSymbol &symbol);

// Encodes the text's UTF-8 and draws the symbol centred on a white picture
// of the area's size, in whole device pixels a module at the given ratio.
Code paintCode(const QString &text, const QSize &area, qreal devicePixelRatio);

} // namespace qr

#endif
