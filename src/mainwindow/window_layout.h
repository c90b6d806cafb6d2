#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace kvt {

// The arithmetic of the main window's layout pass, in integer pixels unless said.
namespace layout {

constexpr int DefaultRowHeight = 18;
constexpr int SplitterWidth = 4;
constexpr int ImpactLabelColumnWidth = 150;
constexpr int CheckBoxLeft = 32;
// Narrow enough for the impact columns of a long series at the first-start
// size, wide enough for the mouse to hit; what overflows scrolls.
constexpr int MinimumColumnWidth = 4;

// Table 1's share of the client width in thousandths, capped so that 40 pixels
// stay for the right side (the share itself is not changed).
int table1Width(int clientWidth, int share);

// A splitter drag to a proposed Table 1 width gives the new share, unclamped.
int shareFromDrag(int proposedWidth, int clientWidth);

// Table 1's column widths: weights 0.8, 1, 1.1, 0.75, 0.75, 2, 2 over the width
// less 10 (less 16 more when a vertical scroll bar is expected), with the
// rounding spread so that the widths add up to the rounded total.
QList<int> seriesColumnWidths(int tableWidth, int tableHeight, int rowCount, int columnCount);

// Table 2: the label column 150 wide, the rest shared by the impact columns.
QList<int> impactColumnWidths(int tableWidth, int columnCount);

int impactTableHeight(int rowCount);

// The four curve check boxes flow left to right from (32, top), wrapping to a
// new line when the panel is too narrow; a hidden box has width 0 and takes no room.
QList<QRect> checkBoxPlaces(int panelWidth, int top, const QList<QSize> &sizes);

// The chart fills the panel below the last check box, 10 pixels clear of it.
int chartHeight(int panelHeight, const QRect &lastCheckBox);

} // namespace layout
} // namespace kvt
