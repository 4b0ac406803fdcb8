#include "receivers/peer_table.h"

namespace output_test {

namespace {

constexpr int kRefreshMs = 250;

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toLocalTime().toString(QStringLiteral("HH:mm:ss")) : QString();
}

} // namespace

PeerTable::PeerTable(QObject *parent) : QAbstractTableModel(parent)
{
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &PeerTable::showCounts);
}

int PeerTable::rowOf(const QString &address) const
{
    for (std::size_t row = 0; row < peers_.size(); ++row)
        if (peers_[row].address == address)
            return int(row);
    return -1;
}

void PeerTable::add(const QString &address)
{
    beginInsertRows(QModelIndex(), int(peers_.size()), int(peers_.size()));
    peers_.push_back({address, QDateTime::currentDateTimeUtc(), 0, QDateTime(), QDateTime()});
    endInsertRows();
}

void PeerTable::remove(const QString &address)
{
    const int row = rowOf(address);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    peers_.erase(peers_.begin() + row);
    endRemoveRows();
}

void PeerTable::heard(const QString &address, bool heartbeat)
{
    const int row = rowOf(address);
    if (row < 0)
        return;
    Peer &peer = peers_[std::size_t(row)];
    (heartbeat ? peer.lastHeartbeat : peer.lastMessage) = QDateTime::currentDateTimeUtc();
    peer.messages += heartbeat ? 0 : 1;
    if (!refresh_.isActive())
        refresh_.start();
}

void PeerTable::showCounts()
{
    if (!peers_.empty())
        emit dataChanged(index(0, Messages), index(rowCount() - 1, LastHeartbeat), {Qt::DisplayRole});
}

int PeerTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(peers_.size());
}

int PeerTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PeerTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return QVariant();
    const Peer &peer = peers_[std::size_t(index.row())];
    switch (index.column()) {
    case Address:
        return peer.address;
    case Since:
        return timeText(peer.since);
    case Messages:
        return peer.messages;
    case LastMessage:
        return timeText(peer.lastMessage);
    case LastHeartbeat:
        return timeText(peer.lastHeartbeat);
    }
    return QVariant();
}

QVariant PeerTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Address:
        return tr("读头地址");
    case Since:
        return tr("连接时间");
    case Messages:
        return tr("消息数");
    case LastMessage:
        return tr("最后消息");
    case LastHeartbeat:
        return tr("最后心跳");
    }
    return QVariant();
}

} // namespace output_test
