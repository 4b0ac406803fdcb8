#ifndef TARVO_CONFIG_GROUP_CONDITIONS_H
#define TARVO_CONFIG_GROUP_CONDITIONS_H

// When the groups write their conditional entries. The builders and the
// field rules (which check only what a build writes) ask the same
// questions, so both read them from here.


#include "config/form_bits.h"

namespace group_conditions {

// Transfer-method buttons of the Wi-Fi and the wired set together: the
// network group writes its TCP part whichever set is in use.
inline constexpr config::Flag kTcpMethods[] = {&config::FormValue::tcpO, &config::FormValue::tcpOx,
                                               &config::FormValue::wiredtcp, &config::FormValue::wiredtcpx};

// The WT series always scans in single mode and has no interval entry.
inline bool intervalWritten(const config::FormValue &ui)
{
    return !ui.tarvo_WT;
}

inline bool tcpChosen(const config::FormValue &ui)
{
    return form_bits::anyChecked(ui, kTcpMethods);
}

// Only the HTTP buttons of the channel's own set count, as only that set's
// methods are written (owifi, eth): an HTTP button left checked on the other
// set's hidden page wrote an address that the file, reopened, no longer
// asked for, so its next save lost it.
inline bool httpChosen(const config::FormValue &ui)
{
    return (ui.wifiOut && (ui.httpO || ui.httpOx)) || (ui.ethernetOut && (ui.wiredhttp || ui.wiredhttpx));
}

// The TCP server entries go out only as a complete set of three.
inline bool tcpServerWritten(const config::FormValue &ui)
{
    return tcpChosen(ui) && !ui.tcpaddr.isEmpty() && !ui.tcpport.isEmpty() && !ui.tcpdelay.isEmpty();
}

inline bool heartbeatWritten(const config::FormValue &ui)
{
    return tcpChosen(ui) && ui.heart_on;
}

inline bool httpServerWritten(const config::FormValue &ui)
{
    return httpChosen(ui) && !ui.httpaddr.isEmpty();
}

} // namespace group_conditions

#endif
