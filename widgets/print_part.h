#ifndef TARVO_WIDGETS_PRINT_PART_H
#define TARVO_WIDGETS_PRINT_PART_H

// Printing is a part of its own (printing/), loaded at the first print: the
// window starts without Qt PrintSupport and the print system under it. The
// part asks for a printer and opens it; the caller paints the page, with its
// own copy of the rooms below, on the printer as a paged paint device.

#include <QString>
#include <QtPlugin>

#include <functional>

class QPagedPaintDevice;
class QWidget;

class PrintPart
{
public:
    // Paints one page on the device at its resolution in dots per inch;
    // false, with the reason in *error, when the page cannot be printed.
    using PagePainter = std::function<bool(QPagedPaintDevice &page, int resolution, QString *error)>;

    virtual ~PrintPart() = default;

    // Asks the user for a printer in a dialog over window, names the job
    // docName and prints paint's page on it. False, with the reason in
    // *error, when printing failed; a cancelled dialog prints nothing and
    // is no failure.
    virtual bool print(const QString &docName, const PagePainter &paint, QWidget *window, QString *error) = 0;
};

#define TARVO_PRINT_PART_IID "org.tarvo.config.PrintPart/1"
Q_DECLARE_INTERFACE(PrintPart, TARVO_PRINT_PART_IID)

#endif
