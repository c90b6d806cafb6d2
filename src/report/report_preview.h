#pragma once

#include "files/save_dialog.h"
#include "report_files.h"
#include "report_search.h"

#include <QPrintPreviewDialog>

#include <functional>
#include <optional>

class QPrintPreviewWidget;
class QToolButton;

namespace kvt {

class ReportFindBar;

// The report's preview window: the pages as they will print, with
// QPrintPreviewDialog's printing (the print dialog proposes the default
// printer), page set-up, zoom and page navigation; an export button whose
// menu writes the report as PDF, HTML, ODF text, RTF, plain text, CSV or the
// program's own report file; an open button that shows such a file instead
// (its pages as they were saved, whatever the page set-up); and a find bar
// whose hits are marked on the pages here, never on paper or in a file. A
// change of page set-up prepares the report again for the new page, and so
// does the report's choice, when it has one: a checkable button on the tool
// bar, off at first, whose state the report is prepared with.
struct ReportChoice {
    TextPair caption;
    QString objectName;
};

class ReportPreview : public QPrintPreviewDialog {
    Q_OBJECT
public:
    using Prepare = std::function<PreparedReport(const PageSetup &page)>;
    // chosen: whether the choice's button is checked.
    using PrepareWithChoice = std::function<PreparedReport(const PageSetup &page, bool chosen)>;

    ReportPreview(Prepare prepare, const PageSetup &page, const FileCommandContext &files, QWidget *parent = nullptr);
    ReportPreview(PrepareWithChoice prepare, const std::optional<ReportChoice> &choice, const PageSetup &page,
                  const FileCommandContext &files, QWidget *parent = nullptr);

    // The page as the page set-up has it now.
    PageSetup currentPage();

private:
    void setPage(const PageSetup &page);
    void addFileButtons(const std::optional<ReportChoice> &choice);
    // The report on the page set up now, through the save dialog; an opened
    // report that the format's writer would not take is reported as damaged.
    void exportReport(const ReportFileFormat &file);
    // A saved report file in place of the report shown; a file that cannot be
    // read is reported and changes nothing.
    void openReport();
    // Prepares the report for the printer or the preview's pages; only the
    // latter get the search's marks.
    void paintPages(QPrinter *target);
    // The pages again with the search's marks, at the current hit's page.
    void showSearch();

    PrepareWithChoice m_prepare;
    bool m_chosen = false;
    QToolButton *m_choiceButton = nullptr;
    QString m_openedFile; // the saved report shown, if one is
    FileCommandContext m_files;
    QPrintPreviewWidget *m_pages;
    ReportFindBar *m_findBar;
    PreparedReport m_shown; // as last painted
    ReportSearch m_search;
};

} // namespace kvt
