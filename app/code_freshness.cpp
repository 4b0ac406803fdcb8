#include "app/code_freshness.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>

#include "config/assembly.h"
#include "ui_widget.h"

CodeFreshness::CodeFreshness(const Ui_Widget &ui, QWidget *window) : QObject(window), form(ui)
{
    listenTo(window);
}

void CodeFreshness::watch(const QString &signedText)
{
    watched = signedText;
}

// An input's own parts (a combo box's list and its scroll bars) are not the
// form's inputs, so the walk stops at each input.
void CodeFreshness::listenTo(QObject *parent)
{
    for (QObject *child : parent->children()) {
        if (auto *edit = qobject_cast<QLineEdit *>(child))
            connect(edit, &QLineEdit::textChanged, this, &CodeFreshness::check);
        else if (auto *combo = qobject_cast<QComboBox *>(child))
            connect(combo, &QComboBox::currentTextChanged, this, &CodeFreshness::check);
        else if (auto *slider = qobject_cast<QAbstractSlider *>(child))
            connect(slider, &QAbstractSlider::valueChanged, this, &CodeFreshness::check);
        else if (auto *button = qobject_cast<QAbstractButton *>(child))
            listenToButton(button);
        else
            listenTo(child);
    }
}

// The window connected its slots to clicked() before this runs, so the
// check after a click sees the form as the window's slot has left it.
void CodeFreshness::listenToButton(QAbstractButton *button)
{
    if (!button->isCheckable())
        return;
    connect(button, &QAbstractButton::pressed, this, [this] { clickRunning = true; });
    connect(button, &QAbstractButton::released, this, [this] { clickRunning = false; });
    connect(button, &QAbstractButton::toggled, this, [this] {
        if (!clickRunning)
            check();
    });
    connect(button, &QAbstractButton::clicked, this, &CodeFreshness::check);
}

void CodeFreshness::check()
{
    if (watched.isEmpty()
        || config::sign(config::unsignedText(form), form.manpw->text()).text == watched)
        return;
    watched.clear();
    emit stale();
}
