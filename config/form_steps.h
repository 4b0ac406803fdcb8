#ifndef TARVO_CONFIG_FORM_STEPS_H
#define TARVO_CONFIG_FORM_STEPS_H

// Changes to the form in the order they are made: to its inputs, and to the
// parts that only show or hide (page buttons, boxes). An import or a choice
// of output channel yields such steps; the window makes them on its widgets
// in order, and a value without a window takes those to its inputs.

#include <vector>

#include "config/form_value.h"

namespace config {

// Parts of the form that show or hide but hold no value.
enum class Part {
    NfcPageButton,
    SerialBox,
    WifiPageButton,
    EthernetPageButton,
    WiegandPageButton,
    IpModeBox,
    WifiBox1,
    WifiBox2,
    EthernetBox,
    DevelopBox,
};

struct FormStep
{
    enum Kind { Check, Uncheck, SetText, SetChoice, SetNumber, Show, Hide };

    explicit FormStep(Kind stepKind) : kind(stepKind) {}

    Kind kind;
    Flag flag = nullptr;
    TextField text = nullptr;
    int FormValue::*number = nullptr;
    Part part = Part::NfcPageButton;
    QString textValue;
    int numberValue = 0;
};
using FormSteps = std::vector<FormStep>;

// Makes the steps on a value, as the form's widgets take them (a radio
// button checked unchecks its set, a combo box takes only its items, the
// slider clamps); Show and Hide change no value.
void applySteps(const FormSteps &steps, FormValue &value);

} // namespace config

#endif
