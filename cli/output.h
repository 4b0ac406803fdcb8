#ifndef TARVO_CLI_OUTPUT_H
#define TARVO_CLI_OUTPUT_H

#include <QString>

#include <cstdio>

// False when the stream did not take all of it (a full disk, a closed pipe).
inline bool print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

#endif
