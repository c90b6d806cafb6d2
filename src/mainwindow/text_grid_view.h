#pragma once

#include <QTableView>

namespace kvt {

class TextGridModel;

// One of the window's text grids over its model: a cell or header text wider
// than its column is cut at the column's edge, as the instrument's users know
// the tables (never shortened to "…", which at a narrow window would leave
// nothing to read), and a header cut so shows its whole text as a tooltip.
// The selection is one block of cells (or rows): what is highlighted is
// exactly what a copy or a deletion takes.
QTableView *makeTextGrid(const char *name, TextGridModel *model, QAbstractItemView::SelectionBehavior behavior,
                         QWidget *parent);

} // namespace kvt
