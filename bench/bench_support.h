#ifndef TARVO_BENCH_SUPPORT_H
#define TARVO_BENCH_SUPPORT_H

#include <QApplication>
#include <QString>
#include <QVector>

// What every benchmark prints above its table: the CPU model, the number of
// cores and the date.
QString machineSummary();

// The middle value of a set of measures (the upper middle for an even count).
double median(QVector<double> values);

// The application of an in-process benchmark: on the offscreen platform
// unless QT_QPA_PLATFORM names another, and with the tool's debug lines
// switched off, since they would flood the tables.
class BenchApplication : public QApplication
{
public:
    BenchApplication(int &argc, char **argv);

private:
    static int &offscreenUnlessSet(int &argc);
};

#endif
