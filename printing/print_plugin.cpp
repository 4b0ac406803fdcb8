#include "printing/print_plugin.h"

#include <QPrintDialog>
#include <QPrinter>

bool PrintPlugin::print(const QString &docName, const PagePainter &paint, QWidget *window, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(docName);
    QPrintDialog dialog(&printer, window);
    return dialog.exec() != QDialog::Accepted || paint(printer, printer.resolution(), error);
}
