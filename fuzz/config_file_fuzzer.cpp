// Opens arbitrary bytes as a configuration file over the start value, as
// the command line does; a file that opens is saved again and reopened, and must
// give the same file: what a file holds survives its round trip. Runs in a
// working directory holding update_config.lua.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "config/config_file.h"

namespace {

QTemporaryDir *folder = nullptr;

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!QFileInfo::exists(QStringLiteral("update_config.lua"))) {
        std::fprintf(stderr, "config_file_fuzzer: run it where update_config.lua is\n");
        std::exit(1);
    }
    qInstallMessageHandler(dropMessage);
    static int argc = 1;
    static char name[] = "config_file_fuzzer";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString opened = folder->filePath(QStringLiteral("opened.tcfg"));
    const QString saved = folder->filePath(QStringLiteral("saved.tcfg"));
    QFile file(opened);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    const config::ImportResult read = config::openConfigFile(config::startValue(), opened);
    if (read.refusal)
        return 0;
    const config::FileContents first = config::fileContents(read.imported.value);
    if (first.refusal)
        return 0;
    if (config::writeConfigFile(saved, first.bytes))
        std::abort();
    const config::ImportResult again = config::openConfigFile(config::startValue(), saved);
    if (again.refusal)
        std::abort();
    const QByteArray second = config::fileContents(again.imported.value).bytes;
    if (second != first.bytes) {
        std::fprintf(stderr, "round trip changed the file:\n%s\n%s\n", first.bytes.constData(),
                     second.constData());
        std::abort();
    }
    return 0;
}
