#ifndef TARVO_PROGRAM_PAINTING_PART_H
#define TARVO_PROGRAM_PAINTING_PART_H

// What the program loads only for the modes that paint: the window, and a
// code drawn into a file. The command line's other modes never map Qt Gui,
// Widgets, the printing and SVG support or the output test's HTTP server.

#include <QCoreApplication>
#include <QString>
#include <QtPlugin>

#include <memory>

#include "program/code_file.h"

class PaintingPart
{
public:
    virtual ~PaintingPart() = default;

    // The application to run in: the window's, or one that paints offscreen
    // without widgets for a code drawn into a file.
    virtual std::unique_ptr<QCoreApplication> application(int &argc, char **argv, bool forWindow) = 0;
    // Shows the window, with the file opened when one is named, until it
    // closes; the exit code.
    virtual int showWindow(const QString &file) = 0;
    virtual CodeFileWriter codeFileWriter() const = 0;
};

#define TARVO_PAINTING_PART_IID "org.tarvo.config.PaintingPart/1"
Q_DECLARE_INTERFACE(PaintingPart, TARVO_PAINTING_PART_IID)

#endif
