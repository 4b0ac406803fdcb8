#ifndef TARVO_TESTS_CONFIG_FORM_SETUP_H
#define TARVO_TESTS_CONFIG_FORM_SETUP_H

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QStringList>

#include "support/widget_probe.h"

// Fills the form as a user would have left it, one step per item:
//   "name"       check a button;
//   "!name"      uncheck a button; a radio button first leaves its exclusive
//                set, so that a set may end with none checked;
//   "+name"      check a radio button without unchecking the rest of its set;
//   "name=text"  a line edit's text, a combo box's current text or a
//                slider's value.
inline void fillForm(QWidget &window, const QStringList &steps)
{
    for (const QString &step : steps) {
        const int equals = step.indexOf('=');
        if (equals > 0) {
            const QByteArray name = step.left(equals).toLatin1();
            const QString value = step.mid(equals + 1);
            QWidget *field = formChild<QWidget>(window, name.constData());
            if (auto *edit = qobject_cast<QLineEdit *>(field))
                edit->setText(value);
            else if (auto *combo = qobject_cast<QComboBox *>(field)) {
                combo->setCurrentText(value);
                if (combo->currentText() != value)
                    qFatal("%s has no item %s", name.constData(), qPrintable(value));
            } else
                formChild<QSlider>(window, name.constData())->setValue(value.toInt());
            continue;
        }
        const bool uncheck = step.startsWith('!');
        const bool keepSet = step.startsWith('+');
        const QByteArray name = (uncheck || keepSet ? step.mid(1) : step).toLatin1();
        auto *button = formChild<QAbstractButton>(window, name.constData());
        if (uncheck || keepSet)
            button->setAutoExclusive(false);
        button->setChecked(!uncheck);
    }
}

#endif
