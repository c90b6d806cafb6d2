#pragma once

#include "files/save_dialog.h"
#include "report_files.h"

#include <QPrintPreviewDialog>

#include <functional>

namespace kvt {

// The report's preview window: the pages as they will print, with
// QPrintPreviewDialog's printing (the print dialog proposes the default
// printer), page set-up, zoom and page navigation, and an export button whose
// menu writes the report as PDF, HTML, ODF text, RTF, plain text or CSV. A change
// of page set-up prepares the report again for the new page.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    using Prepare = std::function<PreparedReport(const PageSetup &page)>;

    ReportPreview(Prepare prepare, const PageSetup &page, const FileCommandContext &files, QWidget *parent = nullptr);

    // The page as the page set-up has it now.
    PageSetup currentPage();

private:
    void addExportButton();
    // The report on the page set up now, through the save dialog.
    void exportReport(const ReportFileFormat &file);

    Prepare m_prepare;
    FileCommandContext m_files;
};

} // namespace kvt
