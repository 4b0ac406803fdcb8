// Feeds arbitrary reader texts through the shipped configuration script and
// the import, on one window that lives for the whole run, as a tool does
// that connects to one reader after another. Runs in a working directory
// holding update_config.lua.
#include <QApplication>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/widget_probe.h"
#include "window/widget.h"

namespace {

Widget *window = nullptr;

// The bridge and the import log every answer; at fuzzing speed that is
// nothing but noise.
void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    if (!QFileInfo::exists(QStringLiteral("update_config.lua"))) {
        std::fprintf(stderr, "import_fuzzer: run it where update_config.lua is\n");
        std::exit(1);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropMessage);
    static int argc = 1;
    static char name[] = "import_fuzzer";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    window = new Widget;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WidgetProbe probe(*window);
    probe.setDevConfig(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    probe.getinitkeyvalue();
    return 0;
}
