#ifndef TARVO_CONFIG_FORM_WIDGET_H
#define TARVO_CONFIG_FORM_WIDGET_H

#include <QWidget>

#include "ui_widget.h"

// A widget of the form record taken as a plain widget, so that one table can
// list widgets of different kinds: formWidget<&Ui_Widget::label>.
using FormWidget = QWidget *(*)(const Ui_Widget &);

template <auto member>
QWidget *formWidget(const Ui_Widget &form)
{
    return form.*member;
}

#endif
