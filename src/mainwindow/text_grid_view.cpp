#include "text_grid_view.h"

#include "text_grid_model.h"
#include "window_layout.h"

#include <QAbstractButton>
#include <QHelpEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace kvt {
namespace {

class ClippingHeader final : public QHeaderView {
public:
    ClippingHeader(Qt::Orientation orientation, QWidget *parent) : QHeaderView(orientation, parent) {}

protected:
    bool viewportEvent(QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QHeaderView::viewportEvent(event);
        const auto *help = static_cast<QHelpEvent *>(event);
        const int section = logicalIndexAt(help->pos());
        const QString text = section < 0 ? QString() : model()->headerData(section, orientation()).toString();
        // The header's own padding on both sides of the text.
        const int extent = orientation() == Qt::Horizontal ? sectionSize(section) : width();
        const int room = extent - 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        if (!text.isEmpty() && fontMetrics().size(0, text).width() > room)
            QToolTip::showText(help->globalPos(), text, this);
        else
            QToolTip::hideText();
        return true;
    }
};

// A marked cell keeps its mark's colour when it is highlighted, on a paler
// highlight so that the mark still reads: a selected series below its rule
// must not look like one that meets it.
class MarkKeepingDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant mark = index.data(Qt::ForegroundRole);
        if (!(option->state & QStyle::State_Selected) || !mark.canConvert<QBrush>())
            return;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            const QColor highlight = option->palette.color(group, QPalette::Highlight);
            const QColor base = option->palette.color(group, QPalette::Base);
            const auto pale = [](int h, int b) { return (h * 2 + b * 3) / 5; };
            option->palette.setColor(group, QPalette::Highlight,
                                     QColor(pale(highlight.red(), base.red()), pale(highlight.green(), base.green()),
                                            pale(highlight.blue(), base.blue())));
            option->palette.setColor(group, QPalette::HighlightedText, mark.value<QBrush>().color());
        }
    }
};

// The corner above the fixed columns holds the header row's text of the
// first fixed column, drawn as a header section (Qt's corner button has no text).
class CornerText final : public QObject {
public:
    CornerText(QTableView *grid, QAbstractButton *corner) : QObject(corner), m_grid(grid), m_corner(corner)
    {
        corner->installEventFilter(this);
        connect(grid->model(), &QAbstractItemModel::headerDataChanged, this, &CornerText::follow);
        connect(grid->model(), &QAbstractItemModel::modelReset, this, &CornerText::follow);
        follow();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        // Drawn as the header beside it: the corner button itself is disabled,
        // so that a click on it selects nothing.
        QStyleOptionHeader option;
        option.initFrom(m_grid->horizontalHeader());
        option.rect = m_corner->rect();
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.text = text();
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        QPainter painter(m_corner);
        painter.setFont(m_grid->horizontalHeader()->font());
        option.fontMetrics = painter.fontMetrics();
        m_corner->style()->drawControl(QStyle::CE_Header, &option, &painter, m_corner);
        return true;
    }

private:
    QString text() const { return m_grid->model()->headerData(0, Qt::Horizontal).toString(); }
    void follow()
    {
        m_corner->setAccessibleName(text());
        m_corner->update();
    }

    QTableView *m_grid;
    QAbstractButton *m_corner;
};

// The fixed rows below the header row and the fixed columns are shown in the
// headers instead of among the cells, so they never scroll away.
void hideFixedCells(QTableView *grid, const TextGridModel *model)
{
    for (int row = 0; row + 1 < model->fixedRows(); ++row)
        grid->setRowHidden(row, true);
    for (int column = 0; column < model->fixedColumns(); ++column)
        grid->setColumnHidden(column, true);
}

} // namespace

QTableView *makeTextGrid(const char *name, TextGridModel *model, QAbstractItemView::SelectionBehavior behavior,
                         QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeader(new ClippingHeader(Qt::Horizontal, grid));
    grid->setVerticalHeader(new ClippingHeader(Qt::Vertical, grid));
    grid->setModel(model);
    grid->setItemDelegate(new MarkKeepingDelegate(grid));
    grid->setMinimumWidth(100);
    grid->setSelectionBehavior(behavior);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Tab goes on to the window's next control; the arrows move inside the grid.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setDefaultSectionSize(layout::DefaultRowHeight);
    grid->verticalHeader()->setMinimumSectionSize(layout::DefaultRowHeight);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionsClickable(false);
    grid->verticalHeader()->setVisible(model->fixedColumns() > 0);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // The layout pass decides the widths; a style's minimum must not widen
    // them past the table's edge.
    grid->horizontalHeader()->setMinimumSectionSize(layout::MinimumColumnWidth);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    for (QHeaderView *header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        header->setTextElideMode(Qt::ElideNone);
        // Left-aligned like the cells, so a cut header keeps its beginning.
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->verticalHeader()->setFont(font);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    grid->setPalette(palette);

    hideFixedCells(grid, model);
    // A refill resets the headers, and with them what they hid.
    QObject::connect(model, &QAbstractItemModel::modelReset, grid, [grid, model] { hideFixedCells(grid, model); });
    if (model->fixedColumns() > 0) {
        grid->setCornerButtonEnabled(false);
        if (auto *corner = grid->findChild<QAbstractButton *>())
            new CornerText(grid, corner);
    }
    return grid;
}

} // namespace kvt
