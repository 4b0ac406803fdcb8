#ifndef TARVO_WINDOW_FORM_BINDING_H
#define TARVO_WINDOW_FORM_BINDING_H

// The form's widgets bound to the configuration value: each input of the
// value's table to the widget of the same name. Only these functions read
// or write the form's inputs for the configuration; everything else works
// on the value.

#include <optional>

#include "config/form_steps.h"
#include "core/form_source.h"
#include "program/wording.h"

class QAbstractButton;
class QLineEdit;
class QWidget;
class Ui_Widget;
struct lua_State;

namespace binding {

config::FormValue read(const Ui_Widget &form);
// Sets every input to the value: a radio set with no button in the value
// ends with none checked.
void show(const config::FormValue &value, Ui_Widget &form);
// Makes the steps on the widgets, in order.
void applySteps(const config::FormSteps &steps, Ui_Widget &form);

// Reads the reader's text through the script into the form, from what the
// form holds now; the window's log names each value the form could not take
// as it is. The script's refusal, or nothing when it took the text.
std::optional<QString> importIntoForm(Ui_Widget &form, lua_State *script, const char *readerText);

QAbstractButton *button(const Ui_Widget &form, config::Flag flag);
QLineEdit *lineEdit(const Ui_Widget &form, config::TextField field);
QWidget *part(const Ui_Widget &form, config::Part part);

} // namespace binding

// Says when the value the form holds changes: after a typed or set text, a
// chosen item, a moved slider, or a click once the window's own slot for it
// has run (its box may take the click back, and then nothing changed).
class FormBinding : public FormSource
{
    Q_OBJECT

public:
    FormBinding(Ui_Widget &form, QObject *parent);

    const config::FormValue &value() const override { return current; }

private:
    void listenToButton(QAbstractButton *button);
    void update();

    Ui_Widget &form;
    config::FormValue current;
    bool clickRunning = false;
};

#endif
