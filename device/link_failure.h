#ifndef TARVO_DEVICE_LINK_FAILURE_H
#define TARVO_DEVICE_LINK_FAILURE_H

// Why the link to the reader failed, in words a technician can act on.

#include <QString>

#include <cstdint>

namespace device {

struct LinkFailure
{
    int cause = 0;   // a trvo_cause; 0 when nothing failed
    QString message; // the device library's own line, naming the port or host
};

// The failure of the channel's last call, or of the last open when the
// channel is not open.
LinkFailure lastFailure(intptr_t channel);

// What the cause means and what to do about it, in the source language and
// marked for translation under "device"; nullptr for a cause without one.
const char *causeText(int cause);

// The cause as a stable word for scripts ("timeout", "connection_refused"),
// the same in every language; nullptr for a cause without one.
const char *causeCode(int cause);

// The cause a code names, as causeCode gives it; 0 for a code of none.
int causeNamed(const QString &code);

// The detail of a configuration the reader answered with "refused", marked
// like the cause texts.
extern const char kRefusedConfiguration[];

} // namespace device

#endif
