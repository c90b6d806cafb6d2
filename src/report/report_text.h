#pragma once

#include "prepared_report.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace kvt {

// What a report says without its paging, for the formats that flow: the
// title, the column heads once and one row per record. Repeated heads and
// page numbers belong to paper only.
struct ReportContent {
    QList<ReportText> title;
    QList<ReportText> heads;
    QList<QList<ReportText>> records;
};
// A report that goes on in another layout (appendReport) has a section for
// each title: the first is the report's own, the one table a spreadsheet or
// a CSV file holds.
QList<ReportContent> reportSections(const PreparedReport &report);
ReportContent reportContent(const PreparedReport &report);

// The pages as plain UTF-8 text: a line per band, each text in its column at
// two millimetres a character (centred, or at the side it is aligned to),
// pages parted by form feeds. Nothing beyond the bounds of report_bounds.h.
std::optional<QByteArray> reportPlainText(const PreparedReport &report);

// The content for spreadsheets, in the program's CSV form (support/csv_text.h).
QByteArray reportCsv(const PreparedReport &report);

} // namespace kvt
