#include "batchwrite/batch_rows.h"

#include <QColor>

#include "widgets/untrusted_text.h"

BatchRows::BatchRows(QObject *parent) : QAbstractTableModel(parent) {}

int BatchRows::addRow(const QString &link, bool listed, bool checked, const QString &maker,
                      const QString &serialNumber)
{
    const int row = int(rows.size());
    beginInsertRows(QModelIndex(), row, row);
    Row added;
    added.link = link;
    added.listed = listed;
    added.checked = checked;
    added.maker = maker;
    added.serialNumber = serialNumber;
    rows.push_back(added);
    endInsertRows();
    return row;
}

bool BatchRows::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > int(rows.size()))
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows.erase(rows.begin() + row, rows.begin() + row + count);
    endRemoveRows();
    return true;
}

int BatchRows::rowOf(const QString &link) const
{
    for (std::size_t row = 0; row < rows.size(); ++row)
        if (rows[row].link == link)
            return int(row);
    return -1;
}

void BatchRows::setOutcome(int row, RowState state, const QString &text, const QString &cause)
{
    Row &changed = rows[std::size_t(row)];
    changed.state = state;
    changed.outcome = text;
    changed.cause = cause;
    const QModelIndex cell = index(row, StatusColumn);
    emit dataChanged(cell, cell);
}

int BatchRows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int BatchRows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

// An outcome shows green when it succeeded, red when it failed, amber when
// nobody knows.
QVariant BatchRows::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Row &row = rows[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return shown(row, column);
    case Qt::CheckStateRole:
        return column == LinkColumn ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::ToolTipRole:
        return column == StatusColumn && !row.cause.isEmpty() ? QVariant(autoTextShown(row.cause)) : QVariant();
    case Qt::ForegroundRole:
        if (column != StatusColumn)
            return QVariant();
        return row.state == Succeeded ? QVariant(QColor(Qt::darkGreen))
               : row.state == Failed  ? QVariant(QColor(Qt::red))
               : row.state == Unknown ? QVariant(QColor(0xb0, 0x60, 0x00))
                                      : QVariant();
    }
    return QVariant();
}

QVariant BatchRows::shown(const Row &row, int column) const
{
    switch (column) {
    case LinkColumn:
        return plainShown(row.link);
    case MakerColumn:
        return plainShown(row.maker);
    case SerialNumberColumn:
        return plainShown(row.serialNumber);
    case PlaceColumn:
        return row.place;
    case StatusColumn:
        return row.outcome;
    }
    return QVariant();
}

bool BatchRows::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return false;
    Row &row = rows[std::size_t(index.row())];
    if (index.column() == PlaceColumn && role == Qt::EditRole) {
        row.place = value.toString();
    } else if (index.column() == LinkColumn && role == Qt::CheckStateRole) {
        const bool checked = value.toInt() == Qt::Checked;
        if (checked == row.checked)
            return true;
        row.checked = checked;
        emit checkChanged(row.link, checked);
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

// Only the place is the user's to edit; the link's check is theirs to set.
Qt::ItemFlags BatchRows::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    const Qt::ItemFlags always = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (index.column()) {
    case LinkColumn:
        return always | Qt::ItemIsUserCheckable;
    case PlaceColumn:
        return always | Qt::ItemIsEditable;
    }
    return always;
}

QVariant BatchRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case LinkColumn:
        return tr("读卡器");
    case MakerColumn:
        return tr("制造商");
    case SerialNumberColumn:
        return tr("序列号");
    case PlaceColumn:
        return tr("位置");
    case StatusColumn:
        return tr("状态");
    }
    return QVariant();
}
