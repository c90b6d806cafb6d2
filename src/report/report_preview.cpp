#include "report_preview.h"

#include "files/file_texts.h"
#include "files/last_folder.h"
#include "report_find_bar.h"
#include "report_painter.h"
#include "support/common_texts.h"
#include "support/path_parts.h"

#include <QLayout>
#include <QMenu>
#include <QPaintEngine>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

namespace kvt {
namespace {

const TextPair PreviewTitle{u"Просмотр отчёта", u"Report preview"};
const TextPair ExportCaption{u"Экспорт", u"Export"};
const TextPair OpenCaption{u"Открыть...", u"Open..."};
// By ReportFileFormats.
const TextPair ExportItems[] = {
    {u"Документ PDF...", u"PDF document..."},
    {u"Веб-страница HTML...", u"HTML web page..."},
    {u"Текст OpenDocument (ODT)...", u"OpenDocument text (ODT)..."},
    {u"Документ RTF...", u"RTF document..."},
    {u"Таблица Excel (XLSX)...", u"Excel spreadsheet (XLSX)..."},
    {u"Таблица OpenDocument (ODS)...", u"OpenDocument spreadsheet (ODS)..."},
    {u"Простой текст...", u"Plain text..."},
    {u"CSV для электронных таблиц...", u"CSV for spreadsheets..."},
    {u"Отчёт КВТ-1.0, чтобы открыть его снова...", u"KVT-1.0 report, to open it again..."},
};
static_assert(std::size(ExportItems) == std::size(ReportFileFormats));

const QString ReportFileName = QStringLiteral("Report");

// The search's hits under the texts, the current one stronger.
const QColor HitColor(255, 236, 120);
const QColor CurrentHitColor(255, 170, 60);

// The preview records its pages as pictures; a printer or a PDF file paints
// with an engine of its own.
bool paintsPreview(QPrinter &target)
{
    return target.paintEngine() && target.paintEngine()->type() == QPaintEngine::Picture;
}

QToolButton *textButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

ReportPreview::ReportPreview(Prepare prepare, const PageSetup &page, const FileCommandContext &files,
                             QWidget *parent)
    : ReportPreview([prepare = std::move(prepare)](const PageSetup &setup, bool) { return prepare(setup); },
                    std::nullopt, page, files, parent)
{
}

ReportPreview::ReportPreview(PrepareWithChoice prepare, const std::optional<ReportChoice> &choice,
                             const PageSetup &page, const FileCommandContext &files, QWidget *parent)
    : QPrintPreviewDialog(parent), m_prepare(std::move(prepare)), m_files(files),
      m_pages(findChild<QPrintPreviewWidget *>()), m_findBar(new ReportFindBar(m_files.language, this))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(PreviewTitle.text(m_files.language));
    setPage(page);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paintPages);
    addFileButtons(choice);
    layout()->addWidget(m_findBar);
    connect(m_findBar, &ReportFindBar::textEdited, this, [this](const QString &text) {
        m_search.find(m_shown, text);
        showSearch();
    });
    connect(m_findBar, &ReportFindBar::nextWanted, this, [this] {
        m_search.next();
        showSearch();
    });
    connect(m_findBar, &ReportFindBar::previousWanted, this, [this] {
        m_search.previous();
        showSearch();
    });
}

PageSetup ReportPreview::currentPage()
{
    const QPageLayout layout = printer()->pageLayout();
    return {layout.fullRect(QPageLayout::Millimeter).size(), layout.margins(QPageLayout::Millimeter)};
}

void ReportPreview::setPage(const PageSetup &page)
{
    // Full-page mode, set last: the report places its texts from the paper's
    // corner and keeps the page set-up's margins as its own.
    printer()->setPageLayout(QPageLayout(QPageSize(page.paper, QPageSize::Millimeter), QPageLayout::Portrait,
                                         page.margins, QPageLayout::Millimeter));
    printer()->setFullPage(true);
}

void ReportPreview::addFileButtons(const std::optional<ReportChoice> &choice)
{
    auto *menu = new QMenu(this);
    for (size_t i = 0; i < std::size(ReportFileFormats); ++i) {
        const ReportFileFormat &file = ReportFileFormats[i];
        QAction *item = menu->addAction(ExportItems[i].text(m_files.language));
        item->setObjectName(QStringLiteral("AExport_") + QString::fromLatin1(file.extension + 1));
        connect(item, &QAction::triggered, this, [this, &file] { exportReport(file); });
    }
    QToolButton *exportButton = textButton(ExportCaption.text(m_files.language), QStringLiteral("ExportButton"), this);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    exportButton->setMenu(menu);
    QToolButton *openButton = textButton(OpenCaption.text(m_files.language), QStringLiteral("OpenButton"), this);
    connect(openButton, &QToolButton::clicked, this, &ReportPreview::openReport);
    // First on the tool bar, where a narrow window never hides them.
    if (auto *toolBar = findChild<QToolBar *>()) {
        QAction *first = toolBar->actions().value(0);
        toolBar->insertSeparator(first);
        toolBar->insertWidget(toolBar->actions().value(0), exportButton);
        toolBar->insertWidget(toolBar->actions().value(0), openButton);
        if (choice) {
            m_choiceButton = textButton(choice->caption.text(m_files.language), choice->objectName, this);
            m_choiceButton->setCheckable(true);
            connect(m_choiceButton, &QToolButton::toggled, this, [this](bool checked) {
                m_chosen = checked;
                m_pages->updatePreview();
            });
            toolBar->insertWidget(first, m_choiceButton);
            toolBar->insertSeparator(first);
        }
    }
}

void ReportPreview::exportReport(const ReportFileFormat &file)
{
    const QString extension = QString::fromLatin1(file.extension);
    const SaveDialogRequest request{
        SaveDialogTitle.text(m_files.language),
        initialFolder(m_files.settings, m_files.programFolder) + ReportFileName + extension,
        QString::fromLatin1(file.filter),
        [extension](const QString &name) { return withExtension(name, extension); }};
    const PreparedReport report = m_prepare(currentPage(), m_chosen);
    if (!reportFitsFormat(report, file.format)) {
        m_files.prompts.showMessage(
            {ApplicationTitle.text(m_files.language),
             preparedReportFailure(PreparedReportStatus::Damaged, m_openedFile, m_files.language),
             PromptIcon::Warning});
        return;
    }
    // A failure has been reported by the dialog loop; the preview stays open either way.
    saveThroughDialog(m_files, request, [&](const QString &) { return reportFileBytes(report, file.format); });
}

void ReportPreview::openReport()
{
    const Language language = m_files.language;
    const std::optional<QString> name = m_files.prompts.askOpenFileName(
        {OpenDialogTitle.text(language),
         initialFolder(m_files.settings, m_files.programFolder) + ReportFileName + PreparedReportExtension,
         QString::fromLatin1(PreparedReportFilter)});
    if (!name)
        return;
    rememberFolder(m_files.settings, *name);
    const PreparedReportFile file = readPreparedReportFile(*name);
    if (file.status != PreparedReportStatus::Read) {
        m_files.prompts.showMessage({ApplicationTitle.text(language),
                                     preparedReportFailure(file.status, *name, language), PromptIcon::Warning});
        return;
    }
    // The saved pages stay as they are; the printer takes their paper.
    m_prepare = [report = file.report](const PageSetup &, bool) { return report; };
    m_openedFile = *name;
    if (m_choiceButton)
        m_choiceButton->setEnabled(false); // the saved pages hold what they hold
    setPage(file.report.page);
    setWindowTitle(PreviewTitle.text(language) + QStringLiteral(" - ") + fileNamePart(*name));
    m_pages->updatePreview();
}

void ReportPreview::paintPages(QPrinter *target)
{
    m_shown = m_prepare(currentPage(), m_chosen);
    m_search.findAgain(m_shown);
    m_findBar->setStatus(searchStatus(m_search, m_files.language));
    QList<ReportMark> marks;
    if (paintsPreview(*target)) {
        for (qsizetype hit = 0; hit < m_search.hits().size(); ++hit)
            marks.append({m_search.hits()[hit].page, m_search.hits()[hit].box,
                          hit == m_search.current() ? CurrentHitColor : HitColor});
    }
    paintReport(m_shown, *target, marks);
}

void ReportPreview::showSearch()
{
    m_pages->updatePreview();
    if (m_search.current() >= 0)
        m_pages->setCurrentPage(int(m_search.hits()[m_search.current()].page) + 1);
}

} // namespace kvt
