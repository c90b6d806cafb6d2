#pragma once

#include "prepared_report.h"
#include "prepared_report_file.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kvt {

enum class ReportFormat { Pdf, Html, Odt, Rtf, Xlsx, Ods, Text, Csv, Prepared };

struct ReportFileFormat {
    ReportFormat format;
    const char *option;    // of kvt10-cli report
    const char *extension; // with its dot
    const char *filter;    // of the save dialog
};

inline constexpr ReportFileFormat ReportFileFormats[] = {
    {ReportFormat::Pdf, "--pdf", ".pdf", "pdf-files (*.pdf);;All files (*.*)"},
    {ReportFormat::Html, "--html", ".html", "html-files (*.html);;All files (*.*)"},
    {ReportFormat::Odt, "--odt", ".odt", "odt-files (*.odt);;All files (*.*)"},
    {ReportFormat::Rtf, "--rtf", ".rtf", "rtf-files (*.rtf);;All files (*.*)"},
    {ReportFormat::Xlsx, "--xlsx", ".xlsx", "xlsx-files (*.xlsx);;All files (*.*)"},
    {ReportFormat::Ods, "--ods", ".ods", "ods-files (*.ods);;All files (*.*)"},
    {ReportFormat::Text, "--txt", ".txt", "txt-files (*.txt);;All files (*.*)"},
    {ReportFormat::Csv, "--csv", ".csv", "csv-files (*.csv);;All files (*.*)"},
    // The program's own file, to be opened in the preview again.
    {ReportFormat::Prepared, "--prepared", PreparedReportExtension, PreparedReportFilter},
};

// Whether the report is within what the writer of a format builds
// (report_bounds.h). A saved report beyond it is damaged: this program never
// prepares one.
bool reportFitsFormat(const PreparedReport &report, ReportFormat format);

// The bytes of the report's file in a format; nothing beyond the format's
// bounds or when they could not be made (the spreadsheets' libraries need
// memory or a temporary file).
std::optional<QByteArray> reportFileBytes(const PreparedReport &report, ReportFormat format);

} // namespace kvt
