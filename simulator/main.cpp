// tarvo-reader-sim: a reader to try the device link against. See
// simulator/README.md.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QImage>
#include <QSocketNotifier>

#include <functional>
#include <unistd.h>

#include "simulator/console.h"
#include "simulator/reader.h"
#include "simulator/reader_link.h"
#include "simulator/reader_output.h"
#include "tools/qrread/qr_reader.h"

namespace {

const quint16 defaultPort = 47811;

// Shows a picture to the reader's camera, as a user holds a config code up.
void scan(Reader &reader, const QString &path)
{
    const QImage picture(path);
    if (picture.isNull()) {
        say("scan: cannot read the picture " + path);
        return;
    }
    const QByteArray code = readQrCode(picture);
    if (code.isNull()) {
        say("scan: no config code in " + path);
        return;
    }
    reader.configure(code, "scan");
}

// Commands on standard input, one a line, that steer a running reader.
class Control : public QObject
{
public:
    Control(Reader &reader, ReaderLink &link, ReaderOutput &output)
        : notifier_(STDIN_FILENO, QSocketNotifier::Read)
    {
        commands_ = {
            {"fault",
             [&link](const QString &arg) {
                 FaultSetting fault;
                 if (!parseFault(arg, &fault))
                     return say("error: fault is one of " + faultNames() + ", optionally :COMMAND");
                 link.setFault(fault);
                 say("fault " + faultText(fault));
             }},
            {"late-ms",
             [&link](const QString &arg) {
                 bool ok = false;
                 const int ms = arg.toInt(&ok);
                 if (!ok || ms < 0)
                     return say("error: late-ms takes milliseconds");
                 link.setLateMs(ms);
                 say("late-ms " + QString::number(ms));
             }},
            {"scan", [&reader](const QString &arg) { scan(reader, arg); }},
            {"code", [&output](const QString &arg) { output.sendCode(arg.toUtf8()); }},
            {"card", [&output](const QString &arg) { output.sendCard(arg); }},
            {"quit", [](const QString &) { QCoreApplication::quit(); }},
        };
        connect(&notifier_, &QSocketNotifier::activated, this, &Control::readable);
    }

private:
    void readable()
    {
        char chunk[1024];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) { // standard input closed: run on without it
            notifier_.setEnabled(false);
            return;
        }
        input_.append(chunk, int(n));
        for (int end = input_.indexOf('\n'); end >= 0; end = input_.indexOf('\n')) {
            run(QString::fromUtf8(input_.left(end)).trimmed());
            input_.remove(0, end + 1);
        }
    }

    void run(const QString &line)
    {
        if (line.isEmpty())
            return;
        const QString name = line.section(' ', 0, 0);
        const QString arg = line.section(' ', 1).trimmed();
        for (const auto &command : commands_) {
            if (name == command.first)
                return command.second(arg);
        }
        say("error: unknown command " + name + " (fault, late-ms, scan, code, card, quit)");
    }

    QSocketNotifier notifier_;
    QByteArray input_;
    QVector<QPair<QString, std::function<void(const QString &)>>> commands_;
};

int fail(const QString &message)
{
    std::fprintf(stderr, "tarvo-reader-sim: %s\n", qPrintable(message));
    return 2;
}

// "key=value" for --read-back; false when it names no key.
bool setReadBack(Reader &reader, const QByteArray &setting)
{
    const int equals = setting.indexOf('=');
    if (equals <= 0)
        return false;
    reader.setReadBack(setting.left(equals), setting.mid(equals + 1));
    return true;
}

// What the simulator takes on its command line.
struct Options
{
    const QCommandLineOption state{"state", "Keep the reader's state in <file>.", "file"};
    const QCommandLineOption port{"port", "Listen on 127.0.0.1:<port> (0: a free port).", "port",
                                  QString::number(defaultPort)};
    const QCommandLineOption noTcp{"no-tcp", "Do not listen on TCP."};
    const QCommandLineOption noPty{"no-pty", "Open no pseudo-terminal."};
    const QCommandLineOption ptyLink{"pty-link", "Make <path> a link to the pseudo-terminal.", "path"};
    const QCommandLineOption fault{"fault", "Misbehave: <mode>[:<command>], mode one of " + faultNames() + ".",
                                   "mode"};
    const QCommandLineOption late{"late-ms", "Delay of late answers.", "ms", "1500"};
    const QCommandLineOption firmware{"firmware", "Firmware version to report.", "text"};
    const QCommandLineOption scan{"scan", "Scan a config code from <png> at start.", "png"};
    const QCommandLineOption readBack{
        "read-back", "Answer reads of the configuration with <key>=<value> (value as written, quotes included).",
        "key=value"};

    void describeTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(
            "A simulated Tarvo reader for the device link: answers over loopback TCP and a pseudo-terminal.");
        parser.addHelpOption();
        parser.addOptions({state, port, noTcp, noPty, ptyLink, fault, late, firmware, scan, readBack});
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tarvo-reader-sim");

    QCommandLineParser parser;
    const Options options;
    options.describeTo(parser);
    parser.process(app);

    Reader reader;
    QString error;
    if (parser.isSet(options.state) && !reader.useStateFile(parser.value(options.state), &error))
        return fail(parser.value(options.state) + ": " + error);
    if (parser.isSet(options.firmware))
        reader.setFirmware(parser.value(options.firmware).toUtf8());
    if (parser.isSet(options.readBack) && !setReadBack(reader, parser.value(options.readBack).toUtf8()))
        return fail("--read-back takes key=value");

    ReaderLink link(&reader);
    FaultSetting fault;
    if (parser.isSet(options.fault) && !parseFault(parser.value(options.fault), &fault))
        return fail("--fault is one of " + faultNames() + ", optionally :COMMAND");
    link.setFault(fault);
    bool ok = false;
    const int lateMs = parser.value(options.late).toInt(&ok);
    if (!ok || lateMs < 0)
        return fail("--late-ms takes milliseconds");
    link.setLateMs(lateMs);

    if (parser.isSet(options.scan))
        scan(reader, parser.value(options.scan));

    const quint16 port = quint16(parser.value(options.port).toUInt(&ok));
    if (!ok)
        return fail("--port takes a port number");
    if (!parser.isSet(options.noTcp) && !link.listenTcp(port, &error))
        return fail(error);
    if (!parser.isSet(options.noPty) && !link.openPty(parser.value(options.ptyLink), &error))
        return fail(error);

    ReaderOutput output(reader, link);
    reader.setOnApplied([&output] { output.reconfigure(); });
    Control control(reader, link, output);
    say("ready");
    return app.exec();
}
