#ifndef TARVO_TOOLS_QR_READER_H
#define TARVO_TOOLS_QR_READER_H

#include <QByteArray>
#include <QImage>

// Reads a QR code from a picture as a reader's camera would see it on the
// screen: the picture is surrounded by a white margin of marginPixels first.
// Returns the symbol's raw bytes, or a null QByteArray when no code is found.
QByteArray readQrCode(const QImage &picture, int marginPixels = 20);

#endif
