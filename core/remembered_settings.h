#ifndef TARVO_CORE_REMEMBERED_SETTINGS_H
#define TARVO_CORE_REMEMBERED_SETTINGS_H

// What the program remembers between runs: the recently used files and the
// reader's link. The settings file is the user's to edit (and anything's
// to spoil), so it is read defensively: a value of another type, a list
// longer than the program keeps and a text longer than any path or link
// are ignored, each said once in the log; a file that holds serialized
// objects (which Qt would read unchecked) is neither read nor written.

#include <QString>
#include <QStringList>
#include <QVariant>

namespace remembered {

// The longest path or link taken from the settings.
constexpr int kMostChars = 4096;

// The settings' value of the key as a list of at most `most` texts.
QStringList texts(const char *key, int most);
// The settings' value of the key as one text; empty when there is none.
QString text(const char *key);

// Keeps the value under the key; not while the settings file is spoiled.
void store(const char *key, const QVariant &value);

} // namespace remembered

#endif
