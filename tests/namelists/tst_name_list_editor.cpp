#include "mainwindow/formmain.h"
#include "namelists/name_list_editor.h"
#include "namelists/name_table.h"
#include "support/scripted_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kvt;

Q_DECLARE_METATYPE(Qt::Key)

// The editor windows: typing, captions, and the main window's commands that
// open them, with no instrument present.
class TestNameListEditor : public QObject {
    Q_OBJECT
private slots:
    void init();

    void typing_data();
    void typing();
    void pastingALongerName();
    void captionsStayInTheirLanguage();
    void commandMenu();
    void oneEditorPerList();
    void screenViewersMayBeMany();

private:
    std::unique_ptr<NameListEditor> makeEditor(const NameListKind &kind, Language language);
    std::unique_ptr<TForm1> makeWindow();

    QTemporaryDir dir;
    std::unique_ptr<SettingsFile> settings;
    ScriptedPrompts prompts;
    LinkShared shared;
    FakeClock clock;
    NameListState state;
    MeasurementStore store;
};

void TestNameListEditor::init()
{
    settings = std::make_unique<SettingsFile>(dir.filePath("KVT10.ini"));
    QFile::remove(settings->path());
    settings->writeString(u"Config", u"LangId", QStringLiteral("ENG"));
    prompts = ScriptedPrompts();
    shared.linkState = StateSearch;
    state = NameListState();
}

std::unique_ptr<NameListEditor> TestNameListEditor::makeEditor(const NameListKind &kind, Language language)
{
    NameListLink link{shared, clock, [] {}};
    auto files = [this, language] { return FileCommandContext{prompts, *settings, dir.path(), language}; };
    if (&kind == &objectsKind())
        return std::make_unique<TfrmObjects>(state, link, files, nullptr);
    return std::make_unique<TfrmMaterials>(state, link, files, nullptr);
}

std::unique_ptr<TForm1> TestNameListEditor::makeWindow()
{
    return std::make_unique<TForm1>(store, *settings, prompts, dir.path());
}

void TestNameListEditor::typing_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("after");

    const QString eighteen(18, u'x');
    QTest::newRow("the 19th character") << eighteen << Qt::Key_A << eighteen + "a";
    QTest::newRow("a 20th character is discarded") << eighteen + "x" << Qt::Key_A << eighteen + "x";
    QTest::newRow("a space too") << eighteen + "x" << Qt::Key_Space << eighteen + "x";
    QTest::newRow("Backspace still works") << eighteen + "x" << Qt::Key_Backspace << eighteen;
    QTest::newRow("Delete still works") << eighteen + "x" << Qt::Key_Delete << eighteen;
}

void TestNameListEditor::typing()
{
    QFETCH(QString, before);
    QFETCH(Qt::Key, key);
    QFETCH(QString, after);

    auto editor = makeEditor(materialsKind(), Language::English);
    editor->show();
    QLineEdit *field = editor->field(3);
    field->setText(before);
    field->setFocus();
    if (key == Qt::Key_Delete)
        field->home(false);
    QVERIFY(!state.listChanged);
    QTest::keyClick(field, key);
    QCOMPARE(field->text(), after);
    QVERIFY(state.listChanged); // every key press counts as a change
}

void TestNameListEditor::pastingALongerName()
{
    auto editor = makeEditor(materialsKind(), Language::English);
    editor->show();
    QGuiApplication::clipboard()->setText(QString(25, u'p'));
    editor->field(1)->setFocus();
    QTest::keySequence(editor->field(1), QKeySequence::Paste);
    QCOMPARE(editor->field(1)->text(), QString(25, u'p'));
    QVERIFY(state.listChanged);
}

void TestNameListEditor::captionsStayInTheirLanguage()
{
    auto objects = makeEditor(objectsKind(), Language::Russian);
    QCOMPARE(objects->windowTitle(), "Названия объектов");
    QCOMPARE(objects->size(), QSize(328, 248));
    QVERIFY(!objects->field(0)->isEnabled());
    QVERIFY(objects->field(1)->isEnabled());
    QCOMPARE(objects->field(12)->geometry(), QRect(192, 176, 121, 21));
    const struct {
        const char *name;
        const char *caption;
        QRect geometry;
    } buttons[] = {
        {"btnFromDevice", "Из прибора", {16, 152, 73, 17}}, {"btnToDevice", "В прибор", {16, 176, 73, 17}},
        {"btnFromFile", "Из файла", {104, 152, 73, 17}},    {"btnToFile", "В файл", {104, 176, 73, 17}},
        {"ButtonDefault", "По умолчанию", {40, 208, 83, 25}}, {"btnClose", "Закрыть", {208, 208, 83, 25}},
    };
    for (const auto &expected : buttons) {
        auto *button = objects->findChild<QPushButton *>(expected.name);
        QVERIFY2(button, expected.name);
        QCOMPARE(button->text(), QString::fromUtf8(expected.caption));
        QCOMPARE(button->geometry(), expected.geometry);
    }

    auto materials = makeEditor(materialsKind(), Language::English);
    QCOMPARE(materials->windowTitle(), "Materials names");
    QCOMPARE(materials->findChild<QPushButton *>("ButtonDefault")->geometry(), QRect(40, 208, 81, 25));
    QCOMPARE(materials->findChild<QPushButton *>("btnClose")->geometry(), QRect(200, 208, 83, 25));
    QCOMPARE(materials->findChild<QPushButton *>("btnFromDevice")->text(), "From device");
}

void TestNameListEditor::commandMenu()
{
    auto window = makeWindow();
    auto *commands = window->menuBar()->findChild<QMenu *>("itmCmd");
    QVERIFY(commands);
    QStringList names, captions;
    for (QAction *item : commands->actions()) {
        names << item->objectName();
        captions << item->text();
    }
    QCOMPARE(names, (QStringList{"AGaugeRead", "AMaterialEdit", "AObjectEdit", "AScreenshot", "AStatistics"}));
    QCOMPARE(captions, (QStringList{"Read KVT-1.0", "Materials names edit", "Objects names edit", "Screenshot read",
                                    "Statistics..."}));
}

void TestNameListEditor::oneEditorPerList()
{
    auto window = makeWindow();
    window->AMaterialEditExecute();
    QPointer<NameListEditor> first = window->materialEditor();
    QVERIFY(first && first->isVisible());
    QVERIFY(window->materialEditorOpen());
    QVERIFY(!window->objectEditorOpen());
    // No instrument: the fields stay empty.
    for (int slot = 0; slot < 13; ++slot)
        QCOMPARE(first->field(slot)->text(), QString());

    first->ButtonDefaultClick();
    prompts.answerButton(PromptButton::Cancel);
    QVERIFY(!first->close());
    window->AMaterialEditExecute();
    QCOMPARE(window->findChildren<NameListEditor *>().size(), 1);

    prompts.answerButton(PromptButton::No);
    QVERIFY(first->close());
    QVERIFY(!window->materialEditorOpen());
    QTRY_VERIFY(!first);
    QCOMPARE(prompts.messages().size(), size_t(2));
    QCOMPARE(namesFromTable(window->link().materialNamesBuffer), QStringList(13)); // nothing was written

    // The list's flags outlive the editor: Default filled it once, so To file now asks.
    window->AMaterialEditExecute();
    QVERIFY(window->materialEditor() && window->materialEditor() != first);
    window->materialEditor()->btnToFileClick();
    QCOMPARE(prompts.saveRequests().size(), size_t(1));
}

void TestNameListEditor::screenViewersMayBeMany()
{
    // An installed program's folder cannot be written: the picture goes beside the settings.
    TForm1 window(store, *settings, prompts, QStringLiteral("/nonexistent/kvt10"));
    QFile::remove(dir.filePath("Screenshot.bmp"));
    window.AScreenshotExecute();
    QVERIFY(QFile::exists(dir.filePath("Screenshot.bmp")));
    window.AScreenshotExecute();
    const QList<QWidget *> viewers = window.findChildren<QWidget *>("frmScreenshot");
    QCOMPARE(viewers.size(), 2);
    QCOMPARE(viewers.front()->windowTitle(), "Экран прибора");
    QVERIFY(viewers.front()->isVisible());
}

QTEST_MAIN(TestNameListEditor)
#include "tst_name_list_editor.moc"
