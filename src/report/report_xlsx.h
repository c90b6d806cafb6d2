#pragma once

#include "prepared_report.h"

#include <QByteArray>

#include <optional>

namespace kvt {

// The report as an Office Open XML workbook of one sheet named after the
// title (reportSheet's content): numbers stored as numbers with their decimals
// as the cell's number format, every other text as text, the report's font,
// frames, alignment, column widths and row heights. Nothing beyond the sheet's
// bounds, or when the workbook could not be written (its library writes
// through a temporary folder).
std::optional<QByteArray> reportXlsx(const PreparedReport &report);

} // namespace kvt
