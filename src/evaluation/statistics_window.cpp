#include "statistics_window.h"

#include "chart/trend_chart.h"
#include "files/file_texts.h"
#include "files/last_folder.h"
#include "group_trend.h"
#include "mainwindow/clipboard_texts.h"
#include "mainwindow/name_column_width.h"
#include "mainwindow/text_grid_model.h"
#include "mainwindow/text_grid_view.h"
#include "statistics_table.h"
#include "support/csv_text.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace kvt {
namespace {

const TextPair WindowTitle{u"Статистика", u"Statistics"};
const TextPair CopyCaption{u"Копировать", u"Copy"};
const TextPair SaveCaption{u"Сохранить как CSV...", u"Save as CSV..."};
const TextPair CloseCaption{u"Закрыть", u"Close"};
const QString CsvFileName = QStringLiteral("Statistics.csv");

QPushButton *button(const char *name, QWidget *parent)
{
    auto *pushButton = new QPushButton(parent);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

// A button's own shortcut would give way to the mnemonic of its next caption;
// the window's action keeps it whatever the language.
void addShortcut(QWidget *window, const QKeySequence &keys, QPushButton *target)
{
    auto *action = new QAction(window);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, target, &QPushButton::click);
    window->addAction(action);
}

} // namespace

StatisticsWindow::StatisticsWindow(const FileCommandContext &files, QWidget *parent)
    : QWidget(parent, Qt::Window), m_files(files)
{
    setObjectName(QStringLiteral("StatisticsWindow"));
    resize(900, 600);
    // The header is the view's own; no label rows or columns.
    m_model = new TextGridModel(StatisticsColumns, 2, 0, 1, this);
    m_table = makeTextGrid("StatisticsGrid", m_model, QAbstractItemView::SelectRows, this);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded); // 21 columns never fit
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { drawTrend(); });

    m_chart = new TrendChart(this);
    connect(m_chart, &TrendChart::seriesClicked, this, &StatisticsWindow::seriesChosen);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("StatisticsSplitter"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_table);
    splitter->addWidget(m_chart);
    // A store has a few groups and many series: the chart gets the larger part.
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);

    QPushButton *copy = button("CopyButton", this);
    QPushButton *save = button("SaveButton", this);
    QPushButton *close = button("CloseButton", this);
    addShortcut(this, QKeySequence::Copy, copy);
    addShortcut(this, QKeySequence(Qt::Key_Escape), close);
    // The table view takes Ctrl+C for its current cell alone.
    m_table->installEventFilter(this);
    connect(copy, &QPushButton::clicked, this, &StatisticsWindow::copyTable);
    connect(save, &QPushButton::clicked, this, &StatisticsWindow::saveAsCsv);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);
}

const QList<QStringList> &StatisticsWindow::grid() const
{
    return m_model->cells();
}

void StatisticsWindow::setTexts()
{
    const Language language = m_files.language;
    setWindowTitle(WindowTitle.text(language));
    findChild<QPushButton *>(QStringLiteral("CopyButton"))->setText(CopyCaption.text(language));
    findChild<QPushButton *>(QStringLiteral("SaveButton"))->setText(SaveCaption.text(language));
    findChild<QPushButton *>(QStringLiteral("CloseButton"))->setText(CloseCaption.text(language));
}

void StatisticsWindow::showStatistics(std::vector<SeriesValues> series, const QList<RequirementRule> &rules,
                                      Language language)
{
    m_files.language = language;
    setTexts();
    // The chosen group is known by its names: the groups above it can come
    // and go, and their first series can change places. A chosen group that
    // is gone leaves its row to the next one.
    const QModelIndex current = m_table->currentIndex();
    int chosen = current.isValid() ? current.row() : 0;
    const std::optional<GroupStatistics> chosenGroup =
        current.isValid() && chosen < m_groups.size() ? std::optional(m_groups[chosen]) : std::nullopt;
    m_series = std::move(series);
    m_groups = groupStatistics(m_series, rules);
    if (chosenGroup) {
        const auto same = [&chosenGroup](const GroupStatistics &group) {
            return inGroup(group, chosenGroup->object, chosenGroup->material);
        };
        if (const auto found = std::find_if(m_groups.cbegin(), m_groups.cend(), same); found != m_groups.cend())
            chosen = int(found - m_groups.cbegin());
    }
    // The refill leaves no current row: choosing one always draws the trend.
    m_model->setCells(statisticsGrid(m_groups, language));
    markVerdicts();
    showNamesWhole();
    if (m_groups.isEmpty())
        drawTrend();
    else
        m_table->setCurrentIndex(m_model->index(std::min(chosen, int(m_groups.size()) - 1), 0));
}

void StatisticsWindow::showNamesWhole()
{
    // The object and material are what a row is read by; a column the user
    // made wider stays so.
    for (const int column : {0, 1})
        m_table->setColumnWidth(column, std::max(m_table->columnWidth(column), nameColumnWidth(m_table->fontMetrics())));
}

void StatisticsWindow::markVerdicts()
{
    // "Does not meet" says why where the table cannot show it, such as a CV
    // that one series cannot have.
    QHash<QPoint, TextGridModel::CellMark> marks;
    for (int group = 0; group < m_groups.size(); ++group) {
        const QString reason = verdictReasonText(m_groups[group], m_files.language);
        if (!reason.isEmpty())
            marks.insert(QPoint(StatisticsColumns - 1, 1 + group), {Qt::red, reason});
    }
    m_model->setCellMarks(std::move(marks));
}

void StatisticsWindow::drawTrend()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid() || current.row() >= m_groups.size()) {
        m_chart->DrawTrend(groupTrend({}, {}, m_files.language));
        return;
    }
    m_chart->DrawTrend(groupTrend(m_series, m_groups[current.row()], m_files.language));
}

void StatisticsWindow::copyTable()
{
    QGuiApplication::clipboard()->setText(tableText(grid()));
}

void StatisticsWindow::saveAsCsv()
{
    const SaveDialogRequest request{SaveDialogTitle.text(m_files.language),
                                    initialFolder(m_files.settings, m_files.programFolder) + CsvFileName,
                                    CsvFilter,
                                    [](const QString &name) { return withExtension(name, CsvExtension); }};
    const QByteArray bytes = csvBytes(grid());
    // A failure has been reported by the dialog loop; the window stays open either way.
    saveThroughDialog(m_files, request, [&bytes](const QString &) { return bytes; });
}

bool StatisticsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        copyTable();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kvt
