#include "outputtest/log_colours.h"

#include <QBrush>
#include <QColor>

#include "receivers/output_log.h"

namespace {

using output_test::OutputLog;

const QColor kFound(0xd4, 0xf5, 0xd4);
const QColor kMissing(0xf8, 0xd0, 0xd0);
const QColor kHeartbeat(0x90, 0x90, 0x90);
const QColor kNote(0x20, 0x50, 0xa0);

QVariant background(const QVariant &mark)
{
    if (!mark.isValid())
        return QVariant();
    switch (OutputLog::AffixMark(mark.toInt())) {
    case OutputLog::AffixMark::Found:
        return QBrush(kFound);
    case OutputLog::AffixMark::Missing:
        return QBrush(kMissing);
    case OutputLog::AffixMark::NoneExpected:
        break;
    }
    return QVariant();
}

QVariant foreground(const QVariant &kind)
{
    if (!kind.isValid())
        return QVariant();
    switch (OutputLog::Kind(kind.toInt())) {
    case OutputLog::Kind::Heartbeat:
        return QBrush(kHeartbeat);
    case OutputLog::Kind::Note:
        return QBrush(kNote);
    case OutputLog::Kind::Code:
        break;
    }
    return QVariant();
}

} // namespace

LogColours::LogColours(QObject *parent) : QIdentityProxyModel(parent) {}

QVariant LogColours::data(const QModelIndex &index, int role) const
{
    switch (role) {
    case Qt::BackgroundRole:
        return background(QIdentityProxyModel::data(index, OutputLog::AffixMarkRole));
    case Qt::ForegroundRole:
        return foreground(QIdentityProxyModel::data(index, OutputLog::KindRole));
    }
    return QIdentityProxyModel::data(index, role);
}
