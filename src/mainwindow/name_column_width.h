#pragma once

#include <QFontMetrics>
#include <QString>

namespace kvt {

// The width of a column that shows instrument names (at most 19 characters)
// in this font: a long name of the instrument's lists whole, with the cell's
// margins on both sides, so that neither typing nor reading one is cut short.
inline int nameColumnWidth(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("Подстилающий слой 1")) + 16;
}

} // namespace kvt
