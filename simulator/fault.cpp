#include "simulator/fault.h"

#include <QStringList>

namespace {

struct FaultInfo
{
    Fault fault;
    const char *name;
    bool carriesOut;
};

const FaultInfo faultTable[] = {
    {Fault::None, "none", true},          {Fault::NoAnswer, "noanswer", false},
    {Fault::Late, "late", true},          {Fault::Garbage, "garbage", false},
    {Fault::Short, "short", true},        {Fault::Oversize, "oversize", false},
    {Fault::Close, "close", false},       {Fault::Refuse, "refuse", false},
    {Fault::BadChecksum, "badcrc", true}, {Fault::Unterminated, "unterminated", true},
    {Fault::Empty, "empty", true},        {Fault::Alter, "alter", true},
    {Fault::Vanish, "vanish", true},
};

const FaultInfo &infoOf(Fault fault)
{
    for (const FaultInfo &info : faultTable) {
        if (info.fault == fault)
            return info;
    }
    return faultTable[0];
}

} // namespace

bool parseFault(const QString &text, FaultSetting *setting)
{
    const QStringList parts = text.trimmed().split(':');
    if (parts.size() > 2)
        return false;
    int32_t command = 0;
    if (parts.size() == 2) {
        bool ok = false;
        command = parts.at(1).toInt(&ok);
        if (!ok || command == 0)
            return false;
    }
    for (const FaultInfo &info : faultTable) {
        if (parts.at(0) == QLatin1String(info.name)) {
            *setting = {info.fault, command};
            return true;
        }
    }
    return false;
}

QString faultText(const FaultSetting &setting)
{
    const QString name = infoOf(setting.fault).name;
    return setting.command == 0 ? name : name + ':' + QString::number(setting.command);
}

QString faultNames()
{
    QStringList names;
    for (const FaultInfo &info : faultTable)
        names << info.name;
    return names.join(", ");
}

bool faultCarriesOut(Fault fault)
{
    return infoOf(fault).carriesOut;
}
