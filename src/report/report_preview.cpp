#include "report_preview.h"

#include "files/file_texts.h"
#include "files/last_folder.h"
#include "report_painter.h"

#include <QMenu>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>

namespace kvt {
namespace {

const TextPair PreviewTitle{u"Просмотр отчёта", u"Report preview"};
const TextPair ExportCaption{u"Экспорт", u"Export"};
// By ReportFileFormats.
const TextPair ExportItems[] = {
    {u"Документ PDF...", u"PDF document..."},
    {u"Веб-страница HTML...", u"HTML web page..."},
    {u"Текст OpenDocument (ODT)...", u"OpenDocument text (ODT)..."},
    {u"Документ RTF...", u"RTF document..."},
    {u"Простой текст...", u"Plain text..."},
    {u"CSV для электронных таблиц...", u"CSV for spreadsheets..."},
};
static_assert(std::size(ExportItems) == std::size(ReportFileFormats));

const QString ReportFileName = QStringLiteral("Report");

} // namespace

ReportPreview::ReportPreview(Prepare prepare, const PageSetup &page, const FileCommandContext &files,
                             QWidget *parent)
    : QPrintPreviewDialog(parent), m_prepare(std::move(prepare)), m_files(files)
{
    setWindowTitle(PreviewTitle.text(m_files.language));
    // Full-page mode, set last: the report places its texts from the paper's
    // corner and keeps the page set-up's margins as its own.
    printer()->setPageLayout(QPageLayout(QPageSize(page.paper, QPageSize::Millimeter), QPageLayout::Portrait,
                                         page.margins, QPageLayout::Millimeter));
    printer()->setFullPage(true);
    connect(this, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter *target) { paintReport(m_prepare(currentPage()), *target); });
    addExportButton();
}

PageSetup ReportPreview::currentPage()
{
    const QPageLayout layout = printer()->pageLayout();
    return {layout.fullRect(QPageLayout::Millimeter).size(), layout.margins(QPageLayout::Millimeter)};
}

void ReportPreview::addExportButton()
{
    auto *menu = new QMenu(this);
    for (size_t i = 0; i < std::size(ReportFileFormats); ++i) {
        const ReportFileFormat &file = ReportFileFormats[i];
        QAction *item = menu->addAction(ExportItems[i].text(m_files.language));
        item->setObjectName(QStringLiteral("AExport_") + QString::fromLatin1(file.extension + 1));
        connect(item, &QAction::triggered, this, [this, &file] { exportReport(file); });
    }
    auto *button = new QToolButton(this);
    button->setObjectName(QStringLiteral("ExportButton"));
    button->setText(ExportCaption.text(m_files.language));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setMenu(menu);
    // First on the tool bar, where a narrow window never hides it.
    if (auto *toolBar = findChild<QToolBar *>()) {
        QAction *first = toolBar->actions().value(0);
        toolBar->insertSeparator(first);
        toolBar->insertWidget(toolBar->actions().value(0), button);
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
    const PreparedReport report = m_prepare(currentPage());
    // A failure has been reported by the dialog loop; the preview stays open either way.
    saveThroughDialog(m_files, request, [&](const QString &) { return reportFileBytes(report, file.format); });
}

} // namespace kvt
