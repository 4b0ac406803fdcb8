#include "window/keyboard.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QVector>
#include <QWidget>

#include <algorithm>
#include <tuple>

#include "ui_widget.h"

namespace {

struct ButtonKey
{
    QAbstractButton *(*button)(Ui_Widget &);
    int key;
};

const ButtonKey kButtonKeys[] = {
    {[](Ui_Widget &f) -> QAbstractButton * { return f.pushButton; }, Qt::CTRL | Qt::Key_G},
    {[](Ui_Widget &f) -> QAbstractButton * { return f.connectBtn; }, Qt::CTRL | Qt::Key_D},
    {[](Ui_Widget &f) -> QAbstractButton * { return f.saveBtn; }, Qt::CTRL | Qt::SHIFT | Qt::Key_D},
};

// A shortcut clicks its button, which does nothing while the button is off.
void addShortcuts(Ui_Widget &form, QWidget &window)
{
    for (const ButtonKey &entry : kButtonKeys) {
        QAbstractButton *button = entry.button(form);
        const QKeySequence keys(entry.key);
        auto *action = new QAction(&window);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        QObject::connect(action, &QAction::triggered, button, &QAbstractButton::click);
        window.addAction(action);
        button->setToolTip(QCoreApplication::translate("Widget", "%1（%2）")
                               .arg(button->text(), keys.toString(QKeySequence::NativeText)));
    }
}

// The parts of the form in reading order; a control belongs to the first
// part that holds it, and whatever no part holds (the buttons beside the
// code) comes last.
QVector<QWidget *> formParts(Ui_Widget &form)
{
    return {form.groupBox_6,       form.manpw,           form.groupBox_9,    form.output_groupbox,
            form.develop_groupbox, form.serial_groupbox, form.stacked_widget};
}

int partOf(const QVector<QWidget *> &parts, const QWidget *widget)
{
    for (int part = 0; part < parts.size(); ++part)
        if (parts.at(part) == widget || parts.at(part)->isAncestorOf(widget))
            return part;
    return parts.size();
}

// The focus chain as it stands (the order the controls were made in),
// sorted by part; within a part the order stays, and the last part goes
// by position, row by row.
void orderTabs(Ui_Widget &form, QWidget &window)
{
    const QVector<QWidget *> parts = formParts(form);
    // Each control's place, found once: part, then row and column.
    struct TabStop
    {
        std::tuple<int, int, int> place;
        QWidget *widget;
    };
    QVector<TabStop> chain;
    for (QWidget *next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain()) {
        if (!(next->focusPolicy() & Qt::TabFocus))
            continue;
        const int part = partOf(parts, next);
        const QPoint at = part == parts.size() ? next->mapTo(&window, QPoint()) : QPoint();
        chain.append({{part, at.y(), at.x()}, next});
    }
    std::stable_sort(chain.begin(), chain.end(),
                     [](const TabStop &a, const TabStop &b) { return a.place < b.place; });
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1).widget, chain.at(i).widget);
}

} // namespace

void setUpKeyboard(Ui_Widget &form, QWidget &window)
{
    addShortcuts(form, window);
    orderTabs(form, window);
}
