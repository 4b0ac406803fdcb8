#ifndef TARVO_TESTS_SUPPORT_FORM_STATE_H
#define TARVO_TESTS_SUPPORT_FORM_STATE_H

// A window's form as names and states, to tell what an import or an open
// changed, and the window's way of opening a configuration file.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include <optional>

#include "config/config_file.h"
#include "config/random_value.h"
#include "window/form_binding.h"

namespace random_form {

// Every named widget's state: "name" holds a button's check ("on"/"off"), a
// line edit's or combo box's text or a slider's value; "name:shown" says
// whether the widget has been hidden.
inline FormState formState(QWidget &window)
{
    FormState state;
    for (QWidget *child : window.findChildren<QWidget *>()) {
        const QString name = child->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            continue;
        state[name + ":shown"] = child->isHidden() ? "no" : "yes";
        if (auto *button = qobject_cast<QAbstractButton *>(child))
            state[name] = button->isChecked() ? "on" : "off";
        else if (auto *edit = qobject_cast<QLineEdit *>(child))
            state[name] = edit->text();
        else if (auto *combo = qobject_cast<QComboBox *>(child))
            state[name] = combo->currentText();
        else if (auto *slider = qobject_cast<QSlider *>(child))
            state[name] = QString::number(slider->value());
    }
    return state;
}

// Opens a configuration file into a window's form as the window does: the
// reason it refused the file, or nothing.
inline std::optional<QString> openInto(Ui_Widget &form, const QString &path)
{
    const config::ImportResult opened = config::openConfigFile(binding::read(form), path);
    if (!opened.refusal)
        binding::applySteps(opened.imported.steps, form);
    return opened.refusal;
}

} // namespace random_form

#endif
