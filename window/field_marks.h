#ifndef TARVO_WINDOW_FIELD_MARKS_H
#define TARVO_WINDOW_FIELD_MARKS_H

// Marks the fields whose text breaks its rule (config/field_rules.h) as the
// text changes, by typing or by an import: a red frame, and the reason as
// the tooltip. The mark goes as soon as the text keeps its rule again.

#include <QFont>
#include <QHash>
#include <QObject>
#include <QString>

#include "config/field_rules.h"
#include "config/form_value.h"
#include "config/refusal.h"

class QLineEdit;
class QWidget;
class Ui_Widget;

class FieldMarks : public QObject
{
public:
    FieldMarks(Ui_Widget &form, QObject *parent);

private:
    // The rule's mark as the form's value stands.
    void check(const field_rules::FieldRule &rule, const config::FormValue &value);

    Ui_Widget &form;
    // Each field's own look and tooltip, given back when its mark goes.
    struct Unmarked
    {
        QString styleSheet;
        QString toolTip;
        QFont font;
    };
    QHash<QLineEdit *, Unmarked> unmarked;
};

// Brings a field the user must correct into view: its page of the options
// area shown, the keyboard focus on it and its text selected.
void showField(Ui_Widget &form, field_rules::Field field);

// A refused build's box over window, then the field at fault, if one is,
// brought up to be corrected.
void showRefusal(QWidget *window, Ui_Widget &form, const config::Refusal &refusal);

#endif
