#include "qr/qrencode_calls.h"

#include <QLibrary>

namespace {

struct Loaded
{
    QrencodeCalls calls{};
    QString error;
};

Loaded load()
{
    // By its soname: the package the program depends on.
    QLibrary library(QStringLiteral("qrencode"), 4);
    Loaded loaded;
    loaded.calls.encodeString =
        reinterpret_cast<decltype(QrencodeCalls::encodeString)>(library.resolve("QRcode_encodeString"));
    loaded.calls.free = reinterpret_cast<decltype(QrencodeCalls::free)>(library.resolve("QRcode_free"));
    if (!loaded.calls.encodeString || !loaded.calls.free)
        loaded.error = library.errorString();
    return loaded;
}

} // namespace

const QrencodeCalls *qrencodeCalls(QString *error)
{
    static const Loaded loaded = load();
    *error = loaded.error;
    return loaded.error.isEmpty() ? &loaded.calls : nullptr;
}
