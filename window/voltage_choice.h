#ifndef TARVO_WINDOW_VOLTAGE_CHOICE_H
#define TARVO_WINDOW_VOLTAGE_CHOICE_H

class QAbstractButton;
class QObject;
class Ui_Widget;

// The output voltage, chosen on the network page or on the Wiegand page
// with a pair of boxes: 3.3 V (low) and 4.3 V (high).
enum class Voltage { Low, High };

// Asks before the reader's output voltage changes, since the devices on
// either end must agree on it. A click that unchecks asks nothing. Yes
// keeps the chosen level as the only one; No, and Escape (the box's escape
// button is No), take the choice back.
void confirmVoltage(QAbstractButton *chosen, QAbstractButton *other, Voltage level);

// The Wiegand page's pair asks the same, so that at most one is checked:
// two checked would send the reader two contradictory voltages.
void connectWiegandVoltages(Ui_Widget &form, QObject *context);

#endif
