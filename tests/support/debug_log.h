#ifndef TARVO_TESTS_DEBUG_LOG_H
#define TARVO_TESTS_DEBUG_LOG_H

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

// Collects the debug lines written while it lives. A hook, when given, runs
// as each line is written, so a test can look at the program's state at
// that very moment.
class DebugLog
{
public:
    DebugLog() : previous(qInstallMessageHandler(record))
    {
        lines().clear();
        hook() = nullptr;
    }
    ~DebugLog()
    {
        qInstallMessageHandler(previous);
        hook() = nullptr;
    }
    DebugLog(const DebugLog &) = delete;
    DebugLog &operator=(const DebugLog &) = delete;

    static QStringList &lines()
    {
        static QStringList collected;
        return collected;
    }
    void onLine(std::function<void(const QString &)> run) { hook() = std::move(run); }

private:
    static std::function<void(const QString &)> &hook()
    {
        static std::function<void(const QString &)> run;
        return run;
    }
    static void record(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg)
            return;
        lines() << message;
        if (hook())
            hook()(message);
    }
    QtMessageHandler previous;
};

#endif
