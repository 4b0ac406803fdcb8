#ifndef TARVO_QR_QRENCODE_CALLS_H
#define TARVO_QR_QRENCODE_CALLS_H

// libqrencode, opened the first time a code is encoded rather than mapped at
// every start: the window starts without a code, and most of the command
// line's modes draw none.

#include <QString>

#include <qrencode.h>

struct QrencodeCalls
{
    QRcode *(*encodeString)(const char *string, int version, QRecLevel level, QRencodeMode hint,
                            int caseSensitive);
    void (*free)(QRcode *code);
};

// The library's calls; null when it cannot be opened, with the loader's
// reason in *error.
const QrencodeCalls *qrencodeCalls(QString *error);

#endif
