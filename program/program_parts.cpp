#include "program/program_parts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPluginLoader>

#include <memory>

namespace {

// The folder of the running program: /proc/self/exe names it even when it
// was started through a link.
QString programFolder()
{
    QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    if (program.isEmpty() && QCoreApplication::instance() && !QCoreApplication::arguments().isEmpty())
        program = QCoreApplication::arguments().constFirst();
    return QFileInfo(program).absolutePath();
}

} // namespace

QObject *programPart(const QString &name, const char *iid, QString *error)
{
    for (QObject *instance : QPluginLoader::staticInstances())
        if (instance->qt_metacast(iid))
            return instance;
    // Loaders are never unloaded; one a part.
    static QHash<QString, std::shared_ptr<QPluginLoader>> loaders;
    std::shared_ptr<QPluginLoader> &loader = loaders[name];
    if (!loader)
        loader = std::make_shared<QPluginLoader>(programFolder() + QLatin1Char('/') + name);
    QObject *instance = loader->instance();
    if (instance && instance->qt_metacast(iid))
        return instance;
    *error = instance ? QStringLiteral("%1: no %2").arg(loader->fileName(), QLatin1String(iid))
                      : loader->errorString();
    return nullptr;
}
