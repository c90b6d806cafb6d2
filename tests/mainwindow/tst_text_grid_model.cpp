#include "mainwindow/text_grid_model.h"
#include "mainwindow/text_grid_view.h"

#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QImage>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

using namespace kvt;

using Marks = QHash<QPoint, TextGridModel::CellMark>;
Q_DECLARE_METATYPE(Marks)

namespace {

// A grid like Table 1: one label column, a header row and a units row.
std::unique_ptr<TextGridModel> grid()
{
    auto model = std::make_unique<TextGridModel>(3, 5, 1, 2);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column)
            model->setCell(column, row, QStringLiteral("%1/%2").arg(column).arg(row));
    return model;
}

QString tip(const TextGridModel &model, int column, int row)
{
    return model.index(row - 1, column).data(Qt::ToolTipRole).toString();
}

QColor color(const TextGridModel &model, int column, int row)
{
    const QVariant brush = model.index(row - 1, column).data(Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

} // namespace

// The marks the window gives cells of its grids: a colour and a tooltip,
// the text untouched.
class TestTextGridModel : public QObject {
    Q_OBJECT
private slots:
    void marks_data();
    void marks();
    void refillDropsMarks_data();
    void refillDropsMarks();
    void markReadsWhenSelected_data();
    void markReadsWhenSelected();
};

void TestTextGridModel::marks_data()
{
    QTest::addColumn<Marks>("marks");
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QColor>("color"); // invalid: the view's own
    QTest::addColumn<QString>("toolTip");

    const Marks marks{{QPoint(2, 3), {Qt::red, "below 85"}}, {QPoint(1, 4), {Qt::blue, "other"}}};
    QTest::newRow("a marked cell") << marks << QPoint(2, 3) << QColor(Qt::red) << "below 85";
    QTest::newRow("each mark its own") << marks << QPoint(1, 4) << QColor(Qt::blue) << "other";
    QTest::newRow("its neighbour in the row") << marks << QPoint(1, 3) << QColor() << "";
    QTest::newRow("same column, other row") << marks << QPoint(2, 4) << QColor() << "";
    QTest::newRow("no marks") << Marks{} << QPoint(2, 3) << QColor() << "";
}

void TestTextGridModel::marks()
{
    QFETCH(Marks, marks);
    QFETCH(QPoint, cell);
    QFETCH(QColor, color);
    QFETCH(QString, toolTip);

    auto model = grid();
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    model->setCellMarks(marks);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(::color(*model, cell.x(), cell.y()), color);
    QCOMPARE(tip(*model, cell.x(), cell.y()), toolTip);
    QCOMPARE(model->cell(cell.x(), cell.y()), QStringLiteral("%1/%2").arg(cell.x()).arg(cell.y()));
}

void TestTextGridModel::refillDropsMarks_data()
{
    QTest::addColumn<QString>("refill");

    QTest::newRow("all cells at once") << "cells";
    QTest::newRow("a new size") << "size";
}

// Marks belong to the cells they were given for: new cells come unmarked, even
// where a row of the same place comes back.
void TestTextGridModel::refillDropsMarks()
{
    QFETCH(QString, refill);

    auto model = grid();
    model->setCellMarks({{QPoint(2, 3), {Qt::red, "below 85"}}});
    if (refill == "cells")
        model->setCells(QList<QStringList>(5, QStringList(3, "x")));
    else
        model->setGridSize(4, 6);
    QCOMPARE(color(*model, 2, 3), QColor());
    QCOMPARE(tip(*model, 2, 3), QString());
}

void TestTextGridModel::markReadsWhenSelected_data()
{
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("red"); // red text is drawn in the cell

    QTest::newRow("marked") << true << false << true;
    QTest::newRow("marked and selected") << true << true << true;
    QTest::newRow("selected, unmarked") << false << true << false;
}

// The mark of a cell in a selected row stays to be seen, as the grid draws it.
void TestTextGridModel::markReadsWhenSelected()
{
    QFETCH(bool, marked);
    QFETCH(bool, selected);
    QFETCH(bool, red);

    auto model = grid();
    model->setCell(2, 3, "MMMMMMMM");
    if (marked)
        model->setCellMarks({{QPoint(2, 3), {QColor(255, 0, 0), "below 85"}}});
    std::unique_ptr<QTableView> view(makeTextGrid("Grid", model.get(), QAbstractItemView::SelectRows, nullptr));
    view->resize(400, 200);
    view->horizontalHeader()->resizeSection(2, 150);
    if (selected)
        view->selectionModel()->select(model->index(2, 1),
                                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const QRect cell = view->visualRect(model->index(2, 2));
    const QImage image = view->viewport()->grab().toImage();
    int redPixels = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) {
            const QColor pixel = image.pixelColor(x * image.width() / view->viewport()->width(),
                                                  y * image.height() / view->viewport()->height());
            redPixels += pixel.red() - qMax(pixel.green(), pixel.blue()) > 80;
        }
    QCOMPARE(redPixels > 10, red);
}

QTEST_MAIN(TestTextGridModel)
#include "tst_text_grid_model.moc"
