#ifndef TARVO_OUTPUTTEST_LOG_COLOURS_H
#define TARVO_OUTPUTTEST_LOG_COLOURS_H

#include <QIdentityProxyModel>

// The output log as the window paints it: an affix found on a green ground,
// one missing on a red one; heartbeats in grey, the receiver's notes in blue.
class LogColours : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit LogColours(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};

#endif
