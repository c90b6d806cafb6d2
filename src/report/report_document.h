#pragma once

#include "prepared_report.h"

#include <QByteArray>

#include <optional>

namespace kvt {

// The report as a word-processor document in a QTextDocumentWriter format
// ("HTML", "ODF"): the title, then one framed table of the column heads and
// every record, the heads repeated where the table breaks across pages.
// Nothing when its tables would be beyond the bounds of report_bounds.h.
std::optional<QByteArray> reportDocument(const PreparedReport &report, const QByteArray &format);

// Whether the report's tables are within those bounds.
bool documentFits(const PreparedReport &report);

} // namespace kvt
