#ifndef TARVO_CONFIG_GROUP_CONDITIONS_H
#define TARVO_CONFIG_GROUP_CONDITIONS_H

// When the groups write their conditional entries. The builders and the
// field rules (which check only what a build writes) ask the same
// questions, so both read them from here.


#include "config/form_bits.h"

namespace group_conditions {

// Transfer-method buttons of the Wi-Fi and the wired set together: the
// network group writes its TCP and HTTP parts whichever set is in use.
inline constexpr config::Flag kTcpMethods[] = {
    &config::FormValue::tcpO, &config::FormValue::tcpOx, &config::FormValue::wiredtcp, &config::FormValue::wiredtcpx};
inline constexpr config::Flag kHttpMethods[] = {
    &config::FormValue::httpO, &config::FormValue::httpOx, &config::FormValue::wiredhttp, &config::FormValue::wiredhttpx};

// The WT series always scans in single mode and has no interval entry.
inline bool intervalWritten(const config::FormValue &ui)
{
    return !ui.tarvo_WT;
}

inline bool tcpChosen(const config::FormValue &ui)
{
    return form_bits::anyChecked(ui, kTcpMethods);
}

inline bool httpChosen(const config::FormValue &ui)
{
    return form_bits::anyChecked(ui, kHttpMethods);
}

// The TCP server entries go out only as a complete set of three.
inline bool tcpServerWritten(const config::FormValue &ui)
{
    return tcpChosen(ui) && !ui.tcpaddr.isEmpty() && !ui.tcpport.isEmpty()
           && !ui.tcpdelay.isEmpty();
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
