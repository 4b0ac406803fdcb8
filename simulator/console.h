#ifndef TARVO_SIMULATOR_CONSOLE_H
#define TARVO_SIMULATOR_CONSOLE_H

#include <QString>

// Writes one line to standard output at once: the simulator's lines are read
// by people and by tests waiting for them.
void say(const QString &line);

#endif
