#ifndef TARVO_CONFIG_REFUSAL_H
#define TARVO_CONFIG_REFUSAL_H

#include <QString>

namespace config {

// Why the tool does not go on, as the window tells the user: the title and
// the text of its box.
struct Refusal
{
    QString title;
    QString text;
};

} // namespace config

#endif
