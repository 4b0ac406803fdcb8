#include "bench_support.h"

#include <QDate>
#include <QFile>
#include <QLoggingCategory>
#include <QStringList>
#include <QThread>
#include <algorithm>

namespace {

QString cpuModel()
{
    // /proc files report no size, so read them whole rather than to atEnd().
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (!cpuinfo.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    const QStringList lines = QString::fromUtf8(cpuinfo.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        if (line.startsWith(QLatin1String("model name")))
            return line.section(QLatin1Char(':'), 1).trimmed();
    return QStringLiteral("unknown");
}

} // namespace

QString machineSummary()
{
    return QStringLiteral("CPU: %1 (%2 cores), %3")
        .arg(cpuModel())
        .arg(QThread::idealThreadCount())
        .arg(QDate::currentDate().toString(Qt::ISODate));
}

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

BenchApplication::BenchApplication(int &argc, char **argv) : QApplication(offscreenUnlessSet(argc), argv)
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

int &BenchApplication::offscreenUnlessSet(int &argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}
