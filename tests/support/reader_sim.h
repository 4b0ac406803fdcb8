#ifndef TARVO_TESTS_DEVICE_READER_SIM_H
#define TARVO_TESTS_DEVICE_READER_SIM_H

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The reader simulator as a child process of a test: started on a free
// loopback port and a pseudo-terminal reachable through a link in a
// temporary folder, steered through its standard input.
class ReaderSim
{
public:
    ReaderSim();
    ~ReaderSim();

    // Starts the simulator with extra arguments and waits until it is ready.
    // A restart keeps the port, the pseudo-terminal's link and the state file.
    bool start(const QStringList &arguments = {});
    // Ends it at once, as a reader pulled from its cable.
    void kill();

    quint16 port() const { return port_; }
    QString statePath() const { return dir_.filePath("state.json"); }
    QString ptyLink() const { return dir_.filePath("reader"); }
    QString tcpSetting() const { return QString("tcp:127.0.0.1:%1").arg(port_); }
    QString serialSetting() const { return "serial:" + ptyLink(); }

    // Sends a control line and waits for the simulator's line starting with reply.
    bool control(const QString &line, const QString &reply);
    // Waits for a line starting with prefix (lines already seen count).
    bool waitForLine(const QString &prefix, int timeoutMs = 5000);
    QStringList lines() const { return lines_; }

private:
    void takeOutput();

    QTemporaryDir dir_;
    QProcess process_;
    QByteArray partial_;
    QStringList lines_;
    quint16 port_ = 0;
};

// Points the device library at a link for the channels opened afterwards.
void useDeviceSetting(const QString &setting);

// The first of count ports on 127.0.0.1 that nothing listens on, below the
// system's range of ephemeral ports, so that the simulators of tests running
// beside this one (which take ports from that range) never land among them;
// 0 when none is found. For a search over a range that holds simulators
// started on ports of it.
int freeLoopbackPorts(int count);

#endif
