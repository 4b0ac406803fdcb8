#ifndef TARVO_READERS_FLEET_MODES_H
#define TARVO_READERS_FLEET_MODES_H

// The modes that look at many readers without writing to them: --check
// compares each reader with a file, --read backs each one up into a file,
// --find looks for readers on the network or the serial ports. Also what
// --write shares with them: the readers --device names, and the parts of a
// JSON line that scripts read (a stable code beside the translated cause,
// and what a save changes).

#include <QCommandLineParser>
#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "config/form_value.h"
#include "config/read_back.h"
#include "config/set_values.h"
#include "core/reader_batch.h"
#include "core/reader_find.h"

namespace fleet {

// The readers as --device gives them: each value in any form the batch
// dialog takes (host:port, a range of the last octet, tcp: and serial:
// links), every name resolved so that one reader named twice, by any name,
// is refused; the problem when a value is malformed or names a reader
// already named.
Links readersGiven(const QStringList &values);

// A reader to write or check with a configuration of its own: the form,
// with the values of its row of the sheet (line, from 1; 0 for a reader
// --device names) on top.
struct Target
{
    QString link;
    QString place;
    config::FormValue form;
    int line = 0;
};

// Every target, or why there are none and the exit code: 2 for a sheet that
// cannot be read or a link that names no single reader, 1 for a value a row
// gives that is refused. The sheet's rows come first, in their order, then
// the readers --device names with the place --place gives.
struct Targets
{
    std::vector<Target> list;
    std::optional<QString> problem;
    int exitCode = 0;
};
Targets targetsOf(const config::FormValue &form, const QStringList &devices, const QString &place,
                  const QString &sheetPath);

// "line 4 (tcp:10.0.0.5:47811): <why>" for a row, the link and why otherwise.
QString targetRefusal(const Target &target, const QString &why);

// A JSON list of what a save changes (or a check finds different), each as
// {key, setting, reader, file}, secrets masked.
QJsonArray changesJson(const std::vector<config::KeyDifference> &changes);
// "brightness 200 → 201, …"
QString changesText(const std::vector<config::KeyDifference> &changes);

// A --write line's code and changes, in place.
void addWriteFields(QJsonObject *object, const ReaderResult &result);

class FleetRun
{
public:
    // Takes the fleet mode's arguments; the usage problem when they do not
    // fit.
    // file, saveAs and sheet are the paths as the command line resolves them.
    std::optional<QString> choose(const QCommandLineParser &parser, const QString &file, const QString &saveAs,
                                  const QString &sheet);
    // Runs it: 0 when every reader is as asked, 1 when one differs or
    // failed, 2 on a usage error or output that cannot be written.
    int run() const;

private:
    std::optional<QString> chooseReaders(const QCommandLineParser &parser);
    int check() const;
    int read(const QStringList &links) const;
    int find() const;

    enum { Check, Read, Find } mode = Check;
    QStringList devices;
    config::KeyValues set;
    QString sheet;
    QString file;
    QString saveAs;
    QString range;
    QString place;
    int jobs = 16;
    bool json = false;
};

} // namespace fleet

#endif
