#pragma once

#include "files/save_dialog.h"
#include "report_files.h"
#include "report_search.h"

#include <QPrintPreviewDialog>

#include <functional>

class QPrintPreviewWidget;

namespace kvt {

class ReportFindBar;

// The report's preview window: the pages as they will print, with
// QPrintPreviewDialog's printing (the print dialog proposes the default
// printer), page set-up, zoom and page navigation; an export button whose
// menu writes the report as PDF, HTML, ODF text, RTF, plain text, CSV or the
// program's own report file; an open button that shows such a file instead
// (its pages as they were saved, whatever the page set-up); and a find bar
// whose hits are marked on the pages here, never on paper or in a file. A
// change of page set-up prepares the report again for the new page.
class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    using Prepare = std::function<PreparedReport(const PageSetup &page)>;

    ReportPreview(Prepare prepare, const PageSetup &page, const FileCommandContext &files, QWidget *parent = nullptr);

    // The page as the page set-up has it now.
    PageSetup currentPage();

private:
    void setPage(const PageSetup &page);
    void addFileButtons();
    // The report on the page set up now, through the save dialog.
    void exportReport(const ReportFileFormat &file);
    // A saved report file in place of the report shown; a file that cannot be
    // read is reported and changes nothing.
    void openReport();
    // Prepares the report for the printer or the preview's pages; only the
    // latter get the search's marks.
    void paintPages(QPrinter *target);
    // The pages again with the search's marks, at the current hit's page.
    void showSearch();

    Prepare m_prepare;
    FileCommandContext m_files;
    QPrintPreviewWidget *m_pages;
    ReportFindBar *m_findBar;
    PreparedReport m_shown; // as last painted
    ReportSearch m_search;
};

} // namespace kvt
