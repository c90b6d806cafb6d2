#include "report_files.h"

#include "report_document.h"
#include "report_painter.h"
#include "report_ods.h"
#include "report_rtf.h"
#include "report_sheet.h"
#include "report_text.h"
#include "report_xlsx.h"

namespace kvt {

bool reportFitsFormat(const PreparedReport &report, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Html:
    case ReportFormat::Odt: return documentFits(report);
    case ReportFormat::Xlsx:
    case ReportFormat::Ods: return reportSheet(report).has_value();
    case ReportFormat::Text: return reportPlainText(report).has_value();
    case ReportFormat::Pdf:
    case ReportFormat::Rtf:
    case ReportFormat::Csv:
    case ReportFormat::Prepared: break;
    }
    return true;
}

std::optional<QByteArray> reportFileBytes(const PreparedReport &report, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Pdf: return reportPdf(report);
    case ReportFormat::Html: return reportDocument(report, "HTML");
    case ReportFormat::Odt: return reportDocument(report, "ODF");
    case ReportFormat::Rtf: return reportRtf(report);
    case ReportFormat::Xlsx: return reportXlsx(report);
    case ReportFormat::Ods: return reportOds(report);
    case ReportFormat::Text: return reportPlainText(report);
    case ReportFormat::Csv: return reportCsv(report);
    case ReportFormat::Prepared: return encodePreparedReport(report);
    }
    return std::nullopt;
}

} // namespace kvt
