#pragma once

#include "measurement_store.h"
#include "support/bilingual.h"

#include <QString>
#include <QStringList>
#include <array>

namespace kvt {

constexpr int SeriesTableColumns = 7;
constexpr int SeriesTableHeaderRows = 2;
constexpr int ImpactTableRows = 7;
// The columns of Table 1 that are read back, and its two header rows.
constexpr int SeriesDynamicColumn = 3, SeriesStaticColumn = 4, SeriesMaterialColumn = 5, SeriesObjectColumn = 6;
constexpr int SeriesNameRow = 0, SeriesUnitRow = 1;

// Table 1: one row per series, two header rows.
QString seriesTableHeader(int column, int row, Language language);
std::array<QString, SeriesTableColumns> seriesRowCells(const MeasurementStore &store, quint32 series);

// Table 1 as it reads after a fill: the two header rows, then one row a series;
// an empty store gives one empty row.
QList<QStringList> seriesTableGrid(const MeasurementStore &store, Language language);

// Table 2: one column per impact of a series, one header row and column.
QString impactColumnHeader(int column, Language language); // column ≥ 1: "1-st impact"
QString impactRowLabel(int row, Language language);        // rows 1 … 6: "Din.modulus, MPa"
QString impactDateTimeCell(const ImpactRecord &record);    // "06.11.2013, 14:07:45"
// Rows 1 … 6 of an impact's column; a value that cannot be formatted reads "NAN".
std::array<QString, ImpactTableRows - 1> impactColumnCells(const ImpactRecord &record);

// Table 2 as it reads right after the series is chosen: 7 rows of 1 + n cells,
// the corner cell showing the series' first impact.
QList<QStringList> impactTableGrid(const MeasurementStore &store, quint32 series, Language language);

} // namespace kvt
