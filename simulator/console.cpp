#include "simulator/console.h"

#include <cstdio>

void say(const QString &line)
{
    std::fputs(qPrintable(line + '\n'), stdout);
    std::fflush(stdout);
}
