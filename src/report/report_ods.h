#pragma once

#include "prepared_report.h"

#include <QByteArray>

#include <optional>

namespace kvt {

// The report as an OpenDocument spreadsheet of one table named after the
// title, with the content and typing of reportXlsx: numbers as floats shown
// with the text's decimals, every other text as a string, the report's font,
// frames, alignment, column widths and row heights. Nothing beyond the sheet's
// bounds, or when the container could not be made.
std::optional<QByteArray> reportOds(const PreparedReport &report);

} // namespace kvt
