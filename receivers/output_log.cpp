#include "receivers/output_log.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace output_test {

namespace {

// How long messages gather before the view sees them: a flood then costs
// the view a few updates a second instead of one a message.
constexpr int kBatchMs = 30;
// What one cell shows of a long message; the details hold all of it.
constexpr int kCellCharacters = 200;
constexpr int kCellHexBytes = 64;

const QColor kFound(0xd4, 0xf5, 0xd4);
const QColor kMissing(0xf8, 0xd0, 0xd0);
const QColor kHeartbeat(0x90, 0x90, 0x90);

// The affixes of one kind against a message without its terminator; higher
// scores fit better: both affixes there first, then more of them there. A
// kind without affixes fits nothing.
int fit(const QByteArray &body, const Affix &prefix, const Affix &suffix, AffixCheck *check)
{
    const QByteArray before = prefix.bytes();
    const QByteArray after = suffix.bytes();
    if (before.isEmpty() && after.isEmpty())
        return -1;
    int found = 0;
    if (!before.isEmpty()) {
        if (body.startsWith(before)) {
            check->prefixLength = before.size();
            ++found;
        } else {
            check->missingPrefix = before;
        }
    }
    if (!after.isEmpty()) {
        if (body.size() - check->prefixLength >= after.size() && body.endsWith(after)) {
            check->suffixLength = after.size();
            ++found;
        } else {
            check->missingSuffix = after;
        }
    }
    const bool whole = check->missingPrefix.isEmpty() && check->missingSuffix.isEmpty();
    return (whole ? 10 : 0) + found;
}

QString cut(const QString &text, int limit)
{
    return text.size() > limit ? text.left(limit) + QChar(0x2026) : text;
}

QString hexOf(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

} // namespace

AffixCheck checkAffixes(const QByteArray &message, const Settings &settings)
{
    QByteArray body = message;
    int terminatorLength = 0;
    QByteArray missingTerminator;
    const QByteArray terminator = settings.terminator();
    if (!terminator.isEmpty()) {
        if (body.endsWith(terminator)) {
            terminatorLength = terminator.size();
            body.chop(terminatorLength);
        } else {
            missingTerminator = terminator;
        }
    }
    AffixCheck scan;
    AffixCheck card;
    card.card = true;
    const int scanFit = fit(body, settings.scanPrefix, settings.scanSuffix, &scan);
    const int cardFit = fit(body, settings.cardPrefix, settings.cardSuffix, &card);
    AffixCheck best = cardFit > scanFit ? card : scan;
    best.terminatorLength = terminatorLength;
    best.missingTerminator = missingTerminator;
    return best;
}

QString visibleText(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (code == '\r')
            shown += QChar(0x23CE);
        else if (code == '\n')
            shown += QChar(0x240A);
        else if (code == '\t')
            shown += QChar(0x21E5);
        else if (code < 0x20)
            shown += QChar(0x2400 + code);
        else if (code == 0x7F)
            shown += QChar(0x2421);
        else
            shown += c;
    }
    return shown;
}

OutputLog::OutputLog(QObject *parent) : QAbstractTableModel(parent)
{
    batch_.setSingleShot(true);
    batch_.setInterval(kBatchMs);
    connect(&batch_, &QTimer::timeout, this, &OutputLog::takePending);
}

void OutputLog::append(const Message &message)
{
    const bool heartbeat = settings_.isHeartbeat(message.bytes);
    if (heartbeat) {
        ++heartbeats_;
        lastHeartbeat_ = message.time;
    }
    pending_.push_back({message, heartbeat ? AffixCheck() : checkAffixes(message.bytes, settings_), heartbeat});
    pendingBytes_ += message.bytes.size();
    // A flood between two batches must not outgrow the log either.
    while (pending_.size() > 1 && (int(pending_.size()) > kMessageLimit || pendingBytes_ > kByteLimit)) {
        pendingBytes_ -= pending_.front().message.bytes.size();
        pending_.pop_front();
        ++dropped_;
    }
    if (!batch_.isActive())
        batch_.start();
}

void OutputLog::takePending()
{
    int count = int(rows_.size() + pending_.size());
    qint64 bytes = storedBytes_ + pendingBytes_;
    int outdated = 0;
    while (outdated < int(rows_.size()) && (count > kMessageLimit || bytes > kByteLimit)) {
        bytes -= rows_[std::size_t(outdated)].message.bytes.size();
        --count;
        ++outdated;
    }
    if (outdated > 0) {
        beginRemoveRows(QModelIndex(), 0, outdated - 1);
        rows_.erase(rows_.begin(), rows_.begin() + outdated);
        endRemoveRows();
        dropped_ += outdated;
    }
    if (!pending_.empty()) {
        beginInsertRows(QModelIndex(), int(rows_.size()), int(rows_.size() + pending_.size()) - 1);
        rows_.insert(rows_.end(), pending_.begin(), pending_.end());
        endInsertRows();
        pending_.clear();
    }
    storedBytes_ = bytes;
    pendingBytes_ = 0;
    emit changed();
}

void OutputLog::clear()
{
    beginResetModel();
    rows_.clear();
    pending_.clear();
    storedBytes_ = pendingBytes_ = 0;
    endResetModel();
    dropped_ = 0;
    heartbeats_ = 0;
    lastHeartbeat_ = QDateTime();
    emit changed();
}

int OutputLog::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int OutputLog::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString OutputLog::cellText(const Row &row, int column) const
{
    const QByteArray &bytes = row.message.bytes;
    const AffixCheck &check = row.check;
    const int dataEnd = bytes.size() - check.terminatorLength - check.suffixLength;
    switch (column) {
    case Time:
        return row.message.time.toString(QStringLiteral("HH:mm:ss.zzz"));
    case Source:
        return row.message.source;
    case Prefix:
        return check.missingPrefix.isEmpty() ? visibleText(bytes.left(check.prefixLength))
                                             : tr("缺少 %1").arg(visibleText(check.missingPrefix));
    case Data: {
        const QString data = visibleText(bytes.mid(check.prefixLength, dataEnd - check.prefixLength));
        return cut(row.heartbeat ? tr("心跳 %1").arg(data) : data, kCellCharacters);
    }
    case Suffix:
        return check.missingSuffix.isEmpty() ? visibleText(bytes.mid(dataEnd, check.suffixLength))
                                             : tr("缺少 %1").arg(visibleText(check.missingSuffix));
    case End:
        return check.missingTerminator.isEmpty() ? visibleText(bytes.right(check.terminatorLength))
                                                 : tr("缺少 %1").arg(visibleText(check.missingTerminator));
    case Hex:
        return hexOf(bytes.left(kCellHexBytes)) + (bytes.size() > kCellHexBytes ? QString(QChar(0x2026)) : QString());
    }
    return QString();
}

QVariant OutputLog::cellBackground(const Row &row, int column) const
{
    const AffixCheck &check = row.check;
    auto shade = [](int found, const QByteArray &missing) -> QVariant {
        if (!missing.isEmpty())
            return QBrush(kMissing);
        return found > 0 ? QVariant(QBrush(kFound)) : QVariant();
    };
    switch (column) {
    case Prefix:
        return shade(check.prefixLength, check.missingPrefix);
    case Suffix:
        return shade(check.suffixLength, check.missingSuffix);
    case End:
        return shade(check.terminatorLength, check.missingTerminator);
    }
    return QVariant();
}

QVariant OutputLog::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return QVariant();
    const Row &row = rows_[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(row, index.column());
    case Qt::BackgroundRole:
        return row.heartbeat ? QVariant() : cellBackground(row, index.column());
    case Qt::ForegroundRole:
        return row.heartbeat ? QVariant(QBrush(kHeartbeat)) : QVariant();
    }
    return QVariant();
}

QVariant OutputLog::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return tr("时间");
    case Source:
        return tr("来源");
    case Prefix:
        return tr("前缀");
    case Data:
        return tr("数据");
    case Suffix:
        return tr("后缀");
    case End:
        return tr("结束符");
    case Hex:
        return tr("十六进制");
    }
    return QVariant();
}

QString OutputLog::line(int row) const
{
    if (row < 0 || row >= int(rows_.size()))
        return QString();
    const Row &shown = rows_[std::size_t(row)];
    QStringList cells;
    for (int column = Time; column < Hex; ++column)
        cells << cellText(shown, column);
    cells << hexOf(shown.message.bytes);
    return cells.join(QLatin1Char('\t'));
}

QString OutputLog::details(int row) const
{
    if (row < 0 || row >= int(rows_.size()))
        return QString();
    const Message &message = rows_[std::size_t(row)].message;
    QString text = cellText(rows_[std::size_t(row)], Time) + QLatin1Char(' ') + message.source + QLatin1Char('\n');
    if (!message.details.isEmpty())
        text += message.details + QLatin1Char('\n');
    text += tr("文本：%1").arg(visibleText(message.bytes)) + QLatin1Char('\n');
    text += tr("十六进制：%1").arg(hexOf(message.bytes));
    return text;
}

} // namespace output_test
