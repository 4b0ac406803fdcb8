#include "core/dialog_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char kLastFolderKey[] = "lastDialogFolder";

QSettings settings()
{
    return QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config"));
}

} // namespace

QString dialogFolder(const QString &file)
{
    if (!file.isEmpty())
        return QFileInfo(file).absolutePath();
    const QString last = settings().value(QLatin1String(kLastFolderKey)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void rememberDialogFolder(const QString &file)
{
    settings().setValue(QLatin1String(kLastFolderKey), QFileInfo(file).absolutePath());
}
