// Reads arbitrary bytes as the program's settings file, as the window does
// at start and whenever its menu of recent files opens: nothing may crash,
// and what is taken stays within the program's bounds.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

#include "core/remembered_settings.h"

namespace {

QString settingsPath;

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    qInstallMessageHandler(dropMessage);
    static int argc = 1;
    static char name[] = "settings_fuzzer";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    QDir(home.path()).mkpath(QStringLiteral("Tarvo"));
    settingsPath = home.filePath(QStringLiteral("Tarvo/tarvo-config.conf"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QFile file(settingsPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();
    const int most = 6;
    const QStringList recent = remembered::texts("recentConfigFiles", most);
    if (recent.size() > most)
        std::abort();
    for (const QString &entry : recent)
        if (entry.isEmpty() || entry.size() > remembered::kMostChars)
            std::abort();
    if (remembered::text("device/link").size() > remembered::kMostChars)
        std::abort();
    remembered::store("recentConfigFiles", recent);
    return 0;
}
