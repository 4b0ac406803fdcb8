#ifndef TARVO_READERS_READERS_PLUGIN_H
#define TARVO_READERS_READERS_PLUGIN_H

#include <QObject>

#include "cli/readers_part.h"

// The part that talks to readers and reads the record of saves as a Qt
// plugin: tarvo-config-readers, beside the program.
class ReadersPlugin : public QObject, public ReadersPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TARVO_READERS_PART_IID)
    Q_INTERFACES(ReadersPart)

public:
    std::optional<QString> usageProblem(const ReaderArguments &arguments) const override;
    int run(const ReaderArguments &arguments) const override;
    int write(const ReaderArguments &arguments, const config::FormValue &form) const override;
};

#endif
