#ifndef TARVO_BENCH_SUPPORT_H
#define TARVO_BENCH_SUPPORT_H

#include <QString>
#include <QVector>

// What every benchmark prints above its table: the CPU model, the number of
// cores and the date.
QString machineSummary();

// The middle value of a set of measures (the upper middle for an even count).
double median(QVector<double> values);

#endif
