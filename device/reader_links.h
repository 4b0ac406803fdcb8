#ifndef TARVO_DEVICE_READER_LINKS_H
#define TARVO_DEVICE_READER_LINKS_H

// Readers as a user types them for a batch: host:port, a range of the last
// IPv4 octet (192.168.1.10-60:47811, both ends included) or a link as the
// device library takes it (tcp:HOST:PORT, serial:PATH[:BAUD[:FORMAT]]),
// several separated by spaces or commas. The result is links in the device
// library's syntax, in the order typed.

#include <QString>
#include <QStringList>

#include <optional>

namespace device {

// The most readers one text may name: a typo in a range must not queue
// thousands of time-outs.
constexpr int kMostTypedReaders = 128;

struct TypedReaders
{
    QStringList links;
    // Why the text was refused (nullptr when it was not), in the source
    // language and marked under "device"; %1 stands for the entry at fault
    // and %2 for kMostTypedReaders.
    const char *problem = nullptr;
    QString entry;
};

TypedReaders parseTypedReaders(const QString &text);

// The refusal in the program's language with its entry filled in.
QString typedReadersProblemText(const TypedReaders &parsed);

// Two links that would talk to one reader: the same link twice, or two links
// on one serial port (by its real path, whatever name or speed each gives).
// The second such link; nothing when every link is a reader of its own.
std::optional<QString> sharedLink(const QStringList &links);
// The reader a link reaches, as sharedLink tells two links apart.
QString readerOfLink(const QString &link);

} // namespace device

#endif
