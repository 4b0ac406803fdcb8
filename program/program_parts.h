#ifndef TARVO_PROGRAM_PROGRAM_PARTS_H
#define TARVO_PROGRAM_PROGRAM_PARTS_H

// The parts of the program that are loaded when first needed (Qt plugins):
// built into a program that linked them in as static plugins, else found
// beside the program, in the build tree as where it is installed.

#include <QObject>
#include <QString>

// The instance of the part with that name (the file's name without its
// suffix) that implements the interface iid; nullptr, with the reason in
// *error, when there is none. A part once loaded stays for the program's
// life: the windows and applications it makes live as long.
QObject *programPart(const QString &name, const char *iid, QString *error);

#endif
