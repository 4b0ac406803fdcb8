// Opens arbitrary bytes as a configuration file, as the window and the
// command line do; a file that opens is saved again and reopened, and must
// give the same file: what a file holds survives its round trip. Runs in a
// working directory holding update_config.lua.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/widget.h"
#include "config/config_file.h"
#include "support/widget_probe.h"

namespace {

Widget *window = nullptr;
QTemporaryDir *folder = nullptr;

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!QFileInfo::exists(QStringLiteral("update_config.lua"))) {
        std::fprintf(stderr, "config_file_fuzzer: run it where update_config.lua is\n");
        std::exit(1);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessage);
    static int argc = 1;
    static char name[] = "config_file_fuzzer";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    window = new Widget;
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
    Ui_Widget &form = WidgetProbe(*window).form();
    if (config::openConfigFile(form, opened))
        return 0;
    const config::FileContents first = config::fileContents(form);
    if (first.refusal)
        return 0;
    if (config::writeConfigFile(saved, first.bytes) || config::openConfigFile(form, saved))
        std::abort();
    if (config::fileContents(form).bytes != first.bytes) {
        std::fprintf(stderr, "round trip changed the file:\n%s\n%s\n", first.bytes.constData(),
                     config::fileContents(form).bytes.constData());
        std::abort();
    }
    return 0;
}
