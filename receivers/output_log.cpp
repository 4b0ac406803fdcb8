#include "receivers/output_log.h"

#include <algorithm>

#include "text/plain_text.h"

namespace output_test {

namespace {

// How long messages gather before the view sees them: a flood then costs
// the view a few updates a second instead of one a message.
constexpr int kBatchMs = 30;
// What one cell shows of a long message; the details hold all of it.
constexpr int kCellCharacters = 200;
constexpr int kCellHexBytes = 64;

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

QString bytesShown(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.replace(QLatin1Char('\r'), QChar(0x23CE)).replace(QLatin1Char('\n'), QChar(0x240A));
    return visibleText(text.replace(QLatin1Char('\t'), QChar(0x21E5)));
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
    add({message, heartbeat ? AffixCheck() : checkAffixes(message.bytes, settings_),
         heartbeat ? Kind::Heartbeat : Kind::Code});
}

void OutputLog::note(const QString &text)
{
    add({{QDateTime::currentDateTimeUtc(), QString(), QByteArray(), text}, AffixCheck(), Kind::Note});
}

qint64 OutputLog::rowBytes(const Row &row)
{
    const qint64 rowOverhead = 160;
    const Message &message = row.message;
    return rowOverhead + message.bytes.size()
           + qint64(sizeof(QChar)) * (message.source.size() + message.details.size())
           + row.check.missingPrefix.size() + row.check.missingSuffix.size() + row.check.missingTerminator.size();
}

void OutputLog::add(Row row)
{
    pendingBytes_ += rowBytes(row);
    pending_.push_back(std::move(row));
    // A flood between two batches must not outgrow the log either.
    while (pending_.size() > 1 && (int(pending_.size()) > kMessageLimit || pendingBytes_ > kByteLimit)) {
        pendingBytes_ -= rowBytes(pending_.front());
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
        bytes -= rowBytes(rows_[std::size_t(outdated)]);
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
        return row.message.time.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    case Source:
        return visibleText(row.message.source);
    case Prefix:
        return check.missingPrefix.isEmpty() ? bytesShown(bytes.left(check.prefixLength))
                                             : tr("缺少 %1").arg(bytesShown(check.missingPrefix));
    case Data: {
        if (row.kind == Kind::Note)
            return cut(visibleText(row.message.details), kCellCharacters);
        const QString data = bytesShown(bytes.mid(check.prefixLength, dataEnd - check.prefixLength));
        return cut(row.kind == Kind::Heartbeat ? tr("心跳 %1").arg(data) : data, kCellCharacters);
    }
    case Suffix:
        return check.missingSuffix.isEmpty() ? bytesShown(bytes.mid(dataEnd, check.suffixLength))
                                             : tr("缺少 %1").arg(bytesShown(check.missingSuffix));
    case End:
        return check.missingTerminator.isEmpty() ? bytesShown(bytes.right(check.terminatorLength))
                                                 : tr("缺少 %1").arg(bytesShown(check.missingTerminator));
    case Hex:
        return hexOf(bytes.left(kCellHexBytes))
               + (bytes.size() > kCellHexBytes ? QString(QChar(0x2026)) : QString());
    }
    return QString();
}

QVariant OutputLog::affixMark(const Row &row, int column)
{
    const AffixCheck &check = row.check;
    auto shade = [](int found, const QByteArray &missing) {
        const AffixMark mark = !missing.isEmpty() ? AffixMark::Missing
                               : found > 0        ? AffixMark::Found
                                                  : AffixMark::NoneExpected;
        return QVariant(int(mark));
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
    case KindRole:
        return int(row.kind);
    case AffixMarkRole:
        return row.kind == Kind::Code ? affixMark(row, index.column()) : QVariant();
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
    const Row &shown = rows_[std::size_t(row)];
    const Message &message = shown.message;
    QString text = cellText(shown, Time) + QLatin1Char(' ') + visibleText(message.source) + QLatin1Char('\n');
    // Each line of the details stays one line: a header cannot forge another.
    for (const QString &line : message.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        text += visibleText(line) + QLatin1Char('\n');
    if (shown.kind == Kind::Note)
        return text.trimmed();
    text += tr("文本：%1").arg(bytesShown(message.bytes)) + QLatin1Char('\n');
    text += tr("十六进制：%1").arg(hexOf(message.bytes));
    return text;
}

} // namespace output_test
