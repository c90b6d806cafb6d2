#include "chart/trend_chart.h"
#include "evaluation/requirement_settings.h"
#include "evaluation/statistics_table.h"
#include "evaluation/statistics_window.h"
#include "mainwindow/clipboard_texts.h"
#include "mainwindow/formmain.h"
#include "mainwindow/shell_open.h"
#include "store_fixture.h"
#include "support/csv_text.h"
#include "support/scripted_prompts.h"
#include "test_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

using namespace kvt;
using kvt::testing::SeriesContent;

using Keys = QList<double>;
Q_DECLARE_METATYPE(kvt::Language)

namespace {

const float Nan = std::numeric_limits<float>::quiet_NaN();
const QString Base = QStringLiteral("Несущий слой");
const QString Subgrade = QStringLiteral("Подстилающий слой");

// Two groups: the base course of crushed stone, judged against 85 MPa (a
// series that meets, one that does not, one whose moduli read "NAN" and one
// more that meets), and between them a subgrade series that no rule covers.
const QList<SeriesContent> FieldSeries{
    {Base, "Щебень", {90, 92}, {50, 50}},
    {Subgrade, "Песок", {60}, {30}},
    {Base, "Щебень", {80}, {45}},
    {Base, "Щебень", {Nan}, {Nan}},
    {Base, "Щебень", {88, 88, 88}, {50, 50, 50}},
};

enum class Change { Deletion, FirstSeriesDeleted, GroupAppears, Rules, Language };

} // namespace
Q_DECLARE_METATYPE(Change)

// The statistics window as the main window opens it, over a store of field series.
class TestStatisticsWindow : public QObject {
    Q_OBJECT
private slots:
    void init();

    void commandMenu();
    void emptyStoreSaysNoData_data();
    void emptyStoreSaysNoData();
    void opens_data();
    void opens();
    void copies_data();
    void copies();
    void savesCsv_data();
    void savesCsv();
    void followsChanges_data();
    void followsChanges();
    void everySeriesDeleted();
    void chartShowsTheChosenGroup_data();
    void chartShowsTheChosenGroup();
    void keyboardOnly();
    void namesReadWhole();
    void verdictSaysWhy_data();
    void verdictSaysWhy();
    void staticRequirementOnItsOwnAxis();
    void clickingAPointChoosesTheSeries_data();
    void clickingAPointChoosesTheSeries();
    void helpKeyOpensItsSection();

private:
    void makeWindow(const QList<SeriesContent> &series, const QByteArray &language = "Eng");
    StatisticsWindow *openStatistics();
    QString path(const QString &name) const { return folder->filePath(name); }
    QStringList row(int gridRow) const;
    void chooseGroup(int group);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
};

void TestStatisticsWindow::init()
{
    window.reset();
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
}

void TestStatisticsWindow::makeWindow(const QList<SeriesContent> &series, const QByteArray &language)
{
    QVERIFY(!testing::writeTestFile(settings->path(), "[Config]\nLangId=" + language + "\n").isEmpty());
    QVERIFY(writeRequirementRules(*settings, {{Base, "", 85, {}, {}}}));
    testing::fillStoreWith(*store, series);
    window = std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
    window->resize(900, 600);
    window->show();
    if (!series.isEmpty())
        window->fillSeriesTable();
}

StatisticsWindow *TestStatisticsWindow::openStatistics()
{
    window->findChild<QAction *>("AStatistics")->trigger();
    return window->statisticsWindow();
}

QStringList TestStatisticsWindow::row(int gridRow) const
{
    return window->statisticsWindow()->grid().value(gridRow);
}

void TestStatisticsWindow::chooseGroup(int group)
{
    QTableView *table = window->statisticsWindow()->table();
    table->setCurrentIndex(table->model()->index(group, 0));
}

void TestStatisticsWindow::commandMenu()
{
    makeWindow(FieldSeries);
    QStringList names;
    for (const QAction *item : window->findChild<QMenu *>("itmCmd")->actions())
        names << item->objectName();
    QCOMPARE(names, (QStringList{"AGaugeRead", "AMaterialEdit", "AObjectEdit", "AScreenshot", "AStatistics"}));
    QAction *statistics = window->findChild<QAction *>("AStatistics");
    QCOMPARE(statistics->text(), QString("Statistics..."));
    window->ALangRusExecute();
    QCOMPARE(statistics->text(), QString("Статистика..."));
}

void TestStatisticsWindow::emptyStoreSaysNoData_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("English") << QByteArray("Eng") << "KVT-1.0" << "No Data";
    QTest::newRow("Russian") << QByteArray("Rus") << "КВТ-1.0" << "Данных нет";
}

// As every command that needs measurements: a plain message, and no window.
void TestStatisticsWindow::emptyStoreSaysNoData()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, caption);
    QFETCH(QString, text);

    makeWindow({}, language);
    QCOMPARE(openStatistics(), nullptr);
    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages().front().caption, caption);
    QCOMPARE(prompts.messages().front().text, text);
    QCOMPARE(prompts.messages().front().icon, PromptIcon::None);
}

void TestStatisticsWindow::opens_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("buttons"); // copy, save, close
    QTest::addColumn<QString>("objectHeader");
    QTest::addColumn<QString>("meetsNot");
    QTest::addColumn<QString>("noRule");
    QTest::newRow("English") << QByteArray("Eng") << "Statistics"
                             << QStringList{"Copy", "Save as CSV...", "Close"} << "Object" << "does not meet"
                             << "no rule";
    QTest::newRow("Russian") << QByteArray("Rus") << "Статистика"
                             << QStringList{"Копировать", "Сохранить как CSV...", "Закрыть"} << "Объект"
                             << "не соответствует" << "нет требования";
}

void TestStatisticsWindow::opens()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, title);
    QFETCH(QStringList, buttons);
    QFETCH(QString, objectHeader);
    QFETCH(QString, meetsNot);
    QFETCH(QString, noRule);

    makeWindow(FieldSeries, language);
    StatisticsWindow *statistics = openStatistics();
    QVERIFY(statistics);
    QVERIFY(statistics->isVisible());
    QVERIFY(statistics->isWindow());
    QCOMPARE(statistics->windowTitle(), title);
    QStringList captions;
    for (const char *name : {"CopyButton", "SaveButton", "CloseButton"})
        captions << statistics->findChild<QPushButton *>(name)->text();
    QCOMPARE(captions, buttons);

    // One row a group, in the order of their first series; the "NAN" series is counted, not averaged.
    QCOMPARE(statistics->grid().size(), 3);
    QCOMPARE(row(0).first(), objectHeader);
    QCOMPARE(row(1).mid(0, 4), (QStringList{Base, "Щебень", "4", "86,3"}));
    QCOMPARE(row(1).last(), meetsNot);
    QCOMPARE(row(2).mid(0, 4), (QStringList{Subgrade, "Песок", "1", "60,0"}));
    QCOMPARE(row(2).last(), noRule);
    // The view shows the grid: its header row as the header.
    QTableView *table = statistics->table();
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), objectHeader);
    QCOMPARE(table->model()->index(1, 0).data().toString(), Subgrade);

    // A second command brings the same window forward.
    QCOMPARE(openStatistics(), statistics);
    QCOMPARE(window->findChildren<StatisticsWindow *>().size(), 1);
    // Escape closes it; the command opens a new one.
    statistics->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(statistics));
    QTest::keyClick(statistics->table(), Qt::Key_Escape);
    QTRY_COMPARE(window->statisticsWindow(), nullptr);
    QVERIFY(openStatistics());
}

void TestStatisticsWindow::copies_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("the copy button") << "button";
    QTest::newRow("Ctrl+C in the table") << "table";
    QTest::newRow("Ctrl+C over the chart") << "chart";
}

void TestStatisticsWindow::copies()
{
    QFETCH(QString, how);
    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    statistics->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(statistics));
    QGuiApplication::clipboard()->clear();
    if (how == "button") {
        statistics->findChild<QPushButton *>("CopyButton")->click();
    } else {
        QWidget *target = how == "table" ? static_cast<QWidget *>(statistics->table()) : statistics->chart();
        target->setFocus();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    }
    // The whole table, header included, whatever cell is current.
    const QString text = QGuiApplication::clipboard()->text();
    QCOMPARE(text, tableText(statistics->grid()));
    const QStringList lines = text.split("\r\n");
    QCOMPARE(lines.size(), 4); // three rows, each ending in CR LF
    QVERIFY(lines[1].startsWith(Base + "\tЩебень\t4\t86,3\t"));
    QVERIFY(lines[2].startsWith(Subgrade + "\tПесок\t1\t60,0\t"));
    QCOMPARE(lines[1].count('\t'), StatisticsColumns - 1);
}

void TestStatisticsWindow::savesCsv_data()
{
    QTest::addColumn<QStringList>("answers");  // file names in the folder, in turn; "-" cancels
    QTest::addColumn<QByteArray>("existing"); // stats.csv before the save, if any
    QTest::addColumn<QStringList>("proposals"); // what each save dialog proposed
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("failed"); // reported as a file that cannot be created

    QTest::newRow("a name typed without extension gets .csv")
        << QStringList{"stats", "stats.csv"} << QByteArray() << QStringList{"Statistics.csv", "stats.csv"} << true
        << false;
    QTest::newRow("a name typed with .csv is written at once")
        << QStringList{"stats.csv"} << QByteArray("yesterday") << QStringList{"Statistics.csv"} << true << false;
    QTest::newRow("existing file: overwrite refused keeps it")
        << QStringList{"stats", "-"} << QByteArray("yesterday") << QStringList{"Statistics.csv", "stats.csv"}
        << false << false;
    QTest::newRow("read-only folder")
        << QStringList{"locked/stats.csv"} << QByteArray() << QStringList{"Statistics.csv"} << false
        << true;
    QTest::newRow("folder that is gone")
        << QStringList{"gone/stats.csv"} << QByteArray() << QStringList{"Statistics.csv"} << false
        << true;
}

void TestStatisticsWindow::savesCsv()
{
    QFETCH(QStringList, answers);
    QFETCH(QByteArray, existing);
    QFETCH(QStringList, proposals);
    QFETCH(bool, written);
    QFETCH(bool, failed);

    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    QVERIFY(QDir(folder->path()).mkdir("locked"));
    QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
    if (QTest::currentDataTag() == QByteArray("read-only folder")
        && !testing::writeTestFile(path("locked/probe"), "x").isEmpty())
        QSKIP("this user writes into read-only folders");
    const QString target = answers.last() == "-" ? path("stats.csv") : path(answers.last());
    if (!existing.isEmpty())
        QVERIFY(!testing::writeTestFile(target, existing).isEmpty());
    for (const QString &answer : answers)
        prompts.answerFileName(answer == "-" ? std::nullopt : std::optional(path(answer)));
    prompts.answerButton(PromptButton::Abort); // should the file not be created

    statistics->findChild<QPushButton *>("SaveButton")->click();

    QStringList proposed;
    for (const FileDialogRequest &request : prompts.saveRequests()) {
        QCOMPARE(request.filter, QString("csv-files (*.csv);;All files (*.*)"));
        QCOMPARE(request.title, QString("Save as..."));
        proposed << QDir(folder->path()).relativeFilePath(request.proposedName);
    }
    QCOMPARE(proposed, proposals);
    QFile file(target);
    if (written) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), csvBytes(statistics->grid()));
    } else if (!existing.isEmpty()) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), existing);
    } else {
        QVERIFY(!file.exists());
    }
    if (failed) {
        QCOMPARE(prompts.messages().size(), size_t(1));
        QVERIFY(prompts.messages().front().text.startsWith("Can't create data file " + target));
    } else {
        QVERIFY(prompts.messages().empty());
    }
    QVERIFY(statistics->isVisible());
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestStatisticsWindow::followsChanges_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QStringList>("first");  // object, material, series and verdict of the first group
    QTest::addColumn<QStringList>("second"); // of the second; empty when it is gone
    QTest::addColumn<int>("chosen");         // the group chosen afterwards
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("trendRow"); // the Table 1 row of the chart's first point

    QTest::newRow("a series deleted in the main window")
        << Change::Deletion << QStringList{Base, "Щебень", "4", "does not meet"} << QStringList{} << 0 << 1 << 2;
    // The base course's first series goes: the subgrade's series is now the
    // first of the store, and its group the first row; the choice goes with it.
    QTest::newRow("the first series deleted, the chosen group moves up")
        << Change::FirstSeriesDeleted << QStringList{Subgrade, "Песок", "1", "no rule"}
        << QStringList{Base, "Щебень", "3", "does not meet"} << 0 << 2 << 2;
    QTest::newRow("the rules changed")
        << Change::Rules << QStringList{Base, "Щебень", "4", "meets"}
        << QStringList{Subgrade, "Песок", "1", "does not meet"} << 1 << 2 << 3;
    QTest::newRow("the language switched")
        << Change::Language << QStringList{Base, "Щебень", "4", "не соответствует"}
        << QStringList{Subgrade, "Песок", "1", "нет требования"} << 1 << 2 << 3;
    // A file read in with a bridge's series first: a group appears above the
    // chosen subgrade, which stays chosen in its new row.
    QTest::newRow("a group appears above the chosen one")
        << Change::GroupAppears << QStringList{"Мост", "Глина", "1", "no rule"}
        << QStringList{Base, "Щебень", "4", "does not meet"} << 2 << 3 << 4;
}

void TestStatisticsWindow::followsChanges()
{
    QFETCH(Change, change);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(int, chosen);
    QFETCH(int, groups);
    QFETCH(int, trendRow);

    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    chooseGroup(1);
    switch (change) {
    case Change::Deletion: {
        // The subgrade series, Table 1's row 3.
        auto *table1 = window->findChild<QTableView *>("StringGrid1");
        table1->setCurrentIndex(table1->model()->index(2, 0));
        window->findChild<QAction *>("ADelSeries")->trigger();
        break;
    }
    case Change::FirstSeriesDeleted: {
        auto *table1 = window->findChild<QTableView *>("StringGrid1");
        table1->setCurrentIndex(table1->model()->index(1, 0));
        window->findChild<QAction *>("ADelSeries")->trigger();
        break;
    }
    case Change::GroupAppears:
        testing::fillStoreWith(*store, QList<SeriesContent>{{"Мост", "Глина", {70}, {35}}} + FieldSeries);
        window->fillSeriesTable();
        break;
    case Change::Rules:
        QVERIFY(writeRequirementRules(*settings, {{Base, "", 80, {}, {}}, {Subgrade, "", 70, {}, {}}}));
        emit window->requirementsChangedSignal();
        break;
    case Change::Language:
        window->ALangRusExecute();
        break;
    }

    QCOMPARE(window->statisticsWindow(), statistics);
    QCOMPARE(statistics->grid().size(), 1 + groups);
    QCOMPARE(row(1).mid(0, 3) << row(1).last(), first);
    if (!second.isEmpty())
        QCOMPARE(row(2).mid(0, 3) << row(2).last(), second);
    QCOMPARE(statistics->table()->currentIndex().row(), chosen);
    // The chart follows the chosen group.
    QCOMPARE(statistics->chart()->trend().points.first().table1Row, trendRow);
}

void TestStatisticsWindow::everySeriesDeleted()
{
    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    auto *table1 = window->findChild<QTableView *>("StringGrid1");
    table1->selectionModel()->select(QItemSelection(table1->model()->index(1, 0), table1->model()->index(5, 6)),
                                     QItemSelectionModel::ClearAndSelect);
    window->findChild<QAction *>("ADelSeries")->trigger();
    QVERIFY(store->isEmpty());
    // The header alone, and a chart with nothing on it.
    QCOMPARE(statistics->grid().size(), 1);
    QCOMPARE(statistics->table()->model()->rowCount(), 0);
    QVERIFY(statistics->chart()->trend().points.isEmpty());
    QVERIFY(statistics->chart()->lines().isEmpty());
    for (PointClass pointClass : {PointClass::Meets, PointClass::DoesNotMeet, PointClass::NotJudged})
        QCOMPARE(statistics->chart()->points(pointClass)->dataCount(), 0);
    // The open window is brought forward; a new one needs series.
    QCOMPARE(openStatistics(), statistics);
    statistics->close();
    QTRY_COMPARE(window->statisticsWindow(), nullptr);
    QCOMPARE(openStatistics(), nullptr);
}

void TestStatisticsWindow::chartShowsTheChosenGroup_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<Keys>("meeting");
    QTest::addColumn<Keys>("failing");
    QTest::addColumn<Keys>("unjudged");
    QTest::addColumn<int>("lines");
    // Positions in Table 1's order; the "NAN" series has no point.
    QTest::newRow("the base course, judged") << 0 << Keys{1, 5} << Keys{3} << Keys{} << 1;
    QTest::newRow("the subgrade, no rule") << 1 << Keys{} << Keys{} << Keys{2} << 0;
}

void TestStatisticsWindow::chartShowsTheChosenGroup()
{
    QFETCH(int, group);
    QFETCH(Keys, meeting);
    QFETCH(Keys, failing);
    QFETCH(Keys, unjudged);
    QFETCH(int, lines);

    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    chooseGroup(group);
    TrendChart *chart = statistics->chart();
    const auto keys = [chart](PointClass pointClass) {
        Keys drawn;
        const QCPGraph *graph = chart->points(pointClass);
        for (int i = 0; i < graph->dataCount(); ++i)
            drawn << graph->data()->at(i)->key;
        return drawn;
    };
    QCOMPARE(keys(PointClass::Meets), meeting);
    QCOMPARE(keys(PointClass::DoesNotMeet), failing);
    QCOMPARE(keys(PointClass::NotJudged), unjudged);
    QCOMPARE(chart->lines().size(), lines);
    QCOMPARE(chart->xAxis->label(), QString("Series in Table 1 order"));
    QCOMPARE(chart->yAxis->label(), QString("Din.modulus, MPa"));
    // Every point lies inside the axes.
    for (const TrendPoint &point : chart->trend().points) {
        QVERIFY(chart->xAxis->range().contains(point.position));
        QVERIFY(chart->yAxis->range().contains(point.dynamicModulus));
    }
}

// Without a mouse: the table has the focus, the arrows choose the group the
// chart shows, Tab reaches the buttons and Space presses them.
void TestStatisticsWindow::keyboardOnly()
{
    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    QApplication::setActiveWindow(statistics);
    QVERIFY(QTest::qWaitForWindowActive(statistics));
    QTableView *table = statistics->table();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(table));

    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(table->currentIndex().row(), 1);
    QCOMPARE(statistics->chart()->trend().points.first().table1Row, 3);
    QTest::keyClick(table, Qt::Key_Up);
    QCOMPARE(statistics->chart()->trend().points.first().table1Row, 2);

    auto *copy = statistics->findChild<QPushButton *>("CopyButton");
    for (int tab = 0; tab < 5 && QApplication::focusWidget() != copy; ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(copy));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(copy, Qt::Key_Space);
    QCOMPARE(QGuiApplication::clipboard()->text(), tableText(statistics->grid()));
}

// The object and material columns were the view's default width, which cut
// "Подстилающий слой" short; a row is read by them.
void TestStatisticsWindow::namesReadWhole()
{
    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    QTableView *table = statistics->table();
    const QFontMetrics metrics(table->font());
    for (int refresh = 0; refresh < 2; ++refresh) {
        for (const QString name : {"Подстилающий слой 1", "Несущий слой дороги", "Щебень фракции 5-20"}) {
            QVERIFY2(table->columnWidth(0) >= metrics.horizontalAdvance(name), qPrintable(name));
            QVERIFY2(table->columnWidth(1) >= metrics.horizontalAdvance(name), qPrintable(name));
        }
        // A refill keeps them so, and a column the user widened stays wider.
        table->setColumnWidth(1, 400);
        window->ALangRusExecute();
        QCOMPARE(table->columnWidth(1), 400);
    }
}

void TestStatisticsWindow::verdictSaysWhy_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QStringList>("tips"); // of the verdict cells, group by group

    QTest::newRow("English") << QByteArray("Eng") << "does not meet"
                             << QStringList{"series below the requirement: 1 of 3; CV 6,6 % above the largest 5 %",
                                            "a CV needs at least two series"};
    QTest::newRow("Russian") << QByteArray("Rus") << "не соответствует"
                             << QStringList{"ниже требования серий: 1 из 3; КВ 6,6 % больше наибольшего 5 %",
                                            "КВ определяется не менее чем по двум сериям"};
}

// The subgrade's one series reaches its 50 MPa, and still its group does not
// meet: one series has no CV to hold within 20 %. The verdict says so.
void TestStatisticsWindow::verdictSaysWhy()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, verdict);
    QFETCH(QStringList, tips);

    makeWindow(FieldSeries, language);
    QVERIFY(writeRequirementRules(*settings, {{Base, "", 85, {}, 5}, {Subgrade, "", 50, {}, 20}}));
    StatisticsWindow *statistics = openStatistics();
    const QAbstractItemModel *model = statistics->table()->model();
    QStringList shown;
    for (int group = 0; group < model->rowCount(); ++group) {
        const QModelIndex cell = model->index(group, StatisticsColumns - 1);
        QCOMPARE(cell.data().toString(), verdict);
        shown << cell.data(Qt::ToolTipRole).toString();
    }
    QCOMPARE(shown, tips);
    // A verdict that meets has nothing to explain.
    QVERIFY(writeRequirementRules(*settings, {{Subgrade, "", 50, {}, {}}}));
    emit window->requirementsChangedSignal();
    QCOMPARE(model->index(1, StatisticsColumns - 1).data(Qt::ToolTipRole).toString(), QString());
}

// A static requirement of 45 MPa drawn among dynamic moduli of 80…92 would
// read as a requirement they all meet: it is drawn on the static axis, with
// the static means it judges.
void TestStatisticsWindow::staticRequirementOnItsOwnAxis()
{
    makeWindow(FieldSeries);
    QVERIFY(writeRequirementRules(*settings, {{Base, "", 85, 45, {}}}));
    StatisticsWindow *statistics = openStatistics();
    chooseGroup(0);
    TrendChart *chart = statistics->chart();
    QCOMPARE(chart->lines().size(), 2);
    QCOMPARE(chart->lines()[0]->point1->valueAxis(), chart->yAxis);
    QCOMPARE(chart->lines()[1]->point1->valueAxis(), chart->yAxis2);
    QCOMPARE(chart->lines()[1]->point2->valueAxis(), chart->yAxis2);
    QVERIFY(chart->yAxis2->visible());
    QCOMPARE(chart->yAxis2->label(), QString("Stat.modulus, MPa"));
    QVERIFY(chart->yAxis2->range().contains(45));

    const auto drawn = [chart](PointClass pointClass) {
        QList<QPointF> points;
        const QCPGraph *graph = chart->points(pointClass, TrendAxis::Static);
        for (int i = 0; i < graph->dataCount(); ++i)
            points << QPointF(graph->data()->at(i)->key, graph->data()->at(i)->value);
        return points;
    };
    QCOMPARE(drawn(PointClass::Meets), (QList<QPointF>{{1, 50}, {5, 50}}));
    QCOMPARE(drawn(PointClass::DoesNotMeet), (QList<QPointF>{{3, 45}}));
    for (const QPointF &point : drawn(PointClass::Meets) + drawn(PointClass::DoesNotMeet))
        QVERIFY(chart->yAxis2->range().contains(point.y()));
    QCOMPARE(chart->points(PointClass::Meets, TrendAxis::Static)->valueAxis(), chart->yAxis2);

    // The subgrade has no rule: no static axis, nothing on it.
    chooseGroup(1);
    QVERIFY(!chart->yAxis2->visible());
    for (PointClass pointClass : {PointClass::Meets, PointClass::DoesNotMeet, PointClass::NotJudged})
        QCOMPARE(chart->points(pointClass, TrendAxis::Static)->dataCount(), 0);
}

void TestStatisticsWindow::clickingAPointChoosesTheSeries_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("point"); // of the group's trend
    QTest::addColumn<int>("current"); // Table 1's current row before the click
    QTest::addColumn<int>("table1Row");
    QTest::addColumn<int>("impacts"); // of that series, as Table 2 then shows

    QTest::newRow("a failing base course series") << 0 << 1 << 2 << 4 << 1;
    QTest::newRow("the last series") << 0 << 2 << 2 << 6 << 3;
    QTest::newRow("the subgrade series") << 1 << 0 << 6 << 3 << 1;
    QTest::newRow("the series already current") << 0 << 0 << 2 << 2 << 2;
}

void TestStatisticsWindow::clickingAPointChoosesTheSeries()
{
    QFETCH(int, group);
    QFETCH(int, point);
    QFETCH(int, current);
    QFETCH(int, table1Row);
    QFETCH(int, impacts);

    makeWindow(FieldSeries);
    auto *table1 = window->findChild<QTableView *>("StringGrid1");
    auto *table2 = window->findChild<QTableView *>("StringGrid2");
    table1->setCurrentIndex(table1->model()->index(current - 1, 0));
    // A block of rows selected before: the click leaves the chosen row alone selected.
    table1->selectionModel()->select(QItemSelection(table1->model()->index(1, 0), table1->model()->index(4, 6)),
                                     QItemSelectionModel::Select);
    // Table 2 shows an impact chosen in it, which the click puts back to the series' first.
    table2->setCurrentIndex(table2->model()->index(1, 1));
    StatisticsWindow *statistics = openStatistics();
    chooseGroup(group);
    TrendChart *chart = statistics->chart();
    QTRY_VERIFY(chart->isVisible() && chart->width() > 100);
    chart->replot();

    const TrendPoint target = chart->trend().points.at(point);
    const QPoint at(qRound(chart->xAxis->coordToPixel(target.position)),
                    qRound(chart->yAxis->coordToPixel(target.dynamicModulus)));
    QTest::mouseClick(chart, Qt::LeftButton, {}, at);

    QCOMPARE(table1->currentIndex().row() + 1, table1Row);
    QList<int> selected;
    for (const QModelIndex &index : table1->selectionModel()->selectedRows())
        selected << index.row() + 1;
    QCOMPARE(selected, QList<int>{table1Row});
    QCOMPARE(table2->model()->columnCount(), 1 + impacts);
    QVERIFY(!table2->currentIndex().isValid());
}

void TestStatisticsWindow::helpKeyOpensItsSection()
{
    QList<QUrl> opened;
    replaceShellForTests([&opened](const QUrl &url) { opened << url; });
    QVERIFY(QDir(folder->path()).mkpath("Help"));
    const QString guide = testing::writeTestFile(folder->filePath("Help/KVT10Help.en.html"), "<html></html>");
    QVERIFY(!guide.isEmpty());
    makeWindow(FieldSeries);
    StatisticsWindow *statistics = openStatistics();
    QApplication::setActiveWindow(statistics);
    QVERIFY(QTest::qWaitForWindowActive(statistics));

    QTest::keyClick(statistics->table(), Qt::Key_F1);
    QUrl expected = QUrl::fromLocalFile(guide);
    expected.setFragment("statistics");
    QCOMPARE(opened, QList<QUrl>{expected});
    replaceShellForTests({});
}

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statistics_window.moc"
