#include "support/reader_sim.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>

ReaderSim::ReaderSim()
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

ReaderSim::~ReaderSim()
{
    // Asked to quit, it removes its link and reports what it leaked.
    if (process_.state() == QProcess::Running) {
        process_.write("quit\n");
        process_.waitForFinished(5000);
    }
    kill();
}

bool ReaderSim::start(const QStringList &arguments)
{
    lines_.clear();
    partial_.clear();
    process_.start(TARVO_READER_SIM,
                   QStringList{"--port", QString::number(port_), "--pty-link", ptyLink(), "--state", statePath()}
                       + arguments);
    if (!process_.waitForStarted(5000) || !waitForLine("ready"))
        return false;
    for (const QString &line : lines_) {
        if (line.startsWith("tcp 127.0.0.1:"))
            port_ = quint16(line.section(':', 1).toUInt());
    }
    return port_ != 0;
}

// Killed, the simulator leaves its terminal's link behind, which could come
// to name another program's terminal; like an unplugged reader's device
// node, the link goes with it.
void ReaderSim::kill()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    QFile::remove(ptyLink());
}

bool ReaderSim::control(const QString &line, const QString &reply)
{
    lines_.clear();
    process_.write((line + '\n').toUtf8());
    return waitForLine(reply);
}

bool ReaderSim::waitForLine(const QString &prefix, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        takeOutput();
        for (const QString &line : lines_) {
            if (line.startsWith(prefix))
                return true;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || process_.state() == QProcess::NotRunning)
            return false;
        process_.waitForReadyRead(int(left));
    }
}

void ReaderSim::takeOutput()
{
    partial_ += process_.readAllStandardOutput();
    for (int end = partial_.indexOf('\n'); end >= 0; end = partial_.indexOf('\n')) {
        lines_ << QString::fromUtf8(partial_.left(end));
        partial_.remove(0, end + 1);
    }
}

void useDeviceSetting(const QString &setting)
{
    qputenv("TRVO_DEVICE", setting.toUtf8());
}

int freeLoopbackPorts(int count)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int base = 20000 + int(QRandomGenerator::global()->bounded(12000 - count));
        bool free = true;
        for (int port = base; free && port < base + count; ++port) {
            QTcpServer probe;
            free = probe.listen(QHostAddress::LocalHost, quint16(port));
        }
        if (free)
            return base;
    }
    return 0;
}
