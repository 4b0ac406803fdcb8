#include "config/form_steps.h"

namespace config {

void applySteps(const FormSteps &steps, FormValue &value)
{
    for (const FormStep &step : steps) {
        switch (step.kind) {
        case FormStep::Check:
            value.check(step.flag);
            break;
        case FormStep::Uncheck:
            // A checked radio button cannot be unchecked by itself.
            if (fieldOf(step.flag).kind == FieldInfo::Check)
                value.*step.flag = false;
            break;
        case FormStep::SetText:
            value.*step.text = step.textValue;
            break;
        case FormStep::SetChoice:
            value.setChoice(step.text, step.textValue);
            break;
        case FormStep::SetNumber:
            value.setNumber(step.number, step.numberValue);
            break;
        case FormStep::Show:
        case FormStep::Hide:
            break;
        }
    }
}

} // namespace config
