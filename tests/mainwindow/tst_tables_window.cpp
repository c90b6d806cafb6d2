#include "chart/signal_chart.h"
#include "mainwindow/formmain.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <array>
#include <memory>

using namespace kvt;

using Numbers = QList<int>;
using Click = QPair<int, int>; // a row of Table 1 and the keyboard modifiers
Q_DECLARE_METATYPE(QList<Click>)

// The main window's tables, chart and copies over a small store: series of
// 2, 5 and 3 impacts unless a test says otherwise.
class TestTablesWindow : public QObject {
    Q_OBJECT
private slots:
    void init();

    void fillShowsFirstSeries();
    void choosingASeries();
    void choosingAnImpact();
    void deleteImpacts_data();
    void deleteImpacts();
    void deleteSeries_data();
    void deleteSeries();
    void deletingEverythingLeavesEmptyState();
    void deletionsNeedData();
    void ctrlC_data();
    void ctrlC();
    void mouseSelections_data();
    void mouseSelections();
    void clickOnTheCurrentRowShowsItAfresh();
    void unitsRowNeverCurrent_data();
    void unitsRowNeverCurrent();
    void unitsRowStaysInSight();
    void tabMovesBetweenControls_data();
    void tabMovesBetweenControls();
    void longSeriesAtFirstStartSize_data();
    void longSeriesAtFirstStartSize();
    void overflowingImpactsScroll();
    void menuKeyOpensContextMenus_data();
    void menuKeyOpensContextMenus();
    void emptyFillKeepsTheShownImpact();
    void narrowWindowClipsTexts();
    void copiesOfAnEmptyStore();
    void chartDataCopy();
    void calibrationCopiesOnlyInFullView_data();
    void calibrationCopiesOnlyInFullView();
    void exportMenus_data();
    void exportMenus();
    void chartRightClick_data();
    void chartRightClick();
    void chartZoomRectangle_data();
    void chartZoomRectangle();
    void chartClickTolerance_data();
    void chartClickTolerance();
    void chartGrids_data();
    void chartGrids();
    void chartFrameAndMargins_data();
    void chartFrameAndMargins();
    void languageChangeRedrawsChart_data();
    void languageChangeRedrawsChart();

private:
    void makeWindow(const std::vector<quint32> &lengths, const QByteArray &config = {});
    QTableView *grid(int table) const;
    QString cell(int table, int column, int row) const;
    int columnCount(int table) const;
    int rowCount(int table) const;
    void selectCells(int table, int firstColumn, int firstRow, int lastColumn, int lastRow);
    void clickRow(int row, Qt::KeyboardModifiers modifiers = {});
    QList<int> highlightedRows() const;
    bool unitsInSight() const;
    bool labelsInSight() const;
    Numbers seriesSizes() const;
    QString clipboardText() const { return QGuiApplication::clipboard()->text(); }
    SignalChart *laidOutChart() const;
    static QPoint inPlot(const SignalChart *chart, QPointF fraction);
    static void drag(SignalChart *chart, Qt::MouseButton button, QPoint from, QPoint to);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
};

void TestTablesWindow::init()
{
    window.reset();
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
    QGuiApplication::clipboard()->clear();
    // A connection Qt cannot make leaves a chart command silent (the zoom
    // rectangle's, on a build that took the chart library's signals wrongly).
    QTest::failOnWarning(QRegularExpression("signal not found"));
}

void TestTablesWindow::makeWindow(const std::vector<quint32> &lengths, const QByteArray &config)
{
    QFile ini(settings->path());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Config]\nLangId=Eng\n" + config);
    ini.close();
    testing::fillStoreWithSeries(*store, lengths);
    window = std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
    window->resize(900, 600);
    window->show();
    if (!lengths.empty()) // as after opening a file; an empty store stays as at start
        window->fillSeriesTable();
}

QTableView *TestTablesWindow::grid(int table) const
{
    return window->findChild<QTableView *>(table == 1 ? "StringGrid1" : "StringGrid2");
}

// Cells in grid coordinates: row 0 is the first line of the header the view
// shows above its rows.
QString TestTablesWindow::cell(int table, int column, int row) const
{
    const QAbstractItemModel *model = grid(table)->model();
    return row == 0 ? model->headerData(column, Qt::Horizontal).toString().section('\n', 0, 0)
                    : model->index(row - 1, column).data().toString();
}

int TestTablesWindow::columnCount(int table) const
{
    return grid(table)->model()->columnCount();
}

int TestTablesWindow::rowCount(int table) const
{
    return grid(table)->model()->rowCount() + 1;
}

void TestTablesWindow::selectCells(int table, int firstColumn, int firstRow, int lastColumn, int lastRow)
{
    QTableView *view = grid(table);
    view->setCurrentIndex(view->model()->index(firstRow - 1, firstColumn));
    view->selectionModel()->select(QItemSelection(view->model()->index(firstRow - 1, firstColumn),
                                                  view->model()->index(lastRow - 1, lastColumn)),
                                   QItemSelectionModel::ClearAndSelect);
}

// A click in column 1 of a Table 1 row, as the user makes it; the two header
// rows are the upper and the lower half of the header.
void TestTablesWindow::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    QTableView *view = grid(1);
    if (row < 2) {
        QHeaderView *header = view->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(1) + header->sectionSize(1) / 2,
                        header->height() * (1 + 2 * row) / 4);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, at);
        return;
    }
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->visualRect(view->model()->index(row - 1, 1)).center());
}

QList<int> TestTablesWindow::highlightedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : grid(1)->selectionModel()->selectedRows())
        rows << index.row() + 1;
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Table 1's units ("d:m:y") are on the screen: in its header, or in a row of
// cells inside the viewport.
bool TestTablesWindow::unitsInSight() const
{
    const QTableView *view = grid(1);
    const QHeaderView *header = view->horizontalHeader();
    if (header->isVisible() && header->model()->headerData(1, Qt::Horizontal).toString().split('\n').contains("d:m:y"))
        return header->height() >= 2 * header->fontMetrics().height();
    const QRect units = view->visualRect(view->model()->index(0, 1));
    return !units.isEmpty() && view->viewport()->rect().contains(units);
}

// Table 2's label column is on the screen whole: as the rows' header, or as
// cells inside the viewport.
bool TestTablesWindow::labelsInSight() const
{
    const QTableView *view = grid(2);
    const QHeaderView *rows = view->verticalHeader();
    if (rows->isVisible() && rows->model()->headerData(0, Qt::Vertical).toString() == "Din.modulus, MPa")
        return rows->width() >= 150 && rows->sectionViewportPosition(5) + rows->sectionSize(5) <= rows->height();
    const QRect label = view->visualRect(view->model()->index(0, 0));
    return !label.isEmpty() && view->viewport()->rect().contains(label);
}

Numbers TestTablesWindow::seriesSizes() const
{
    Numbers sizes;
    for (quint32 k = 0; k < store->seriesCount(); ++k)
        sizes << int(store->seriesSize(k));
    return sizes;
}

// The chart as the user sees it: replotted now, so that pixel positions hold.
SignalChart *TestTablesWindow::laidOutChart() const
{
    auto *chart = window->findChild<SignalChart *>("Chart1");
    chart->replot();
    return chart;
}

// A point of the plot area given as fractions of its width and height from its top left corner.
QPoint TestTablesWindow::inPlot(const SignalChart *chart, QPointF fraction)
{
    const QRect plot = chart->axisRect()->rect();
    return plot.topLeft() + QPoint(qRound(fraction.x() * plot.width()), qRound(fraction.y() * plot.height()));
}

void TestTablesWindow::drag(SignalChart *chart, Qt::MouseButton button, QPoint from, QPoint to)
{
    QTest::mousePress(chart, button, {}, from);
    QTest::mouseMove(chart, to);
    QTest::mouseRelease(chart, button, {}, to);
}

void TestTablesWindow::fillShowsFirstSeries()
{
    makeWindow({2, 5, 3});
    QCOMPARE(rowCount(1), 5);
    QCOMPARE(cell(1, 0, 2), QString("1/2"));
    QCOMPARE(cell(1, 0, 4), QString("3/3"));
    QCOMPARE(grid(1)->currentIndex().row() + 1, 2);
    QCOMPARE(columnCount(2), 3);
    QCOMPARE(cell(2, 0, 0), QString("06.11.2013, 14:07:45"));
    QCOMPARE(store->displayedImpact(), 0);
    QCOMPARE(window->findChild<SignalChart *>("Chart1")->series(CurveDisplacement)->dataCount(), 312);
}

void TestTablesWindow::choosingASeries()
{
    makeWindow({2, 3, 1});
    selectCells(2, 1, 1, 2, 1);
    grid(1)->setCurrentIndex(grid(1)->model()->index(2, 0)); // row 3: the second series
    QCOMPARE(columnCount(2), 4);
    QCOMPARE(cell(2, 1, 0), QString("1-st impact"));
    QCOMPARE(cell(2, 3, 0), QString("3-st impact"));
    QCOMPARE(store->displayedImpact(), 2);
    QVERIFY(grid(2)->selectionModel()->selectedIndexes().isEmpty());
    QVERIFY(!grid(2)->currentIndex().isValid());
}

void TestTablesWindow::choosingAnImpact()
{
    makeWindow({2, 5, 3});
    store->records()[4].setByteAt(ImpactRecord::TimeSec, 59);
    grid(1)->setCurrentIndex(grid(1)->model()->index(2, 0)); // the 5-impact series, from position 2
    grid(2)->setCurrentIndex(grid(2)->model()->index(0, 3)); // its third impact
    QCOMPARE(store->displayedImpact(), 4);
    QCOMPARE(cell(2, 0, 0), QString("06.11.2013, 14:07:59"));
    QVERIFY(store->currentRecord().bytes == store->record(4).bytes);
}

void TestTablesWindow::deleteImpacts_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right");
    QTest::addColumn<Numbers>("sizes");
    QTest::addColumn<QString>("seriesCell");

    QTest::newRow("columns 2 and 3 of 5") << 2 << 3 << Numbers{2, 3, 3} << "2/3";
    QTest::newRow("every column removes the series") << 1 << 5 << Numbers{2, 3} << "3/3";
}

void TestTablesWindow::deleteImpacts()
{
    QFETCH(int, left);
    QFETCH(int, right);
    QFETCH(Numbers, sizes);
    QFETCH(QString, seriesCell);

    makeWindow({2, 5, 3});
    grid(1)->setCurrentIndex(grid(1)->model()->index(2, 0));
    const ImpactRecord fourth = store->record(2 + 3);
    selectCells(2, left, 1, right, 6);
    window->findChild<QAction *>("ADelImpact")->trigger();
    QCOMPARE(seriesSizes(), sizes);
    QCOMPARE(cell(1, 0, 3), seriesCell);
    QCOMPARE(grid(1)->currentIndex().row() + 1, 3);
    if (sizes.size() == 3) // impacts 1, 4 and 5 remain, now in columns 1 … 3
        QVERIFY(store->record(2 + 1).bytes == fourth.bytes);
}

void TestTablesWindow::deleteSeries_data()
{
    QTest::addColumn<Numbers>("lengths");
    QTest::addColumn<int>("firstRow");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<Numbers>("sizes");
    QTest::addColumn<int>("currentRow");

    QTest::newRow("rows 3 to 5 of 6 series") << Numbers{1, 2, 3, 4, 5, 6} << 3 << 5 << Numbers{1, 5, 6} << 3;
    QTest::newRow("the table gets too short") << Numbers{1, 2, 3} << 3 << 4 << Numbers{1} << 2;
    QTest::newRow("one row") << Numbers{1, 2, 3} << 2 << 2 << Numbers{2, 3} << 2;
}

void TestTablesWindow::deleteSeries()
{
    QFETCH(Numbers, lengths);
    QFETCH(int, firstRow);
    QFETCH(int, lastRow);
    QFETCH(Numbers, sizes);
    QFETCH(int, currentRow);

    makeWindow(std::vector<quint32>(lengths.begin(), lengths.end()));
    selectCells(1, 0, firstRow, 6, lastRow);
    window->findChild<QAction *>("ADelSeries")->trigger();
    QCOMPARE(seriesSizes(), sizes);
    QCOMPARE(rowCount(1), 2 + int(sizes.size()));
    QCOMPARE(grid(1)->currentIndex().row() + 1, currentRow);
    // Table 2 follows the current row.
    QCOMPARE(columnCount(2), 1 + sizes[currentRow - 2]);
}

void TestTablesWindow::deletingEverythingLeavesEmptyState()
{
    makeWindow({3});
    const QString corner = cell(2, 0, 0);
    selectCells(2, 1, 1, 3, 6);
    window->findChild<QAction *>("ADelImpact")->trigger();
    QVERIFY(store->isEmpty());
    QCOMPARE(rowCount(1), 3);
    for (int column = 0; column < 7; ++column)
        QCOMPARE(cell(1, column, 2), QString());
    QCOMPARE(columnCount(2), 2);
    for (int row = 1; row < 7; ++row)
        QCOMPARE(cell(2, 1, row), QString());
    QCOMPARE(cell(2, 0, 0), corner);
    QCOMPARE(cell(2, 0, 1), QString("Din.modulus, MPa"));
}

void TestTablesWindow::deletionsNeedData()
{
    makeWindow({});
    window->findChild<QAction *>("ADelSeries")->trigger();
    window->findChild<QAction *>("ADelImpact")->trigger();
    QCOMPARE(prompts.messages().size(), size_t(2));
    QCOMPARE(prompts.messages()[0].text, QString("No Data"));

    // With data but nothing selected in Table 2, deleting impacts does nothing.
    init();
    makeWindow({2, 2});
    window->findChild<QAction *>("ADelImpact")->trigger();
    QCOMPARE(seriesSizes(), (Numbers{2, 2}));
    QVERIFY(prompts.messages().empty());
}

void TestTablesWindow::ctrlC_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<QRect>("selection"); // x columns, y rows; null: nothing selected
    QTest::addColumn<QString>("text");

    QTest::newRow("Table 2, single cell: the whole table")
        << 2 << QRect(2, 1, 1, 1)
        << "06.11.2013, 14:07:45\t1-st impact\t2-st impact\r\n"
           "Din.modulus, MPa\t81,0\t82,0\r\nStat.modulus, MPa\t41,0\t42,0\r\n"
           "Vibr.acceleration, m/c2\t-35,2+40,1\t-35,2+40,1\r\nVibr.velocity, m/c\t0,123+0,456\t0,123+0,456\r\n"
           "Vibr.displacement, mm\t1,500\t1,500\r\nImpact force, N\t12345\t12345\r\n";
    QTest::newRow("Table 2, a 2 x 3 block") << 2 << QRect(1, 1, 2, 3)
                                             << "81,0\t82,0\r\n41,0\t42,0\r\n-35,2+40,1\t-35,2+40,1\r\n";
    QTest::newRow("Table 1, one row: a block of whole rows")
        << 1 << QRect(0, 3, 7, 1) << "2/1\t06.11.13\t14:07:45\t81\t41\tПесок\tRoad 7\r\n";
    QTest::newRow("Table 1, nothing selected: the whole table")
        << 1 << QRect()
        << "№\tDate\tTime\tDin.modulus\tStat.modulus\tMaterial\tObject\r\n\td:m:y\th:m:s\tMPa\tMPa\t\t\r\n"
           "1/2\t06.11.13\t14:07:45\t81,5\t41,5\tПесок\tRoad 7\r\n"
           "2/1\t06.11.13\t14:07:45\t81\t41\tПесок\tRoad 7\r\n";
}

void TestTablesWindow::ctrlC()
{
    QFETCH(int, table);
    QFETCH(QRect, selection);
    QFETCH(QString, text);

    makeWindow({2, 1});
    if (selection.isNull())
        grid(table)->clearSelection();
    else
        selectCells(table, selection.left(), selection.top(), selection.right(), selection.bottom());
    QTest::keyClick(grid(table), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboardText(), text);
}

void TestTablesWindow::mouseSelections_data()
{
    // Series of 1 … 5 impacts in rows 2 … 6.
    QTest::addColumn<QList<Click>>("clicks");
    QTest::addColumn<Numbers>("highlighted");
    QTest::addColumn<Numbers>("remaining");

    const int ctrl = int(Qt::ControlModifier);
    const int shift = int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+click extends the block too: no gap")
        << QList<Click>{{3, 0}, {6, ctrl}} << Numbers{3, 4, 5, 6} << Numbers{1};
    QTest::newRow("Shift+click extends the block")
        << QList<Click>{{3, 0}, {5, shift}} << Numbers{3, 4, 5} << Numbers{1, 5};
    QTest::newRow("Shift+click upwards") << QList<Click>{{6, 0}, {4, shift}} << Numbers{4, 5, 6} << Numbers{1, 2};
    QTest::newRow("Ctrl+click, then Shift+click")
        << QList<Click>{{2, 0}, {4, ctrl}, {5, shift}} << Numbers{2, 3, 4, 5} << Numbers{5};
    QTest::newRow("a plain click after a block") << QList<Click>{{2, 0}, {4, shift}, {5, 0}} << Numbers{5}
                                                 << Numbers{1, 2, 3, 5};
    QTest::newRow("Shift+click onto the units row takes no header")
        << QList<Click>{{3, 0}, {1, shift}} << Numbers{3} << Numbers{1, 3, 4, 5};
}

void TestTablesWindow::mouseSelections()
{
    QFETCH(QList<Click>, clicks);
    QFETCH(Numbers, highlighted);
    QFETCH(Numbers, remaining);

    makeWindow({1, 2, 3, 4, 5});
    for (const Click &click : clicks)
        clickRow(click.first, Qt::KeyboardModifiers(click.second));
    QCOMPARE(highlightedRows(), highlighted);

    // A copy takes exactly the highlighted rows …
    QTest::keyClick(grid(1), Qt::Key_C, Qt::ControlModifier);
    QStringList firstCells;
    for (const QString &line : clipboardText().split("\r\n", Qt::SkipEmptyParts))
        firstCells << line.section('\t', 0, 0);
    QStringList expected;
    for (int row : highlighted)
        expected << QString("%1/%2").arg(row - 1).arg(row - 1);
    QCOMPARE(firstCells, expected);

    // … and so does Delete Series.
    window->findChild<QAction *>("ADelSeries")->trigger();
    QCOMPARE(seriesSizes(), remaining);
}

void TestTablesWindow::clickOnTheCurrentRowShowsItAfresh()
{
    makeWindow({2, 5, 3});
    clickRow(3);
    grid(2)->setCurrentIndex(grid(2)->model()->index(0, 4)); // its fourth impact
    grid(2)->selectionModel()->select(
        QItemSelection(grid(2)->model()->index(0, 2), grid(2)->model()->index(1, 3)), QItemSelectionModel::Select);
    QCOMPARE(store->displayedImpact(), 2 + 3);

    // A right click there only opens the menu: the chosen impact stays.
    QTest::mouseClick(grid(1)->viewport(), Qt::RightButton, {},
                      grid(1)->visualRect(grid(1)->model()->index(2, 1)).center());
    QCOMPARE(store->displayedImpact(), 2 + 3);

    clickRow(3); // the row that is already current
    QCOMPARE(store->displayedImpact(), 2);
    QCOMPARE(cell(2, 0, 0), QString("06.11.2013, 14:07:45"));
    QVERIFY(grid(2)->selectionModel()->selectedIndexes().isEmpty());
    QVERIFY(!grid(2)->currentIndex().isValid());
    QVERIFY(store->currentRecord().bytes == store->record(2).bytes);
}

void TestTablesWindow::unitsRowNeverCurrent_data()
{
    QTest::addColumn<int>("key"); // 0: a click on the units row
    QTest::addColumn<int>("modifiers");

    QTest::newRow("click") << 0 << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 0;
    QTest::newRow("Ctrl+Home") << int(Qt::Key_Home) << int(Qt::ControlModifier);
}

void TestTablesWindow::unitsRowNeverCurrent()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    makeWindow({2, 5, 3});
    clickRow(2);
    if (key == 0)
        clickRow(1);
    else
        QTest::keyClick(grid(1), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(grid(1)->currentIndex().row() + 1, 2);
    QCOMPARE(highlightedRows(), Numbers{2});
    QCOMPARE(columnCount(2), 3); // Table 2 shows the highlighted series
    window->findChild<QAction *>("ADelSeries")->trigger();
    QCOMPARE(seriesSizes(), (Numbers{5, 3}));
}

void TestTablesWindow::unitsRowStaysInSight()
{
    // The header rows are fixed: neither the end of a long table nor a
    // refill (as a file opened again makes) scrolls them away.
    makeWindow(std::vector<quint32>(60, 1));
    window->resize(500, 400);
    QApplication::processEvents();
    QVERIFY(unitsInSight());
    QTest::keyClick(grid(1), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid(1)->currentIndex().row() + 1, 61);
    QVERIFY(unitsInSight());
    window->fillSeriesTable();
    QApplication::processEvents();
    QCOMPARE(grid(1)->currentIndex().row() + 1, 2);
    QVERIFY(unitsInSight());
    QVERIFY(grid(1)->viewport()->rect().contains(grid(1)->visualRect(grid(1)->currentIndex())));
}

void TestTablesWindow::tabMovesBetweenControls_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QStringList>("order"); // after Table 1

    QTest::newRow("standard view") << QByteArray("Super=N\n")
                                   << QStringList{"StringGrid2", "CheckBoxDisplacement", "CheckBoxForce", "Chart1"};
    QTest::newRow("full view") << QByteArray("Super=Y\n")
                               << QStringList{"StringGrid2", "CheckBoxAccel", "CheckBoxVelocity",
                                              "CheckBoxDisplacement", "CheckBoxForce", "Chart1"};
}

void TestTablesWindow::tabMovesBetweenControls()
{
    // Tab and Shift+Tab go from control to control; they never walk the
    // cells of a table, so the chosen series and impact stay.
    QFETCH(QByteArray, config);
    QFETCH(QStringList, order);

    makeWindow({2, 5, 3}, config);
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    clickRow(3);
    grid(2)->setCurrentIndex(grid(2)->model()->index(0, 4));
    QCOMPARE(store->displayedImpact(), 2 + 3);
    grid(1)->setFocus();
    QCOMPARE(QApplication::focusWidget(), grid(1));

    const auto press = [](Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    };
    QStringList forward;
    for (qsizetype i = 0; i < order.size(); ++i)
        forward << press(Qt::NoModifier);
    QCOMPARE(forward, order);
    QStringList backward;
    for (qsizetype i = 0; i < order.size(); ++i)
        backward << press(Qt::ShiftModifier);
    QStringList expected = order;
    std::reverse(expected.begin(), expected.end());
    expected.removeFirst();
    expected << "StringGrid1";
    QCOMPARE(backward, expected);

    QCOMPARE(grid(1)->currentIndex().row() + 1, 3);
    QCOMPARE(columnCount(2), 6);
    QCOMPARE(store->displayedImpact(), 2 + 3);
    QCOMPARE(grid(2)->currentIndex().column(), 4);

    // The arrows move inside a table.
    QTest::keyClick(grid(1), Qt::Key_Down);
    QCOMPARE(grid(1)->currentIndex().row() + 1, 4);
    QCOMPARE(QApplication::focusWidget(), grid(1));
    QTest::keyClick(grid(2), Qt::Key_Right);
    QTest::keyClick(grid(2), Qt::Key_Right);
    QCOMPARE(grid(2)->currentIndex().column(), 2);
    QCOMPARE(store->displayedImpact(), 7 + 1);
}

void TestTablesWindow::longSeriesAtFirstStartSize_data()
{
    QTest::addColumn<bool>("byKeyboard"); // else by the mouse, scrolling first when needed

    QTest::newRow("mouse") << false;
    QTest::newRow("Right arrow") << true;
}

void TestTablesWindow::longSeriesAtFirstStartSize()
{
    // A 9-impact series at the first-start size: every impact can be chosen,
    // and the labels stay in sight while the impacts scroll.
    QFETCH(bool, byKeyboard);

    makeWindow({9, 2});
    window->resize(500, 400);
    QApplication::processEvents();
    QTableView *view = grid(2);
    QCOMPARE(columnCount(2), 10);
    for (int column = 1; column <= 9; ++column) {
        const QModelIndex index = view->model()->index(0, column);
        if (byKeyboard) {
            if (column == 1)
                view->setCurrentIndex(index);
            else
                QTest::keyClick(view, Qt::Key_Right);
        } else {
            view->scrollTo(index);
            const QRect cell = view->visualRect(index);
            QVERIFY2(view->viewport()->rect().contains(cell.center()), qPrintable(QString::number(column)));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        }
        QCOMPARE(view->currentIndex().column(), column);
        QCOMPARE(store->displayedImpact(), column - 1);
        QVERIFY2(labelsInSight(), qPrintable(QString::number(column)));
    }
}

void TestTablesWindow::overflowingImpactsScroll()
{
    // Columns that no longer fit (here one the user widened) scroll, and the
    // scroll bar takes no row out of sight.
    makeWindow({3});
    window->resize(500, 400);
    QApplication::processEvents();
    QTableView *view = grid(2);
    QVERIFY(!view->horizontalScrollBar()->isVisible());
    view->horizontalHeader()->resizeSection(2, 400);
    QTRY_VERIFY(view->horizontalScrollBar()->isVisible());
    QTRY_VERIFY(!view->verticalScrollBar()->isVisible());
    const QRect lastRow = view->visualRect(view->model()->index(5, 1));
    QVERIFY(view->viewport()->rect().contains(lastRow));
    QVERIFY(labelsInSight());
    // The check boxes and the chart make room for it.
    auto *box = window->findChild<QCheckBox *>("CheckBoxForce");
    QCOMPARE(box->y(), view->height() + 5);
    auto *chart = window->findChild<SignalChart *>("Chart1");
    QVERIFY(chart->y() >= box->y() + box->height());
}

void TestTablesWindow::menuKeyOpensContextMenus_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("menu");

    QTest::newRow("Table 1") << "StringGrid1" << "PopupMenuStringGrid1";
    QTest::newRow("Table 2") << "StringGrid2" << "PopupMenuStringGrid2";
    QTest::newRow("chart") << "Chart1" << "PopupMenuChart";
}

void TestTablesWindow::menuKeyOpensContextMenus()
{
    // The keyboard's menu key opens the menu of the control that has the focus.
    QFETCH(QString, control);
    QFETCH(QString, menu);

    makeWindow({2, 5, 3});
    auto *widget = window->findChild<QWidget *>(control);
    widget->setFocus();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &key);
    auto *popup = window->findChild<QMenu *>(menu);
    QTRY_VERIFY(popup->isVisible());
    popup->close();
}

void TestTablesWindow::emptyFillKeepsTheShownImpact()
{
    // An empty file, or a read of no impact, after data: the chart keeps the
    // impact it showed, and a check box click redraws that impact.
    makeWindow({2, 5, 3});
    grid(1)->setCurrentIndex(grid(1)->model()->index(2, 0));
    grid(2)->setCurrentIndex(grid(2)->model()->index(0, 2)); // position 3
    auto *chart = window->findChild<SignalChart *>("Chart1");
    const QList<QPointF> force = chart->curves()[CurveForce];
    QVERIFY(std::any_of(force.begin(), force.end(), [](const QPointF &p) { return p.y() != 0; }));

    window->finishRead(std::make_unique<MeasurementStore>());
    QVERIFY(store->isEmpty());
    QCOMPARE(store->displayedImpact(), 3);
    auto *box = window->findChild<QCheckBox *>("CheckBoxForce");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(chart->curves()[CurveForce], force);
}

void TestTablesWindow::narrowWindowClipsTexts()
{
    // At the first-start size the texts are cut at the column's edge, never
    // shortened to "…"; a cut header shows its whole text as a tooltip.
    makeWindow({2, 5, 3});
    window->resize(500, 400);
    QApplication::processEvents();
    for (int table : {1, 2}) {
        QCOMPARE(grid(table)->textElideMode(), Qt::ElideNone);
        QCOMPARE(grid(table)->horizontalHeader()->textElideMode(), Qt::ElideNone);
    }
    QHeaderView *header = grid(1)->horizontalHeader();
    const auto tooltipAt = [header](int section) {
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QHelpEvent help(QEvent::ToolTip, at, header->viewport()->mapToGlobal(at));
        QApplication::sendEvent(header->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tooltipAt(0), QString()); // "№" fits
    QVERIFY(header->sectionSize(3) < header->fontMetrics().horizontalAdvance("Din.modulus"));
    QCOMPARE(tooltipAt(3), QString("Din.modulus\nMPa"));
}

void TestTablesWindow::copiesOfAnEmptyStore()
{
    makeWindow({});
    window->findChild<QAction *>("ACopyTable1")->trigger();
    window->findChild<QAction *>("ACopyBlockTable1")->trigger();
    window->findChild<QAction *>("ACopyBlockTable2")->trigger();
    QCOMPARE(prompts.messages().size(), size_t(3));
    QCOMPARE(clipboardText(), QString());
    QCOMPARE(prompts.messages()[2].caption, QString("KVT-1.0"));

    // Table 2's whole copy has no such check: it copies the header cells.
    window->findChild<QAction *>("ACopyTable2")->trigger();
    QVERIFY(clipboardText().startsWith("\t1-st impact\t2-st impact\t3-st impact\r\nDin.modulus, MPa\t"));
    QCOMPARE(prompts.messages().size(), size_t(3));
}

void TestTablesWindow::chartDataCopy()
{
    makeWindow({2});
    window->findChild<QAction *>("ACopyGraphData")->trigger();
    const QStringList lines = clipboardText().split("\r\n");
    QCOMPARE(lines[0], QString());
    QCOMPARE(lines[1], QString("Time, ms\tVibr.displacement\tImpact force\t"));
    QCOMPARE(lines.size(), 2 + 312 + 1);

    // Nothing drawn: the clipboard is left alone.
    QGuiApplication::clipboard()->setText("kept");
    for (const char *name : {"CheckBoxDisplacement", "CheckBoxForce"})
        QTest::mouseClick(window->findChild<QCheckBox *>(name), Qt::LeftButton);
    window->findChild<QAction *>("ACopyGraphData")->trigger();
    QCOMPARE(clipboardText(), QString("kept"));
}

void TestTablesWindow::calibrationCopiesOnlyInFullView_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("visible");

    QTest::newRow("standard view") << QByteArray("Super=N\n") << false;
    QTest::newRow("full view") << QByteArray("Super=Y\n") << true;
}

void TestTablesWindow::calibrationCopiesOnlyInFullView()
{
    QFETCH(QByteArray, config);
    QFETCH(bool, visible);
    makeWindow({2, 3}, config);
    for (const char *name : {"itmCopyCalibrDataF", "itmCopyCalibrDataS"})
        QCOMPARE(window->findChild<QAction *>(name)->isVisible(), visible);
    window->findChild<QAction *>("itmCopyCalibrDataF")->trigger();
    QCOMPARE(clipboardText(), QString("12345,0\n").repeated(5));
}

void TestTablesWindow::exportMenus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items"); // "-": a separator

    QTest::newRow("Table 2") << "PopupMenuStringGrid2"
                             << QStringList{"ACopyTable2", "ACopyBlockTable2", "-", "itmSaveToWavSG2", "itmSaveToCsvSG2",
                                            "-", "ADelImpact"};
    QTest::newRow("Table 2, WAV: force before displacement")
        << "itmSaveToWavSG2"
        << QStringList{"ACopyAtoWav", "ACopyVtoWav", "ACopyFtoWav", "ACopyStoWav", "-", "ACopyAllToWav"};
    QTest::newRow("Table 2, CSV") << "itmSaveToCsvSG2"
                                  << QStringList{"ACopyAtoCsv", "ACopyVtoCsv", "ACopyStoCsv", "ACopyFtoCsv", "-",
                                                 "ACopyAllToCsv"};
    QTest::newRow("chart") << "PopupMenuChart"
                           << QStringList{"ACopyGraph", "ACopyGraphData", "itmSaveToWavGr", "itmSaveToCsvGr"};
    QTest::newRow("chart, WAV") << "itmSaveToWavGr"
                                << QStringList{"ACopyAtoWav", "ACopyVtoWav", "ACopyStoWav", "ACopyFtoWav", "-",
                                               "ACopyAllToWav"};
}

void TestTablesWindow::exportMenus()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    makeWindow({2});
    QStringList names;
    for (const QAction *item : window->findChild<QMenu *>(menu)->actions())
        names << (item->isSeparator() ? QString("-") : item->menu() ? item->menu()->objectName() : item->objectName());
    QCOMPARE(names, items);
    // The standard view hides the a and v exports, wherever they stand.
    for (const char *name : {"ACopyAtoWav", "ACopyVtoWav", "ACopyAtoCsv", "ACopyVtoCsv"})
        QVERIFY(!window->findChild<QAction *>(name)->isVisible());
    QVERIFY(window->findChild<QAction *>("ACopyStoWav")->isVisible());
}

void TestTablesWindow::chartRightClick_data()
{
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<bool>("opens");

    QTest::newRow("right click") << QPoint(100, 80) << true;
    QTest::newRow("right drag") << QPoint(140, 90) << false;
}

void TestTablesWindow::chartRightClick()
{
    QFETCH(QPoint, release);
    QFETCH(bool, opens);

    makeWindow({2});
    auto *chart = window->findChild<SignalChart *>("Chart1");
    QSignalSpy requests(chart, &SignalChart::contextMenuRequested);
    const QCPRange before = chart->xAxis->range();
    drag(chart, Qt::RightButton, QPoint(100, 80), release);
    QCOMPARE(requests.size(), opens ? 1 : 0);
    if (opens)
        QCOMPARE(requests[0][0].toPoint(), chart->mapToGlobal(QPoint(103, 83)));
    QCOMPARE(chart->xAxis->range(), before); // the right button never zooms
}

void TestTablesWindow::chartZoomRectangle_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QPointF>("from"); // fractions of the plot area
    QTest::addColumn<QPointF>("to");

    const QByteArray full("Super=Y\n");
    QTest::newRow("full view, around the zero line") << full << QPointF(0.2, 0.3) << QPointF(0.6, 0.8);
    QTest::newRow("standard view") << QByteArray("Super=N\n") << QPointF(0.1, 0.45) << QPointF(0.5, 0.6);
    QTest::newRow("dragged up and to the left") << full << QPointF(0.7, 0.9) << QPointF(0.3, 0.35);
    QTest::newRow("above the zero line: zero leaves the view") << full << QPointF(0.3, 0.05) << QPointF(0.8, 0.3);
}

// Both vertical axes follow the rectangle: each takes the span that the
// rectangle covered on it, so the two zero lines stay at one height.
void TestTablesWindow::chartZoomRectangle()
{
    QFETCH(QByteArray, config);
    QFETCH(QPointF, from);
    QFETCH(QPointF, to);

    makeWindow({2}, config);
    SignalChart *chart = laidOutChart();
    // In both views F(t) is drawn against the right axis.
    QVERIFY(!chart->series(CurveForce)->data()->isEmpty());
    QCOMPARE(chart->series(CurveForce)->valueAxis(), chart->yAxis2);
    const QPoint press = inPlot(chart, from);
    const QPoint release = inPlot(chart, to);
    // What the rectangle covered on an axis, and how far it may miss: QCustomPlot
    // counts the release pixel into the rectangle, so an end may lie one pixel on.
    struct Expected {
        QCPRange span;
        double tolerance;
    };
    auto covered = [](QCPAxis *axis, int a, int b, int length) {
        return Expected{QCPRange(axis->pixelToCoord(a), axis->pixelToCoord(b)), 1.5 * axis->range().size() / length};
    };
    const QRect plot = chart->axisRect()->rect();
    const Expected time = covered(chart->xAxis, press.x(), release.x(), plot.width());
    const Expected left = covered(chart->yAxis, press.y(), release.y(), plot.height());
    const Expected right = covered(chart->yAxis2, press.y(), release.y(), plot.height());

    drag(chart, Qt::LeftButton, press, release);
    for (auto [axis, expected] : {std::pair{chart->xAxis, time}, {chart->yAxis, left}, {chart->yAxis2, right}}) {
        const QCPRange range = axis->range();
        QVERIFY2(qAbs(range.lower - expected.span.lower) <= expected.tolerance
                     && qAbs(range.upper - expected.span.upper) <= expected.tolerance,
                 qPrintable(QString("%1: %2 … %3, expected %4 … %5")
                                .arg(axis->label())
                                .arg(range.lower)
                                .arg(range.upper)
                                .arg(expected.span.lower)
                                .arg(expected.span.upper)));
    }
    chart->replot();
    QVERIFY(qAbs(chart->yAxis->coordToPixel(0) - chart->yAxis2->coordToPixel(0)) < 0.5);
}

void TestTablesWindow::chartClickTolerance_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<bool>("restores");

    QTest::newRow("still") << QPoint(0, 0) << true;
    QTest::newRow("1 px") << QPoint(1, 0) << true;
    QTest::newRow("3 px up") << QPoint(0, -3) << true;
    QTest::newRow("3 px diagonally") << QPoint(-2, 1) << true;
    QTest::newRow("4 px: a drag") << QPoint(3, 1) << false;
    QTest::newRow("a rectangle") << QPoint(60, 40) << false;
}

// A click restores the full view even when the hand moved a little between
// press and release; anything further is a zoom rectangle.
void TestTablesWindow::chartClickTolerance()
{
    QFETCH(QPoint, move);
    QFETCH(bool, restores);

    makeWindow({2});
    SignalChart *chart = laidOutChart();
    QCPAxis *axes[] = {chart->xAxis, chart->yAxis, chart->yAxis2};
    QList<QCPRange> full;
    for (QCPAxis *axis : axes)
        full << axis->range();
    drag(chart, Qt::LeftButton, inPlot(chart, {0.2, 0.2}), inPlot(chart, {0.7, 0.7}));
    chart->replot();
    QList<QCPRange> zoomed;
    for (QCPAxis *axis : axes)
        zoomed << axis->range();
    QVERIFY(zoomed != full);

    const QPoint press = inPlot(chart, {0.4, 0.4});
    drag(chart, Qt::LeftButton, press, press + move);
    QList<QCPRange> now;
    for (QCPAxis *axis : axes)
        now << axis->range();
    if (restores) {
        QCOMPARE(now, full);
    } else {
        QVERIFY(now != full);
        QVERIFY(now != zoomed);
    }
}

void TestTablesWindow::chartGrids_data()
{
    QTest::addColumn<int>("axis"); // bottom, left, right

    QTest::newRow("bottom") << 0;
    QTest::newRow("left") << 1;
    QTest::newRow("right") << 2;
}

void TestTablesWindow::chartGrids()
{
    QFETCH(int, axis);
    makeWindow({2});
    auto *chart = window->findChild<SignalChart *>("Chart1");
    const QCPGrid *grid = std::array{chart->xAxis, chart->yAxis, chart->yAxis2}[axis]->grid();
    QVERIFY(grid->visible());
    QCOMPARE(grid->pen().style(), Qt::DotLine);
}

void TestTablesWindow::chartFrameAndMargins_data()
{
    QTest::addColumn<int>("windowWidth");

    QTest::newRow("as opened") << 900;
    QTest::newRow("widened") << 1500;
}

// A dotted frame around the plot area; no space left of, above or below the
// chart's axes, and 2 % of the chart's width right of its right axis labels.
void TestTablesWindow::chartFrameAndMargins()
{
    QFETCH(int, windowWidth);
    makeWindow({2});
    window->resize(windowWidth, 600);
    SignalChart *chart = laidOutChart();

    const auto *frame = chart->findChild<QCPItemRect *>();
    QVERIFY(frame);
    QCOMPARE(frame->pen().style(), Qt::DotLine);
    const QRect plot = chart->axisRect()->rect();
    QCOMPARE(frame->topLeft->pixelPosition(), QPointF(plot.topLeft()));
    QCOMPARE(frame->bottomRight->pixelPosition(), QPointF(plot.left() + plot.width(), plot.top() + plot.height()));

    const QRect outer = chart->axisRect()->outerRect();
    QCOMPARE(outer.topLeft(), QPoint(0, 0));
    QCOMPARE(outer.bottom(), chart->height() - 1);
    QCOMPARE(chart->width() - 1 - outer.right(), qRound(chart->width() * 0.02));
}

void TestTablesWindow::languageChangeRedrawsChart_data()
{
    QTest::addColumn<Numbers>("lengths");
    QTest::addColumn<QString>("bottomTitle");

    QTest::newRow("with data") << Numbers{2} << "Время, мс";
    QTest::newRow("empty store: left alone") << Numbers{} << "Время, мс";
}

void TestTablesWindow::languageChangeRedrawsChart()
{
    QFETCH(Numbers, lengths);
    QFETCH(QString, bottomTitle);

    makeWindow(std::vector<quint32>(lengths.begin(), lengths.end()));
    auto *chart = window->findChild<SignalChart *>("Chart1");
    window->ALangRusExecute();
    QCOMPARE(chart->xAxis->label(), bottomTitle);
    window->ALangEngExecute();
    // With data the titles follow the language; without, the chart keeps its design titles.
    QCOMPARE(chart->xAxis->label(), lengths.isEmpty() ? QString("Время, мс") : QString("Time, ms"));
}

QTEST_MAIN(TestTablesWindow)
#include "tst_tables_window.moc"
