#ifndef TARVO_CLI_OUTPUT_H
#define TARVO_CLI_OUTPUT_H

#include <QString>

#include <cstdio>

// False when the stream did not take all of it (a full disk, a closed pipe).
bool print(FILE *stream, const QString &text);

// The reason of a refused configuration on standard error; exit code 1.
int refused(const QString &reason);

// A usage error or a file that cannot be read or written, on standard error
// after the program's name; exit code 2.
int failed(const QString &reason);

// Prints text; the exit code, or 2 with the system's reason when standard
// output did not take the text (or an earlier one).
int printed(const QString &text, int exitCode);

#endif
