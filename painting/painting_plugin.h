#ifndef TARVO_PAINTING_PAINTING_PLUGIN_H
#define TARVO_PAINTING_PAINTING_PLUGIN_H

#include <QObject>

#include "program/painting_part.h"

// The painting part as a Qt plugin: tarvo-config-gui, beside the program.
class PaintingPlugin : public QObject, public PaintingPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TARVO_PAINTING_PART_IID)
    Q_INTERFACES(PaintingPart)

public:
    std::unique_ptr<QCoreApplication> application(int &argc, char **argv, bool forWindow) override;
    int showWindow(const QString &file) override;
    CodeFileWriter codeFileWriter() const override;
};

#endif
