#pragma once

#include "prepared_report.h"

#include <optional>

namespace kvt {

// What a spreadsheet export holds: the title in the first row (spanning the
// columns its box spans), the column heads in the second, one row per
// record, in the report's font, frames and alignment.
struct SheetCell {
    QString text;
    // A record's text that reads as a number in the report's decimal-comma
    // form is stored as that number, shown with as many decimals as the text.
    std::optional<double> number;
    int decimals = 0;
    int columnsSpanned = 1;
    qreal pointSize = 10;
    bool framed = false;
    Qt::Alignment alignment = Qt::AlignCenter;
};

struct SheetRow {
    qreal height = 0; // millimetres
    QList<SheetCell> cells; // from the first column on
};

struct ReportSheet {
    QString name; // the title, as a sheet may be named
    QString fontFamily;
    QList<qreal> columnWidths; // millimetres
    QList<SheetRow> rows;
};

// Nothing when the sheet would have more columns or cells than the bounds of
// report_bounds.h.
std::optional<ReportSheet> reportSheet(const PreparedReport &report);

// A text as a sheet name: at most 31 characters, none of []:*?/\ and no
// apostrophe at either end (what spreadsheet programs accept); "Sheet1" when
// nothing is left.
QString sheetName(const QString &title);

} // namespace kvt
