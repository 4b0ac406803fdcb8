#ifndef TARVO_CONFIG_GROUP_CONDITIONS_H
#define TARVO_CONFIG_GROUP_CONDITIONS_H

// When the groups write their conditional entries. The builders and the
// field rules (which check only what a build writes) ask the same
// questions, so both read them from here.

#include <QLineEdit>
#include <QRadioButton>

#include "config/form_bits.h"

namespace group_conditions {

// Transfer-method buttons of the Wi-Fi and the wired set together: the
// network group writes its TCP and HTTP parts whichever set is in use.
inline constexpr QRadioButton *Ui_Widget::*kTcpMethods[] = {
    &Ui_Widget::tcpO, &Ui_Widget::tcpOx, &Ui_Widget::wiredtcp, &Ui_Widget::wiredtcpx};
inline constexpr QRadioButton *Ui_Widget::*kHttpMethods[] = {
    &Ui_Widget::httpO, &Ui_Widget::httpOx, &Ui_Widget::wiredhttp, &Ui_Widget::wiredhttpx};

// The WT series always scans in single mode and has no interval entry.
inline bool intervalWritten(const Ui_Widget &ui)
{
    return !ui.tarvo_WT->isChecked();
}

inline bool tcpChosen(const Ui_Widget &ui)
{
    return form_bits::anyChecked(ui, kTcpMethods);
}

inline bool httpChosen(const Ui_Widget &ui)
{
    return form_bits::anyChecked(ui, kHttpMethods);
}

// The TCP server entries go out only as a complete set of three.
inline bool tcpServerWritten(const Ui_Widget &ui)
{
    return tcpChosen(ui) && !ui.tcpaddr->text().isEmpty() && !ui.tcpport->text().isEmpty()
           && !ui.tcpdelay->text().isEmpty();
}

inline bool heartbeatWritten(const Ui_Widget &ui)
{
    return tcpChosen(ui) && ui.heart_on->isChecked();
}

inline bool httpServerWritten(const Ui_Widget &ui)
{
    return httpChosen(ui) && !ui.httpaddr->text().isEmpty();
}

} // namespace group_conditions

#endif
