#include "window/field_marks.h"

#include <QAbstractButton>
#include <QLineEdit>

#include "ui_widget.h"
#include "widgets/boxes.h"
#include "window/form_binding.h"
#include "window/option_pages.h"

namespace {

const QString kMarked = QStringLiteral("QLineEdit { border: 1px solid red; }");

} // namespace

FieldMarks::FieldMarks(Ui_Widget &form, QObject *parent) : QObject(parent), form(form)
{
    const config::FormValue atStart = binding::read(form);
    for (const field_rules::FieldRule &rule : field_rules::kFieldRules) {
        QLineEdit *edit = binding::lineEdit(form, rule.field);
        unmarked.insert(edit, {edit->styleSheet(), edit->toolTip(), edit->font()});
        connect(edit, &QLineEdit::textChanged, this, [this, &rule] { check(rule, binding::read(this->form)); });
        if (rule.hexMode)
            connect(binding::button(form, rule.hexMode), &QAbstractButton::toggled, this,
                    [this, &rule] { check(rule, binding::read(this->form)); });
        check(rule, atStart);
    }
}

void FieldMarks::check(const field_rules::FieldRule &rule, const config::FormValue &value)
{
    QLineEdit *edit = binding::lineEdit(form, rule.field);
    const field_rules::Problem problem = field_rules::problem(value, rule);
    const Unmarked &own = unmarked[edit];
    // A new style sheet re-polishes the field: only a change of mark sets
    // one. The polish puts the font the style sheet resolves in place of the
    // form's pixel font, which the field gets back.
    const QString styleSheet = problem ? kMarked : own.styleSheet;
    if (edit->styleSheet() != styleSheet) {
        edit->setStyleSheet(styleSheet);
        edit->setFont(own.font);
    }
    edit->setToolTip(problem ? fieldProblemText(rule.label, problem.reason, problem.number) : own.toolTip);
}

void showField(Ui_Widget &form, field_rules::Field field)
{
    QLineEdit *edit = binding::lineEdit(form, field);
    for (OptionPage page : {NfcPage, WiegandPage, NetworkPage, PasswordPage, GeneralPage})
        if (form.stacked_widget->widget(page)->isAncestorOf(edit))
            form.stacked_widget->setCurrentIndex(page);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void showRefusal(QWidget *window, Ui_Widget &form, const config::Refusal &refusal)
{
    tell(window, refusal);
    if (refusal.field)
        showField(form, refusal.field);
}
