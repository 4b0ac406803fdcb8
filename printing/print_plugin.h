#ifndef TARVO_PRINTING_PRINT_PLUGIN_H
#define TARVO_PRINTING_PRINT_PLUGIN_H

#include <QObject>

#include "widgets/print_part.h"

// Printing as the window loads it (tarvo-config-print.so), or as a program
// that links it in imports it (Q_IMPORT_PLUGIN).
class PrintPlugin : public QObject, public PrintPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TARVO_PRINT_PART_IID)
    Q_INTERFACES(PrintPart)

public:
    bool print(const QString &docName, const PagePainter &paint, QWidget *window, QString *error) override;
};

#endif
