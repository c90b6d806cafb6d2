#include "formmain.h"

#include "chart/signal_chart.h"
#include "device/execute_thread_host.h"
#include "device/lm_thread.h"
#include "device/screenshots.h"
#include "dialog_font.h"
#include "link_indicator.h"
#include "namelists/name_list_editor.h"
#include "text_grid_model.h"
#include "text_grid_view.h"
#include "files/file_texts.h"
#include "store/table_texts.h"
#include "support/common_texts.h"
#include "window_layout.h"

#include <cstdlib>
#include <functional>

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QWindow>

namespace kvt {
namespace {

constexpr int ExitWaitMs = 3000;

// A panel that reports its resizes, so that the layout pass can place the
// impact table, the check boxes and the chart inside it.
class PanelRight : public QWidget {
public:
    PanelRight(std::function<void()> resized, QWidget *parent) : QWidget(parent), m_resized(std::move(resized)) {}

protected:
    void resizeEvent(QResizeEvent *) override { m_resized(); }

private:
    std::function<void()> m_resized;
};

} // namespace

TForm1::TForm1(MeasurementStore &store, SettingsFile &settings, UserPrompts &prompts, QString programFolder,
               bool startDeviceWorker, QWidget *parent)
    : QMainWindow(parent), m_store(store), m_settings(settings), m_prompts(prompts),
      m_programFolder(std::move(programFolder)), m_worker(m_link, *this), m_startDeviceWorker(startDeviceWorker)
{
    setObjectName(QStringLiteral("Form1"));
    // The form's 8-point font, which the status panels' widths are made for.
    setFont(smallDialogFont());
    setMinimumSize(394, 320);
    setAcceptDrops(true);
    createComponents();
    createStatusBar();
    createActions();
    createContextMenus();

    LMThreadUSB = new TLMThread(this);
    LMThreadUSB->setObjectName(QStringLiteral("LMThreadUSB"));
    LMThreadUSB->OnExecute = [this](TLMThreadBase *, TLMExecuteThread *thread, void *&) {
        ExecuteThreadHost host(*thread);
        m_worker.LMThreadUSBExecute(host);
    };
    FormCreate();
}

TForm1::~TForm1()
{
    // The worker uses this window's effects to the end: it stops first. The
    // editors and viewers use the window's link and flags: they go before them.
    LMThreadUSB->StopAndWait(-1);
    qDeleteAll(findChildren<NameListEditor *>(Qt::FindDirectChildrenOnly));
    qDeleteAll(findChildren<TfrmScreenshot *>(Qt::FindDirectChildrenOnly));
    // Table 2 goes with the widgets, after this window's own part.
    m_grid2->horizontalScrollBar()->disconnect(this);
}

void TForm1::createComponents()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setHandleWidth(layout::SplitterWidth);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setOpaqueResize(true);
    setCentralWidget(m_splitter);

    // At start, before any data: Table 1 shows its header rows and one empty
    // row, Table 2 its label column and three empty impact columns.
    m_table1 = new TextGridModel(SeriesTableColumns, SeriesTableHeaderRows + 1, 0, SeriesTableHeaderRows, this);
    m_grid1 = makeTextGrid("StringGrid1", m_table1, QAbstractItemView::SelectRows, m_splitter);
    m_splitter->addWidget(m_grid1);

    m_panelRight = new PanelRight([this] { layOutRightPanel(); }, m_splitter);
    m_panelRight->setObjectName(QStringLiteral("PanelRight"));
    m_panelRight->setMinimumWidth(40);
    m_splitter->addWidget(m_panelRight);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this](int position) { Splitter1CanResize(position); });

    m_table2 = new TextGridModel(4, ImpactTableRows, 1, 1, this);
    m_grid2 = makeTextGrid("StringGrid2", m_table2, QAbstractItemView::SelectItems, m_panelRight);
    // A long series' impacts may not fit even at the layout's widths: they scroll.
    m_grid2->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const struct {
        const char *name;
        const char *text;
        Qt::GlobalColor color;
    } boxes[4] = {{"CheckBoxAccel", "a(t)", Qt::black},
                  {"CheckBoxVelocity", "v(t)", Qt::darkGreen},
                  {"CheckBoxDisplacement", "s(t)", Qt::red},
                  {"CheckBoxForce", "F(t)", Qt::darkBlue}};
    for (int i = 0; i < 4; ++i) {
        auto *box = new QCheckBox(QString::fromLatin1(boxes[i].text), m_panelRight);
        box->setObjectName(QString::fromLatin1(boxes[i].name));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, boxes[i].color);
        box->setPalette(palette);
        box->setFixedSize(qMax(41, box->sizeHint().width()), qMax(17, box->sizeHint().height()));
        m_checkBoxes[i] = box;
    }

    for (QCheckBox *box : m_checkBoxes)
        connect(box, &QCheckBox::clicked, this, &TForm1::CheckBoxAccelClick);

    m_chart = new SignalChart(m_panelRight);
    connect(m_grid2->horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { placeUnderImpactTable(); });

    connect(m_grid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { StringGrid1Click(); });
    // A click on the row that is already current changes no row, yet it
    // shows that series afresh: its first impact, nothing chosen in Table 2.
    // A right press only opens the context menu.
    connect(m_grid1, &QTableView::pressed, this, [this](const QModelIndex &index) {
        if (index.row() + 1 == m_rowBeforePress && (QGuiApplication::mouseButtons() & Qt::LeftButton))
            StringGrid1Click();
    });
    connect(m_grid2->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { StringGrid2Click(); });

    // Ctrl+C in either table copies it, or its selected block.
    m_grid1->installEventFilter(this);
    m_grid1->viewport()->installEventFilter(this);
    m_grid2->installEventFilter(this);
}

void TForm1::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(qMax(20, bar->sizeHint().height()));
    const int widths[4] = {100, 140, 20, 50};
    for (int i = 0; i < 4; ++i) {
        m_statusPanels[i] = new QLabel(bar);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i > 0)
            m_statusPanels[i]->setFixedWidth(widths[i]);
        bar->addPermanentWidget(m_statusPanels[i], i == 0 ? 1 : 0);
    }

    // The progress bar lies over panel 1, the link indicator in panel 2.
    m_progressBar = new QProgressBar(m_statusPanels[1]);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar->setRange(0, 100);
    m_progressBar->setTextVisible(false);
    m_progressBar->setGeometry(3, 4, 136, 11);
    m_progressBar->hide();
    m_shapeLink = new LinkIndicator(m_statusPanels[2]);
    m_shapeLink->move(6, 1);
    m_statusPanels[1]->setText(QString::fromUtf16(TryingToConnect));
}

void TForm1::FormCreate()
{
    const StartupSettings startup =
        readStartupSettings(m_settings, QGuiApplication::primaryScreen()->availableGeometry());

    if (!startup.langId)
        (m_prompts.askLanguage().value_or(Language::Russian) == Language::English ? ALangEngExecute()
                                                                                 : ALangRusExecute());
    else if (*startup.langId == u"Rus")
        ALangRusExecute();
    else
        ALangEngExecute();
    // Told once the language is known; the defaults serve meanwhile, and the
    // file is left as it is.
    if (startup.refusal)
        m_prompts.showMessage({ApplicationTitle.text(m_language),
                               unreadSettingsText(startup.refusal->status).text(m_language)
                                   + QDir::toNativeSeparators(startup.refusal->path),
                               PromptIcon::Warning});

    const WindowPlacement &window = startup.placement;
    // The settings give the outer bounds; the frame is added once the window
    // system has framed the window (fitOuterBounds).
    m_outerBounds = window;
    resize(window.width, window.height);
    move(window.left, window.top);
    if (window.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_table1Share = window.table1Share;

    m_modes = startup.modes;
    if (!m_modes.fullView)
        setUpStandardView();
    m_checkBoxes[0]->setChecked(startup.checks.accel);
    m_checkBoxes[1]->setChecked(startup.checks.velocity);
    m_checkBoxes[2]->setChecked(startup.checks.displacement);
    m_checkBoxes[3]->setChecked(startup.checks.force);

    countStart(m_settings);
    FormResize();
    // Numbers are always written with a decimal comma (support/number_format).
    MenuFill();
    AStringGridSelectCancelExecute(m_grid2);
    if (m_startDeviceWorker)
        LMThreadUSB->Start();
}

void TForm1::setUpStandardView()
{
    // The calibration copies and the a(t), v(t) exports belong to the full view.
    for (const char *name : {"itmCopyCalibrDataF", "itmCopyCalibrDataS", "ACopyAtoWav", "ACopyVtoWav", "ACopyAtoCsv",
                             "ACopyVtoCsv"})
        action(name)->setVisible(false);
    // The a(t) and v(t) boxes go, and with width 0 the layout closes their gap.
    for (QCheckBox *box : {m_checkBoxes[0], m_checkBoxes[1]}) {
        box->setChecked(false);
        box->hide();
        box->setFixedWidth(0);
    }
}

void TForm1::showAsStarted()
{
    if (windowState() & Qt::WindowMaximized)
        showMaximized();
    else
        show();
}

bool TForm1::event(QEvent *event)
{
    const bool result = QMainWindow::event(event);
    if (m_outerBounds && (event->type() == QEvent::Show || event->type() == QEvent::Move ||
                          event->type() == QEvent::Resize))
        fitOuterBounds();
    return result;
}

void TForm1::fitOuterBounds()
{
    // A window started maximised gets its restored bounds when it leaves that state.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    if (!isVisible() || isMaximized() || frame.isNull())
        return;
    const WindowPlacement outer = *m_outerBounds;
    m_outerBounds.reset();
    resize(outer.width - frame.left() - frame.right(), outer.height - frame.top() - frame.bottom());
    move(outer.left, outer.top);
}

void TForm1::AStringGridSelectCancelExecute(QTableView *grid)
{
    grid->clearSelection();
    grid->setCurrentIndex(QModelIndex());
}

FileCommandContext TForm1::fileContext()
{
    return {m_prompts, m_settings, m_programFolder, m_language};
}

void TForm1::AOpenExecute(std::optional<QString> fileName)
{
    FileCommandContext files = fileContext();
    const OpenResult result = openMeasurements(m_store, files, std::move(fileName));
    if (!result.loaded)
        return;
    abandonInstrumentRead(m_link); // the file replaces whatever a search would read
    fillSeriesTable();
    showLoadedStatus(result);
}

void TForm1::showLoadedStatus(const OpenResult &result)
{
    m_statusPanels[0]->setText(result.fileStatus);
    m_statusPanels[1]->setText(result.countStatus);
    m_shapeLink->setColor(palette().color(QPalette::Button));
}

void TForm1::ASaveExecute()
{
    FileCommandContext files = fileContext();
    saveMeasurements(m_store, files, QDateTime::currentDateTime());
}

WindowPlacement TForm1::currentPlacement() const
{
    WindowPlacement placement;
    placement.maximized = isMaximized();
    placement.left = pos().x();
    placement.top = pos().y();
    placement.width = frameGeometry().width();
    placement.height = frameGeometry().height();
    placement.table1Share = m_table1Share;
    return placement;
}

CurveChecks TForm1::currentChecks() const
{
    return {m_checkBoxes[0]->isChecked(), m_checkBoxes[1]->isChecked(), m_checkBoxes[2]->isChecked(),
            m_checkBoxes[3]->isChecked()};
}

void TForm1::AExitExecute()
{
    writeExitSettings(m_settings, currentPlacement(), currentChecks());
    // The worker is asked to stop and given a moment; one stuck in a transfer
    // must not keep the program, nor crash it on the way out.
    if (!LMThreadUSB->StopAndWait(ExitWaitMs)) {
        m_hardExit();
        return;
    }
    QCoreApplication::exit(0);
}

void TForm1::closeEvent(QCloseEvent *event)
{
    // The worker is stopped the way Exit stops it: the window keeps serving its
    // effects while it ends, within a bound.
    AExitExecute();
    event->accept();
}

} // namespace kvt
