#ifndef TARVO_CORE_DIALOG_FOLDER_H
#define TARVO_CORE_DIALOG_FOLDER_H

#include <QString>

// Where the window's file dialogs start: beside the given file when there
// is one, else in the folder of the file last opened, saved or exported,
// else in the user's documents folder; never in the program's own folder,
// which is the working directory.
QString dialogFolder(const QString &file = QString());

// The folder of a file the user just opened, saved or exported, for the
// next dialog.
void rememberDialogFolder(const QString &file);

#endif
