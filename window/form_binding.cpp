#include "window/form_binding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDebug>
#include <QLineEdit>
#include <QSlider>

#include "config/import.h"
#include "config/password_entry.h"
#include "ui_widget.h"

namespace {

using W = Ui_Widget;
using V = config::FormValue;

template <auto member>
QWidget *widgetOf(const W &form)
{
    return form.*member;
}

// One input: where it sits in the value and how to reach its widget.
struct Bound
{
    const config::FieldInfo *field;
    QWidget *(*widget)(const W &);
};

const std::vector<Bound> &bindings()
{
    static const std::vector<Bound> table = [] {
        std::vector<QWidget *(*)(const W &)> widgets;
#define TARVO_BIND(name, ...) widgets.push_back(widgetOf<&W::name>);
        TARVO_FORM_FIELDS(TARVO_BIND, TARVO_BIND, TARVO_BIND, TARVO_BIND, TARVO_BIND)
#undef TARVO_BIND
        std::vector<Bound> bound;
        for (std::size_t i = 0; i < widgets.size(); ++i)
            bound.push_back({&config::formFields().at(i), widgets[i]});
        return bound;
    }();
    return table;
}

const Bound &boundOf(const config::FieldInfo &field)
{
    return bindings().at(std::size_t(&field - config::formFields().data()));
}

// An exclusive button cannot be unchecked by itself; the value may hold a
// set with none checked.
void setButton(QAbstractButton *button, bool checked)
{
    if (button->isChecked() == checked)
        return;
    const bool exclusive = button->autoExclusive();
    button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

} // namespace

namespace binding {

config::FormValue read(const W &form)
{
    V value;
    for (const Bound &bound : bindings()) {
        QWidget *widget = bound.widget(form);
        const config::FieldInfo &field = *bound.field;
        switch (field.kind) {
        case config::FieldInfo::Check:
        case config::FieldInfo::Radio:
            value.*field.flag = static_cast<QAbstractButton *>(widget)->isChecked();
            break;
        case config::FieldInfo::Text:
            value.*field.text = static_cast<QLineEdit *>(widget)->text();
            break;
        case config::FieldInfo::Combo:
            value.*field.text = static_cast<QComboBox *>(widget)->currentText();
            break;
        case config::FieldInfo::Number:
            value.*field.number = static_cast<QSlider *>(widget)->value();
            break;
        }
    }
    return value;
}

void show(const V &value, W &form)
{
    for (const Bound &bound : bindings()) {
        QWidget *widget = bound.widget(form);
        const config::FieldInfo &field = *bound.field;
        switch (field.kind) {
        case config::FieldInfo::Check:
        case config::FieldInfo::Radio:
            setButton(static_cast<QAbstractButton *>(widget), value.*field.flag);
            break;
        case config::FieldInfo::Text:
            static_cast<QLineEdit *>(widget)->setText(value.*field.text);
            break;
        case config::FieldInfo::Combo:
            static_cast<QComboBox *>(widget)->setCurrentText(value.*field.text);
            break;
        case config::FieldInfo::Number:
            static_cast<QSlider *>(widget)->setValue(value.*field.number);
            break;
        }
    }
}

std::optional<QString> importIntoForm(W &form, lua_State *script, const char *readerText)
{
    const config::ImportResult result = config::importReaderText(read(form), script, readerText);
    if (result.refusal)
        return result.refusal;
    applySteps(result.imported.steps, form);
    for (const QString &value : result.imported.notShown)
        qDebug("the form cannot show the value of %s as it is",
               qUtf8Printable(value.section(QLatin1Char('='), 0, 0)));
    return std::nullopt;
}

QAbstractButton *button(const W &form, config::Flag flag)
{
    return static_cast<QAbstractButton *>(boundOf(config::fieldOf(flag)).widget(form));
}

QLineEdit *lineEdit(const W &form, config::TextField field)
{
    return static_cast<QLineEdit *>(boundOf(config::fieldOf(field)).widget(form));
}

QWidget *part(const W &form, config::Part part)
{
    // In the order of config::Part.
    static QWidget *(*const kParts[])(const W &) = {
        widgetOf<&W::nfc_option>,       widgetOf<&W::serial_groupbox>, widgetOf<&W::wifioption>,
        widgetOf<&W::ethoption>,        widgetOf<&W::wgoption>,        widgetOf<&W::ip_modegroupbox>,
        widgetOf<&W::wifi1_group>,      widgetOf<&W::wifi2_group>,     widgetOf<&W::eth1_group>,
        widgetOf<&W::develop_groupbox>,
    };
    return kParts[int(part)](form);
}

// Setters only: no click, so no interlock runs meanwhile.
void applySteps(const config::FormSteps &steps, W &form)
{
    for (const config::FormStep &step : steps) {
        switch (step.kind) {
        case config::FormStep::Check:
        case config::FormStep::Uncheck:
            button(form, step.flag)->setChecked(step.kind == config::FormStep::Check);
            break;
        case config::FormStep::SetText:
            lineEdit(form, step.text)->setText(step.textValue);
            break;
        case config::FormStep::SetChoice:
            static_cast<QComboBox *>(boundOf(config::fieldOf(step.text)).widget(form))
                ->setCurrentText(step.textValue);
            break;
        case config::FormStep::SetNumber:
            form.brightadjust->setValue(step.numberValue);
            break;
        case config::FormStep::Show:
        case config::FormStep::Hide:
            part(form, step.part)->setVisible(step.kind == config::FormStep::Show);
            break;
        }
    }
}

} // namespace binding

FormBinding::FormBinding(W &ui, QObject *parent) : FormSource(parent), form(ui), current(binding::read(ui))
{
    for (const Bound &bound : bindings()) {
        QWidget *widget = bound.widget(form);
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            connect(edit, &QLineEdit::textChanged, this, &FormBinding::update);
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            connect(combo, &QComboBox::currentTextChanged, this, &FormBinding::update);
        else if (auto *slider = qobject_cast<QSlider *>(widget))
            connect(slider, &QSlider::valueChanged, this, &FormBinding::update);
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            listenToButton(button);
    }
}

// The window connected its slots to clicked() before this runs, so the
// update after a click sees the form as the window's slot has left it.
void FormBinding::listenToButton(QAbstractButton *button)
{
    connect(button, &QAbstractButton::pressed, this, [this] { clickRunning = true; });
    connect(button, &QAbstractButton::released, this, [this] { clickRunning = false; });
    connect(button, &QAbstractButton::toggled, this, [this] {
        if (!clickRunning)
            update();
    });
    connect(button, &QAbstractButton::clicked, this, &FormBinding::update);
}

void FormBinding::update()
{
    config::FormValue now = binding::read(form);
    if (now == current)
        return;
    current = std::move(now);
    emit changed();
}
