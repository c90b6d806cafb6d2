#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QPoint>
#include <QStringList>

namespace kvt {

// The cells of one of the window's text grids, addressed as the grid is:
// cell(column, row), row 0 being the header row the view shows as its header.
// Fixed rows and fixed columns hold labels: they are shaded and can be neither
// selected nor made current. They also stay in sight while the rest scrolls, so
// the view shows them in its headers: a column's header holds its fixed rows,
// one a line, and a row's header its fixed columns. The grids are rebuilt,
// never edited by the user.
class TextGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A cell drawn in its own text colour, with a tooltip saying why; its text
    // stays as it is.
    struct CellMark {
        QColor color;
        QString toolTip;
    };

    TextGridModel(int columns, int rows, int fixedColumns, int fixedRows, QObject *parent = nullptr);

    int gridColumnCount() const { return m_columns; }
    int gridRowCount() const { return m_rows; }
    int fixedColumns() const { return m_fixedColumns; }
    int fixedRows() const { return m_fixedRows; }
    // Keeps the cells that still fit; new cells are empty.
    void setGridSize(int columns, int rows);
    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    // All cells at once, [row][column]: the size follows the rows given.
    void setCells(QList<QStringList> cells);
    const QList<QStringList> &cells() const { return m_cells; }
    // Marks by grid coordinates (x column, y row). New cells come unmarked:
    // setCells and setGridSize drop every mark.
    void setCellMarks(QHash<QPoint, CellMark> marks);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    int m_columns;
    int m_rows;
    int m_fixedColumns;
    int m_fixedRows;
    QList<QStringList> m_cells; // [row][column]
    QHash<QPoint, CellMark> m_marks;
};

} // namespace kvt
