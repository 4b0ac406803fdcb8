#ifndef TARVO_CONFIG_REFUSAL_H
#define TARVO_CONFIG_REFUSAL_H

#include <QString>

class QLineEdit;
class Ui_Widget;

namespace config {

// Why the tool does not go on, as the window tells the user: the title and
// the text of its box, and the field to correct when one field is at fault.
struct Refusal
{
    QString title;
    QString text;
    QLineEdit *Ui_Widget::*field = nullptr;
};

} // namespace config

#endif
