#include "text_grid_model.h"

#include <QBrush>
#include <QPalette>

namespace kvt {

TextGridModel::TextGridModel(int columns, int rows, int fixedColumns, int fixedRows, QObject *parent)
    : QAbstractTableModel(parent), m_columns(0), m_rows(0), m_fixedColumns(fixedColumns), m_fixedRows(fixedRows)
{
    setGridSize(columns, rows);
}

void TextGridModel::setGridSize(int columns, int rows)
{
    beginResetModel();
    m_columns = qMax(columns, 1);
    m_rows = qMax(rows, 1);
    m_cells.resize(m_rows);
    for (QStringList &row : m_cells)
        row.resize(m_columns);
    m_marks.clear();
    endResetModel();
}

void TextGridModel::setCells(QList<QStringList> cells)
{
    beginResetModel();
    m_rows = qMax<int>(cells.size(), 1);
    m_columns = 1;
    for (const QStringList &row : cells)
        m_columns = qMax<int>(m_columns, row.size());
    m_cells = std::move(cells);
    m_cells.resize(m_rows);
    for (QStringList &row : m_cells)
        row.resize(m_columns);
    m_marks.clear();
    endResetModel();
}

void TextGridModel::setCellMarks(QHash<QPoint, CellMark> marks)
{
    m_marks = std::move(marks);
    if (m_rows > 1)
        emit dataChanged(index(0, 0), index(m_rows - 2, m_columns - 1), {Qt::ForegroundRole, Qt::ToolTipRole});
}

QString TextGridModel::cell(int column, int row) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns)
        return {};
    return m_cells[row][column];
}

void TextGridModel::setCell(int column, int row, const QString &text)
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns || m_cells[row][column] == text)
        return;
    m_cells[row][column] = text;
    if (row < m_fixedRows)
        emit headerDataChanged(Qt::Horizontal, column, column);
    if (row > 0 && column < m_fixedColumns)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    if (row > 0) {
        const QModelIndex changed = index(row - 1, column);
        emit dataChanged(changed, changed);
    }
}

int TextGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int TextGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    const bool fixed = row < m_fixedRows || index.column() < m_fixedColumns;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return cell(index.column(), row);
    case Qt::BackgroundRole:
        return fixed ? QVariant(QPalette().brush(QPalette::Button)) : QVariant();
    case Qt::ForegroundRole:
        if (const auto mark = m_marks.constFind(QPoint(index.column(), row)); mark != m_marks.cend())
            return QBrush(mark->color);
        // Label cells are not enabled (so neither a click nor a key can make
        // them current) but read as plainly as the rest.
        return fixed ? QVariant(QPalette().brush(QPalette::Active, QPalette::Text)) : QVariant();
    case Qt::ToolTipRole: {
        const auto mark = m_marks.constFind(QPoint(index.column(), row));
        return mark != m_marks.cend() ? QVariant(mark->toolTip) : QVariant();
    }
    default:
        return {};
    }
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    QStringList texts;
    if (orientation == Qt::Horizontal) {
        for (int row = 0; row < qMax(m_fixedRows, 1); ++row)
            texts << cell(section, row);
    } else {
        for (int column = 0; column < m_fixedColumns; ++column)
            texts << cell(column, section + 1);
    }
    // A screen reader reads the lines of a header as one phrase.
    return role == Qt::DisplayRole ? texts.join(u'\n') : texts.join(u' ').trimmed();
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const bool fixed = index.row() + 1 < m_fixedRows || index.column() < m_fixedColumns;
    return fixed ? Qt::NoItemFlags : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace kvt
