#include "window_layout.h"

#include <array>

namespace kvt::layout {

int table1Width(int clientWidth, int share)
{
    const int width = clientWidth * share / 1000;
    return clientWidth - 40 < width ? clientWidth - 40 : width;
}

int shareFromDrag(int proposedWidth, int clientWidth)
{
    return clientWidth > 0 ? proposedWidth * 1000 / clientWidth : 0;
}

QList<int> seriesColumnWidths(int tableWidth, int tableHeight, int rowCount, int columnCount)
{
    constexpr std::array<float, 7> weights{0.8f, 1.0f, 1.1f, 0.75f, 0.75f, 2.0f, 2.0f};
    float available = float(tableWidth - 10);
    if (rowCount * (DefaultRowHeight + 1) >= tableHeight - 2)
        available -= 16; // room for the vertical scroll bar
    const float unit = available * 0.119047619f;

    QList<int> widths;
    double position = 0.5;
    int assigned = 0;
    for (int column = 0; column < columnCount; ++column) {
        position += unit * (size_t(column) < weights.size() ? weights[size_t(column)] : 0.0f);
        const int width = int(position - assigned);
        widths << width;
        assigned += width;
    }
    return widths;
}

QList<int> impactColumnWidths(int tableWidth, int columnCount)
{
    QList<int> widths{ImpactLabelColumnWidth};
    if (columnCount < 2)
        return widths;
    const float available = float(tableWidth - ImpactLabelColumnWidth - SplitterWidth);
    const float unit = available / float(columnCount - 1) - 1;
    double position = ImpactLabelColumnWidth;
    int assigned = ImpactLabelColumnWidth;
    for (int column = 1; column < columnCount; ++column) {
        position += unit;
        const int width = int(position - assigned);
        widths << width;
        assigned += width;
    }
    return widths;
}

int impactTableHeight(int rowCount)
{
    return rowCount * (DefaultRowHeight + 1) + 4;
}

QList<QRect> checkBoxPlaces(int panelWidth, int top, const QList<QSize> &sizes)
{
    QList<QRect> places;
    for (const QSize &size : sizes) {
        if (places.isEmpty()) {
            places << QRect(QPoint(CheckBoxLeft, top), size);
            continue;
        }
        const QRect &previous = places.back();
        const int x = previous.left() + previous.width();
        if (panelWidth < x + size.width())
            places << QRect(QPoint(CheckBoxLeft, previous.top() + previous.height()), size);
        else
            places << QRect(QPoint(x, previous.top()), size);
    }
    return places;
}

int chartHeight(int panelHeight, const QRect &lastCheckBox)
{
    return panelHeight - lastCheckBox.top() - lastCheckBox.height() - 10;
}

} // namespace kvt::layout
