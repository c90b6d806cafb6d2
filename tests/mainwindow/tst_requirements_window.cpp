#include "evaluation/requirement_settings.h"
#include "evaluation/requirements_dialog.h"
#include "evaluation/series_marks.h"
#include "files/kvt_file.h"
#include "files/save_dialog.h"
#include "mainwindow/dialog_font.h"
#include "mainwindow/formmain.h"
#include "namelists/name_list_kind.h"
#include "read_only_path.h"
#include "store/table_texts.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QBrush>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <limits>
#include <memory>

using namespace kvt;

using Rules = QList<RequirementRule>;
using Rows = QList<RequirementRow>;
using Marks = QStringList; // "column,row: tooltip" of each red cell, in grid coordinates

namespace {

// Four series: "Несущий слой" on crushed stone at 95 and 140 MPa, on sand at
// 75 MPa (static 30), and "Road 7" that no rule names.
const QList<testing::SeriesContent> Series{
    {"Несущий слой", "Щебень", {90, 100}, {50, 50}},
    {"Несущий слой", "Песок", {70, 80}, {30, 30}},
    {"Road 7", "Sand", {10, 10}, {5, 5}},
    {"Несущий слой", "Щебень", {130, 150}, {20, 20}},
};
// The object's rule and the crushed stone's, as an engineer types them.
const Rows TypedRows{{"Несущий слой", "", "85", "40", ""}, {" несущий слой ", "Щебень", "120,0", "", "25.5"}};
const Rules TypedRules{{"Несущий слой", "", 85, 40, {}}, {"несущий слой", "Щебень", 120, {}, 25.5}};

QString mark(int column, int row, const RequirementRule &rule, Language language)
{
    return QStringLiteral("%1,%2: %3").arg(column).arg(row).arg(ruleText(rule, language));
}

// The marks of Series under TypedRules: crushed stone at 95 is below its own
// rule; sand is below the object's in both moduli; the rest pass or have no rule.
Marks typedMarks(Language language)
{
    return {mark(SeriesDynamicColumn, 2, TypedRules[1], language), mark(SeriesDynamicColumn, 3, TypedRules[0], language),
            mark(SeriesStaticColumn, 3, TypedRules[0], language)};
}

} // namespace

// The requirements editor through the main window, and Table 1's marks.
class TestRequirementsWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menuItem_data();
    void menuItem();
    void editorKeepsRulesAndMarksTable_data();
    void editorKeepsRulesAndMarksTable();
    void nameCellsOfferKnownNames();
    void nameColumnsHoldAWholeName_data();
    void nameColumnsHoldAWholeName();
    void okKeepsTheCellBeingEdited_data();
    void okKeepsTheCellBeingEdited();
    void faultyRowKeepsEditorOpen_data();
    void faultyRowKeepsEditorOpen();
    void cancelKeepsOldRules();
    void readOnlySettingsFileIsReported();
    void marksFollowTheTable_data();
    void marksFollowTheTable();
    void rulesSurviveRestart();
    void exitKeepsRules(); // last: see there

private:
    void makeWindow(Language language, const QList<testing::SeriesContent> &series = Series);
    // Opens the editor from the menu and lets use work in it; the editor is
    // closed afterwards whatever use left it in.
    void inEditor(const std::function<void(RequirementsDialog &)> &use);
    static void typeRows(RequirementsDialog &dialog, const Rows &rows);
    static void click(RequirementsDialog &dialog, const char *button);
    Marks marks() const;
    QList<QStringList> table1Texts() const;

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
    QString lockedFile;
};

void TestRequirementsWindow::init()
{
    window.reset();
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
}

void TestRequirementsWindow::cleanup()
{
    if (!lockedFile.isEmpty())
        testing::setReadOnly(lockedFile, false);
    lockedFile.clear();
    window.reset();
}

void TestRequirementsWindow::makeWindow(Language language, const QList<testing::SeriesContent> &series)
{
    QFile ini(settings->path());
    if (!ini.exists()) {
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(language == Language::English ? "[Config]\nLangId=Eng\n" : "[Config]\nLangId=Rus\n");
        ini.close();
    }
    testing::fillStoreWith(*store, series);
    window = std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
    window->resize(900, 600);
    window->show();
    window->fillSeriesTable();
}

void TestRequirementsWindow::inEditor(const std::function<void(RequirementsDialog &)> &use)
{
    bool opened = false;
    QTimer::singleShot(0, window.get(), [&] {
        auto *dialog = window->findChild<RequirementsDialog *>();
        if (!dialog)
            return;
        opened = true;
        use(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    window->findChild<QAction *>("ARequirements")->trigger();
    QVERIFY(opened);
}

// What the name cells' editors and the number cells' line edits leave in the cells.
void TestRequirementsWindow::typeRows(RequirementsDialog &dialog, const Rows &rows)
{
    auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
    for (const RequirementRow &row : rows) {
        click(dialog, "btnAdd");
        const int r = table->rowCount() - 1;
        const QString texts[] = {row.object, row.material, row.dynamicModulus, row.staticModulus, row.largestCv};
        for (int column = 0; column < RequirementColumns; ++column)
            table->model()->setData(table->model()->index(r, column), texts[column]);
    }
}

void TestRequirementsWindow::click(RequirementsDialog &dialog, const char *button)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(button), Qt::LeftButton);
}

Marks TestRequirementsWindow::marks() const
{
    const QAbstractItemModel *model = window->findChild<QTableView *>("StringGrid1")->model();
    Marks found;
    for (int row = 0; row < model->rowCount(); ++row) {
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            const QString tip = index.data(Qt::ToolTipRole).toString();
            const QVariant brush = index.data(Qt::ForegroundRole);
            const bool red = brush.isValid() && brush.value<QBrush>().color() == QColor(Qt::red);
            if (red || !tip.isEmpty())
                found << QStringLiteral("%1,%2: %3").arg(column).arg(row + 1).arg(red ? tip : "not red: " + tip);
        }
    }
    return found;
}

QList<QStringList> TestRequirementsWindow::table1Texts() const
{
    const QAbstractItemModel *model = window->findChild<QTableView *>("StringGrid1")->model();
    QList<QStringList> texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList line;
        for (int column = 0; column < model->columnCount(); ++column)
            line << model->index(row, column).data().toString();
        texts << line;
    }
    return texts;
}

void TestRequirementsWindow::menuItem_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("caption");

    QTest::newRow("ru") << Language::Russian << "Требования...";
    QTest::newRow("en") << Language::English << "Requirements...";
}

// After the Language submenu, the last item of Parameters, in both languages.
void TestRequirementsWindow::menuItem()
{
    QFETCH(Language, language);
    QFETCH(QString, caption);

    makeWindow(language == Language::Russian ? Language::English : Language::Russian);
    language == Language::Russian ? window->ALangRusExecute() : window->ALangEngExecute();
    const QList<QAction *> items = window->findChild<QMenu *>("itmParam")->actions();
    QCOMPARE(items.size(), 2);
    QCOMPARE(items[0]->menu(), window->findChild<QMenu *>("itmLanguage"));
    QCOMPARE(items[1]->objectName(), QString("ARequirements"));
    QCOMPARE(items[1]->text(), caption);
}

void TestRequirementsWindow::editorKeepsRulesAndMarksTable_data()
{
    QTest::addColumn<Language>("language");

    QTest::newRow("ru") << Language::Russian;
    QTest::newRow("en") << Language::English;
}

void TestRequirementsWindow::editorKeepsRulesAndMarksTable()
{
    QFETCH(Language, language);

    makeWindow(language);
    const QList<QStringList> before = table1Texts();
    QCOMPARE(marks(), Marks{});
    QSignalSpy changed(window.get(), &TForm1::requirementsChangedSignal);

    inEditor([&](RequirementsDialog &dialog) {
        QCOMPARE(dialog.windowTitle(), language == Language::Russian ? QString("Требования") : QString("Requirements"));
        QCOMPARE(dialog.rows(), Rows{});
        typeRows(dialog, TypedRows);
        click(dialog, "btnOK");
        QVERIFY(!dialog.isVisible());
    });

    QCOMPARE(prompts.messages().size(), size_t(0));
    QCOMPARE(readRequirementRules(*settings), std::optional(TypedRules));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(marks(), typedMarks(language));
    QCOMPARE(table1Texts(), before);
}

// The store's names first, then the instrument's list (its factory names while
// it was never read in), each once; a typed name is taken as it is.
void TestRequirementsWindow::nameCellsOfferKnownNames()
{
    makeWindow(Language::English);
    QStringList materials = defaultNames(materialsKind(), Language::English);
    materials.removeOne("Sand");
    const QList<std::tuple<RequirementColumn, QStringList, QString>> cases{
        {RequirementColumn::Object, QStringList{"Несущий слой", "Road 7"} + defaultNames(objectsKind(), Language::English),
         "Объект 9"},
        {RequirementColumn::Material, QStringList{"Щебень", "Песок", "Sand"} + materials, "Гравий"}};

    inEditor([&](RequirementsDialog &dialog) {
        click(dialog, "btnAdd");
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        for (const auto &[column, names, typed] : cases) {
            table->setCurrentCell(0, int(column));
            table->edit(table->currentIndex());
            auto *combo = qobject_cast<QComboBox *>(table->indexWidget(table->currentIndex()));
            QVERIFY(combo);
            QVERIFY(combo->isEditable());
            QStringList offered;
            for (int i = 0; i < combo->count(); ++i)
                offered << combo->itemText(i);
            QCOMPARE(offered, names);
            combo->setCurrentText(typed);
            table->setCurrentCell(0, int(RequirementColumn::Dynamic)); // moving on commits the cell
            QCOMPARE(table->item(0, int(column))->text(), typed);
        }
    });
}

void TestRequirementsWindow::nameColumnsHoldAWholeName_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("English") << Language::English;
    QTest::newRow("Russian") << Language::Russian;
}

// A new row's empty name cells were as narrow as their headers ("Object"):
// too narrow to see what is being typed.
void TestRequirementsWindow::nameColumnsHoldAWholeName()
{
    QFETCH(Language, language);
    makeWindow(language);
    inEditor([&](RequirementsDialog &dialog) {
        click(dialog, "btnAdd");
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        const QFontMetrics metrics(smallDialogFont());
        QCOMPARE(table->font(), dialog.font());
        for (const QString name : {"Подстилающий слой 1", "Несущий слой дороги", "Щебень фракции 5-20"}) {
            QVERIFY2(table->columnWidth(int(RequirementColumn::Object)) >= metrics.horizontalAdvance(name),
                     qPrintable(name));
            QVERIFY2(table->columnWidth(int(RequirementColumn::Material)) >= metrics.horizontalAdvance(name),
                     qPrintable(name));
        }
        // The numbers still fit beside them in the editor's first size.
        QVERIFY(table->horizontalHeader()->length() <= table->viewport()->width());
    });
}

void TestRequirementsWindow::okKeepsTheCellBeingEdited_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Rules>("rules");

    QTest::newRow("a name in its combo box") << int(RequirementColumn::Material) << "Гравий"
                                             << Rules{{"Несущий слой", "Гравий", 85, {}, {}}};
    QTest::newRow("a number") << int(RequirementColumn::Dynamic) << "92,5"
                              << Rules{{"Несущий слой", "", 92.5, {}, {}}};
}

// The engineer types into a cell and presses OK straight away.
void TestRequirementsWindow::okKeepsTheCellBeingEdited()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(Rules, rules);

    makeWindow(Language::English);
    inEditor([&](RequirementsDialog &dialog) {
        typeRows(dialog, {{"Несущий слой", "", "85", "", ""}});
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        table->setCurrentCell(0, column);
        table->edit(table->currentIndex());
        QWidget *editor = table->indexWidget(table->currentIndex());
        QVERIFY(editor);
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->setCurrentText(typed);
        else
            QTest::keyClicks(editor, typed);
        click(dialog, "btnOK");
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(readRequirementRules(*settings), std::optional(rules));
}

void TestRequirementsWindow::faultyRowKeepsEditorOpen_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("nameTooLong");

    QTest::newRow("no object, ru") << Language::Russian << Rows{TypedRows[0], {"", "Щебень", "120", "", ""}} << 1
                                   << int(RequirementColumn::Object) << false;
    QTest::newRow("dynamic not a number, en")
        << Language::English << Rows{{"Несущий слой", "", "85 MPa", "", ""}} << 0 << int(RequirementColumn::Dynamic) << false;
    QTest::newRow("a material longer than any instrument name, en")
        << Language::English << Rows{TypedRows[0], {"Несущий слой", "Щебень фракции 20-40", "120", "", ""}} << 1
        << int(RequirementColumn::Material) << true;
    QTest::newRow("negative static, en")
        << Language::English << Rows{{"Несущий слой", "", "85", "-40", ""}} << 0 << int(RequirementColumn::Static) << false;
}

// The fault is named, the cell at fault is made current and nothing typed is
// lost; the file keeps the rules it had.
void TestRequirementsWindow::faultyRowKeepsEditorOpen()
{
    QFETCH(Language, language);
    QFETCH(Rows, rows);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, nameTooLong);

    makeWindow(language);
    const Rules old{{"Road 7", "", 10, {}, {}}};
    QVERIFY(writeRequirementRules(*settings, old));
    QSignalSpy changed(window.get(), &TForm1::requirementsChangedSignal);

    inEditor([&](RequirementsDialog &dialog) {
        typeRows(dialog, rows);
        click(dialog, "btnOK");
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.rows(), requirementRows(old) + rows);
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        QCOMPARE(table->currentRow(), row + 1);
        QCOMPARE(table->currentColumn(), column);
    });

    QCOMPARE(prompts.messages().size(), size_t(1));
    const MessageRequest &message = prompts.messages()[0];
    QCOMPARE(message.text, requirementProblemText({row + 1, RequirementColumn(column), nameTooLong}, language));
    QCOMPARE(message.icon, PromptIcon::Warning);
    QCOMPARE(message.caption, language == Language::Russian ? QString("КВТ-1.0") : QString("KVT-1.0"));
    QCOMPARE(readRequirementRules(*settings), std::optional(old));
    QCOMPARE(changed.count(), 0);
}

void TestRequirementsWindow::cancelKeepsOldRules()
{
    makeWindow(Language::English);
    QVERIFY(writeRequirementRules(*settings, TypedRules));
    window->requirementsChanged();
    QSignalSpy changed(window.get(), &TForm1::requirementsChangedSignal);

    inEditor([&](RequirementsDialog &dialog) {
        QCOMPARE(dialog.rows(), requirementRows(TypedRules));
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        table->setCurrentCell(0, 0);
        click(dialog, "btnDelete");
        typeRows(dialog, {{"Road 7", "", "5", "", ""}});
        click(dialog, "btnCancel");
    });

    QCOMPARE(readRequirementRules(*settings), std::optional(TypedRules));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(marks(), typedMarks(Language::English));
}

// A settings file that cannot be written: the failure is said, the editor
// stays open with the rows as typed, and the file and the marks keep the old rules.
void TestRequirementsWindow::readOnlySettingsFileIsReported()
{
    makeWindow(Language::English);
    QVERIFY(writeRequirementRules(*settings, TypedRules));
    window->requirementsChanged();
    if (!testing::setReadOnly(settings->path(), true))
        QSKIP("cannot make a file read-only here");
    lockedFile = settings->path();
    QSignalSpy changed(window.get(), &TForm1::requirementsChangedSignal);
    const Rows changedRows{{"Road 7", "", "5", "", ""}};

    inEditor([&](RequirementsDialog &dialog) {
        auto *table = dialog.findChild<QTableWidget *>("RequirementsTable");
        table->setCurrentCell(1, 0);
        click(dialog, "btnDelete");
        typeRows(dialog, changedRows);
        click(dialog, "btnOK");
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.rows(), Rows{requirementRows(TypedRules)[0]} + changedRows);
    });

    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].text,
             cannotCreateMessage(QDir::toNativeSeparators(settings->path()), Language::English).text);
    QCOMPARE(prompts.messages()[0].icon, PromptIcon::Warning);
    QCOMPARE(readRequirementRules(*settings), std::optional(TypedRules));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(marks(), typedMarks(Language::English));
}

void TestRequirementsWindow::marksFollowTheTable_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<Marks>("expected");

    const RequirementRule &object = TypedRules[0];
    const RequirementRule &stone = TypedRules[1];
    QTest::newRow("the first series deleted: sand moves up")
        << "delete" << Marks{mark(SeriesDynamicColumn, 2, object, Language::Russian),
                             mark(SeriesStaticColumn, 2, object, Language::Russian)};
    QTest::newRow("language switched: the tooltips in English") << "english" << typedMarks(Language::English);
    QTest::newRow("rules changed: only the new one marks")
        << "rules" << Marks{mark(SeriesDynamicColumn, 4, {"Road 7", "Sand", 11, {}, {}}, Language::Russian)};
    QTest::newRow("rules removed") << "no rules" << Marks{};
    QTest::newRow("another file opened: its NAN and passing series unmarked")
        << "open" << Marks{mark(SeriesDynamicColumn, 4, stone, Language::Russian)};
    QTest::newRow("a file of no series") << "open empty" << Marks{};
}

void TestRequirementsWindow::marksFollowTheTable()
{
    QFETCH(QString, step);
    QFETCH(Marks, expected);

    makeWindow(Language::Russian);
    QVERIFY(writeRequirementRules(*settings, TypedRules));
    window->requirementsChanged();
    QCOMPARE(marks(), typedMarks(Language::Russian));

    if (step == "delete") {
        auto *grid = window->findChild<QTableView *>("StringGrid1");
        grid->setCurrentIndex(grid->model()->index(1, 0));
        window->ADelSeriesExecute();
    } else if (step == "english") {
        window->ALangEngExecute();
    } else if (step == "rules" || step == "no rules") {
        QVERIFY(writeRequirementRules(*settings, step == "rules" ? Rules{{"Road 7", "Sand", 11, {}, {}}} : Rules{}));
        window->requirementsChanged();
    } else {
        // A file whose first series has no valid moduli ("NAN") and whose
        // second reaches the object's rule but not the stone's.
        const float Nan = std::numeric_limits<float>::quiet_NaN();
        MeasurementStore other;
        if (step == "open")
            testing::fillStoreWith(other, {{"Несущий слой", "Песок", {Nan}, {Nan}},
                                           {"Несущий слой", "Песок", {90}, {45}},
                                           {"Несущий слой", "Щебень", {100}, {45}}});
        const QString file = folder->filePath("other.kvt");
        QCOMPARE(saveKvtFile(file, other), KvtSaveStatus::Saved);
        window->AOpenExecute(file);
    }
    QCOMPARE(marks(), expected);
}

void TestRequirementsWindow::rulesSurviveRestart()
{
    makeWindow(Language::English);
    inEditor([&](RequirementsDialog &dialog) {
        typeRows(dialog, TypedRows);
        click(dialog, "btnOK");
    });
    window.reset();

    store = std::make_unique<MeasurementStore>();
    makeWindow(Language::English);
    QCOMPARE(marks(), typedMarks(Language::English));
    inEditor([&](RequirementsDialog &dialog) { QCOMPARE(dialog.rows(), requirementRows(TypedRules)); });
}

// Exit rewrites the window's keys; the rules must come through. Last of the
// suite: Exit ends the application's event loops, so no dialog opens after it.
void TestRequirementsWindow::exitKeepsRules()
{
    makeWindow(Language::Russian);
    QVERIFY(writeRequirementRules(*settings, TypedRules));
    window->close(); // the close button ends the same way as Exit
    window.reset();
    QCOMPARE(readRequirementRules(*settings), std::optional(TypedRules));

    store = std::make_unique<MeasurementStore>();
    makeWindow(Language::Russian);
    QCOMPARE(marks(), typedMarks(Language::Russian));
}

QTEST_MAIN(TestRequirementsWindow)
#include "tst_requirements_window.moc"
