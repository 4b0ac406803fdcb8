#ifndef TARVO_WINDOW_CLICK_SLOTS_H
#define TARVO_WINDOW_CLICK_SLOTS_H

class QWidget;

// Binds each of the window's slots named "on_", a widget's object name and
// "_clicked" to the clicked() signal of that widget, in the order the slots
// are declared, as Qt's connect-by-name would: the form is generated without
// it, since it compares every slot with every object of the form. A slot
// whose widget the form lacks stays unconnected. Called once, right after
// the form is set up.
void connectClickSlots(QWidget &window);

#endif
