#ifndef TARVO_RECEIVERS_PEER_TABLE_H
#define TARVO_RECEIVERS_PEER_TABLE_H

// The readers connected to a receiver, one row each: where from, since
// when, how many messages and when the last message and heartbeat came.
// Counts change with every message; the view sees them a few times a
// second, so that a flood costs it no more than a trickle.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <QTimer>

#include <vector>

namespace output_test {

class PeerTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Address, Since, Messages, LastMessage, LastHeartbeat, ColumnCount };

    explicit PeerTable(QObject *parent = nullptr);

    void add(const QString &address);
    void remove(const QString &address);
    void heard(const QString &address, bool heartbeat);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Peer
    {
        QString address;
        QDateTime since;
        int messages = 0;
        QDateTime lastMessage;
        QDateTime lastHeartbeat;
    };
    int rowOf(const QString &address) const;
    void showCounts();

    std::vector<Peer> peers_;
    QTimer refresh_;
};

} // namespace output_test

#endif
