#include "mainwindow/window_layout.h"

#include <QTest>

using namespace kvt;

using Widths = QList<int>;
using Places = QList<QRect>;

class TestWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void table1Width_data();
    void table1Width();
    void dragShare();
    void seriesColumns_data();
    void seriesColumns();
    void impactColumns_data();
    void impactColumns();
    void checkBoxes_data();
    void checkBoxes();
    void chartFillsTheRest();
};

void TestWindowLayout::table1Width_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("share");
    QTest::addColumn<int>("width");

    QTest::newRow("half") << 600 << 500 << 300;
    QTest::newRow("truncates") << 599 << 500 << 299;
    QTest::newRow("capped 40 short of the client width") << 600 << 950 << 560;
    QTest::newRow("a dragged share beyond 950") << 1000 << 980 << 960;
}

void TestWindowLayout::table1Width()
{
    QFETCH(int, clientWidth);
    QFETCH(int, share);
    QFETCH(int, width);
    QCOMPARE(layout::table1Width(clientWidth, share), width);
}

void TestWindowLayout::dragShare()
{
    QCOMPARE(layout::shareFromDrag(150, 600), 250);
    QCOMPARE(layout::shareFromDrag(599, 600), 998); // a drag is not clamped to 50 … 950
    QCOMPARE(layout::shareFromDrag(10, 600), 16);
}

void TestWindowLayout::seriesColumns_data()
{
    QTest::addColumn<int>("tableWidth");
    QTest::addColumn<int>("tableHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<Widths>("widths");

    QTest::newRow("250 wide, no scroll bar") << 250 << 400 << 3 << Widths{23, 28, 32, 21, 22, 57, 57};
    QTest::newRow("250 wide, rows fill the height") << 250 << 400 << 30 << Widths{21, 27, 29, 20, 20, 54, 53};
    QTest::newRow("a narrow table") << 100 << 400 << 3 << Widths{9, 10, 12, 8, 8, 22, 21};
}

void TestWindowLayout::seriesColumns()
{
    QFETCH(int, tableWidth);
    QFETCH(int, tableHeight);
    QFETCH(int, rows);
    QFETCH(Widths, widths);

    const Widths computed = layout::seriesColumnWidths(tableWidth, tableHeight, rows, 7);
    QCOMPARE(computed, widths);
    // The rounding is spread: the widths add up to the available width.
    int sum = 0;
    for (int width : computed)
        sum += width;
    QCOMPARE(sum, tableWidth - 10 - (rows * 19 >= tableHeight - 2 ? 16 : 0));
}

void TestWindowLayout::impactColumns_data()
{
    QTest::addColumn<int>("tableWidth");
    QTest::addColumn<int>("columns");
    QTest::addColumn<Widths>("widths");

    QTest::newRow("four impacts") << 404 << 5 << Widths{150, 61, 62, 61, 62};
    QTest::newRow("one impact") << 300 << 2 << Widths{150, 145};
    QTest::newRow("no room left") << 150 << 3 << Widths{150, -3, -3};
}

void TestWindowLayout::impactColumns()
{
    QFETCH(int, tableWidth);
    QFETCH(int, columns);
    QFETCH(Widths, widths);
    QCOMPARE(layout::impactColumnWidths(tableWidth, columns), widths);
}

void TestWindowLayout::checkBoxes_data()
{
    QTest::addColumn<int>("panelWidth");
    QTest::addColumn<bool>("fullView");
    QTest::addColumn<Places>("places");

    const QSize box(41, 17);
    QTest::newRow("standard view: hidden boxes take no room")
        << 300 << false << Places{{32, 142, 0, 17}, {32, 142, 0, 17}, {QPoint(32, 142), box}, {QPoint(73, 142), box}};
    QTest::newRow("full view on one line") << 200 << true
                                           << Places{{QPoint(32, 142), box}, {QPoint(73, 142), box},
                                                     {QPoint(114, 142), box}, {QPoint(155, 142), box}};
    QTest::newRow("full view, the last box wraps") << 190 << true
                                                   << Places{{QPoint(32, 142), box}, {QPoint(73, 142), box},
                                                             {QPoint(114, 142), box}, {QPoint(32, 159), box}};
    QTest::newRow("a narrow panel, one box a line") << 100 << true
                                                    << Places{{QPoint(32, 142), box}, {QPoint(32, 159), box},
                                                              {QPoint(32, 176), box}, {QPoint(32, 193), box}};
}

void TestWindowLayout::checkBoxes()
{
    QFETCH(int, panelWidth);
    QFETCH(bool, fullView);
    QFETCH(Places, places);

    const QSize shown(41, 17);
    const QSize hidden(0, 17);
    const QList<QSize> sizes{fullView ? shown : hidden, fullView ? shown : hidden, shown, shown};
    QCOMPARE(layout::checkBoxPlaces(panelWidth, layout::impactTableHeight(7) + 5, sizes), places);
}

void TestWindowLayout::chartFillsTheRest()
{
    QCOMPARE(layout::chartHeight(400, QRect(32, 159, 41, 17)), 214);
}

QTEST_GUILESS_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
