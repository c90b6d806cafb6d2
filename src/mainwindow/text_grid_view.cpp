#include "text_grid_view.h"

#include "text_grid_model.h"
#include "window_layout.h"

#include <QHelpEvent>
#include <QHeaderView>
#include <QToolTip>

namespace kvt {
namespace {

class ClippingHeader final : public QHeaderView {
public:
    explicit ClippingHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    bool viewportEvent(QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QHeaderView::viewportEvent(event);
        const auto *help = static_cast<QHelpEvent *>(event);
        const int section = logicalIndexAt(help->pos());
        const QString text = section < 0 ? QString() : model()->headerData(section, orientation()).toString();
        // The header's own padding on both sides of the text.
        const int room = sectionSize(section) - 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > room)
            QToolTip::showText(help->globalPos(), text, this);
        else
            QToolTip::hideText();
        return true;
    }
};

} // namespace

QTableView *makeTextGrid(const char *name, TextGridModel *model, QAbstractItemView::SelectionBehavior behavior,
                         QWidget *parent)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeader(new ClippingHeader(grid));
    grid->setModel(model);
    grid->setMinimumWidth(100);
    grid->setSelectionBehavior(behavior);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(layout::DefaultRowHeight);
    grid->verticalHeader()->setMinimumSectionSize(layout::DefaultRowHeight);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->horizontalHeader()->setTextElideMode(Qt::ElideNone);
    // Left-aligned like the cells, so a cut header keeps its beginning.
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    grid->setPalette(palette);
    return grid;
}

} // namespace kvt
