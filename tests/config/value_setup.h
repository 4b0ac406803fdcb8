#ifndef TARVO_TESTS_CONFIG_VALUE_SETUP_H
#define TARVO_TESTS_CONFIG_VALUE_SETUP_H

#include <QStringList>

#include "config/form_value.h"

// The input of the form's table with this object name; a test that names an
// input the table lacks stops at once.
inline const config::FieldInfo &fieldNamed(const QString &name)
{
    for (const config::FieldInfo &field : config::formFields())
        if (name == QLatin1String(field.name))
            return field;
    qFatal("the form has no input named %s", qPrintable(name));
}

// Fills a value as a user would have left the form, one step per item:
//   "name"       check a button (a radio button unchecks its set);
//   "!name"      uncheck a button;
//   "+name"      check a radio button without unchecking the rest of its set;
//   "name=text"  a line edit's text, a combo box's item or the slider's value.
inline void fillValue(config::FormValue &value, const QStringList &steps)
{
    for (const QString &step : steps) {
        const int equals = step.indexOf('=');
        if (equals > 0) {
            const config::FieldInfo &field = fieldNamed(step.left(equals));
            const QString text = step.mid(equals + 1);
            if (field.kind == config::FieldInfo::Number)
                value.*field.number = text.toInt();
            else if (field.kind == config::FieldInfo::Combo && !value.setChoice(field.text, text))
                qFatal("%s has no item %s", field.name, qPrintable(text));
            else
                value.*field.text = text;
            continue;
        }
        const bool uncheck = step.startsWith('!');
        const bool keepSet = step.startsWith('+');
        const config::FieldInfo &field = fieldNamed(uncheck || keepSet ? step.mid(1) : step);
        if (uncheck || keepSet)
            value.*field.flag = !uncheck;
        else
            value.check(field.flag);
    }
}

#endif
