// Loaded into a Qt program with LD_PRELOAD by the start-up benchmark: when the
// program's first window has been exposed and painted, it prints the
// monotonic clock ("shown <nanoseconds>") on standard output and ends the
// process at once, so that the benchmark sees the start-up and nothing after.
#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class ShownProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && watched->isWindowType()
            && static_cast<QWindow *>(watched)->isExposed()) {
            qApp->removeEventFilter(this);
            // Queued: the window paints while it handles the expose event,
            // and the event loop comes back here after that.
            QMetaObject::invokeMethod(this, &ShownProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("shown %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    }
};

void installProbe()
{
    qApp->installEventFilter(new ShownProbe(qApp));
}

} // namespace

// Runs as the application object is constructed, before the program's main
// goes on to build its window.
Q_COREAPP_STARTUP_FUNCTION(installProbe)
