#include "device/link_state.h"
#include "files/kvt_file.h"
#include "mainwindow/about_box.h"
#include "mainwindow/about_texts.h"
#include "mainwindow/formmain.h"
#include "mainwindow/language_dialog.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/shell_open.h"
#include "store_fixture.h"
#include "support/common_texts.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QStringEncoder>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::Language)

// Catches what the window asks the desktop to open, so no viewer starts.
struct OpenedUrls {
    QList<QUrl> urls;
};

class TestFormMain : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstStart();
    void laterStartSkipsTheQuestion();
    void unreadableSettingsAreSaid_data();
    void unreadableSettingsAreSaid();
    void views_data();
    void views();
    void languageSwitch_data();
    void languageSwitch();
    void exitWhileMaximized();
    void exitWritesBounds();
    void outerBounds_data();
    void outerBounds();
    void statusTextsFitTheirPanel_data();
    void statusTextsFitTheirPanel();
    void splitterDragChangesShare();
    void openShowsStatus();
    void help_data();
    void help();
    void helpAtSection_data();
    void helpAtSection();
    void helpInToolWindows_data();
    void helpInToolWindows();
    void languageDialog_data();
    void languageDialog();
    void aboutBox_data();
    void aboutBox();

private:
    void writeIni(const QByteArray &text);
    QString iniValue(const char *section, const char *key) const;
    std::unique_ptr<TForm1> makeWindow();
    QLabel *statusPanel(TForm1 &window, int index);
    // An English guide beside the program; what the help command opens to show the section.
    QUrl englishGuideAt(const QString &section);

    OpenedUrls opened;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
};

void TestFormMain::initTestCase()
{
    replaceShellForTests([this](const QUrl &url) { opened.urls << url; });
}

void TestFormMain::init()
{
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
    opened.urls.clear();
}

void TestFormMain::cleanup()
{
    QVERIFY2(prompts.scriptUsedUp(), "a scripted answer was never asked for");
}

void TestFormMain::writeIni(const QByteArray &text)
{
    QFile file(settings->path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QString TestFormMain::iniValue(const char *section, const char *key) const
{
    return settings->readString(QString::fromLatin1(section), QString::fromLatin1(key), "<none>", 256);
}

std::unique_ptr<TForm1> TestFormMain::makeWindow()
{
    return std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
}

QLabel *TestFormMain::statusPanel(TForm1 &window, int index)
{
    return window.findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(index));
}

QUrl TestFormMain::englishGuideAt(const QString &section)
{
    writeIni("[Config]\nLangId=Eng\n");
    QDir(folder->path()).mkpath("Help");
    QFile guide(folder->filePath("Help/KVT10Help.en.html"));
    if (!guide.open(QIODevice::WriteOnly))
        qFatal("cannot write the guide");
    QUrl url = QUrl::fromLocalFile(guide.fileName());
    url.setFragment(section);
    return url;
}

void TestFormMain::firstStart()
{
    prompts.answerLanguage(Language::English);
    auto window = makeWindow();
    window->showAsStarted();

    QCOMPARE(prompts.languageQuestions(), 1);
    QCOMPARE(window->language(), Language::English);
    QCOMPARE(window->windowTitle(), QString("KVT-1.0"));
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QCOMPARE(window->frameGeometry().size(), QSize(500, 400));
    QCOMPARE(window->pos(), QPoint((screen.width() - 500) / 2, (screen.height() - 400) / 2));
    QCOMPARE(window->findChild<QTableView *>("StringGrid1")->width(), (window->centralWidget()->width()) / 2);

    // Standard view: only s(t) and F(t), both checked.
    QVERIFY(window->findChild<QCheckBox *>("CheckBoxAccel")->isHidden());
    QVERIFY(window->findChild<QCheckBox *>("CheckBoxVelocity")->isHidden());
    QVERIFY(window->findChild<QCheckBox *>("CheckBoxDisplacement")->isChecked());
    QVERIFY(window->findChild<QCheckBox *>("CheckBoxForce")->isChecked());

    QCOMPARE(iniValue("Config", "LangId"), QString("Eng"));
    QCOMPARE(iniValue("Config", "Uses"), QString("1"));
}

void TestFormMain::unreadableSettingsAreSaid_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // before the file's name

    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("UTF-16") << QByteArray(utf16.encode(u"[Config]\r\nLangId=Rus\r\nSuper=Y\r\n"))
                            << "A UTF-16 file cannot be read (save it as UTF-8 or Windows-1251): ";
    QTest::newRow("larger than any settings file")
        << QByteArray("[Config]\nLangId=Rus\nSuper=Y\n" + QByteArray(SettingsFile::MaxBytes, '\n'))
        << "Can't open file ";
}

void TestFormMain::unreadableSettingsAreSaid()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    writeIni(bytes);
    prompts.answerLanguage(Language::English);
    auto window = makeWindow();
    // The defaults serve: the language is asked, the standard view shown.
    QCOMPARE(prompts.languageQuestions(), 1);
    QVERIFY(window->findChild<QCheckBox *>("CheckBoxAccel")->isHidden());
    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].caption, QString("KVT-1.0"));
    QCOMPARE(prompts.messages()[0].text, message + QDir::toNativeSeparators(settings->path()));
    // Neither the start nor the exit replaces the user's file.
    window->AExitExecute();
    QFile file(settings->path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestFormMain::laterStartSkipsTheQuestion()
{
    writeIni("[Config]\nLangId=Rus\nUses=4\n");
    auto window = makeWindow();
    QCOMPARE(prompts.languageQuestions(), 0);
    QCOMPARE(window->language(), Language::Russian);
    QCOMPARE(window->windowTitle(), QString("КВТ-1.0"));
    QCOMPARE(iniValue("Config", "Uses"), QString("5"));
}

void TestFormMain::views_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QList<bool>>("visible");
    QTest::addColumn<QList<bool>>("checked");

    QTest::newRow("full view") << QByteArray("Super=Y") << QList<bool>{true, true, true, true}
                               << QList<bool>{false, false, true, true};
    QTest::newRow("standard view keeps a(t) checked but hidden")
        << QByteArray("Super=N\nAccelGraph=Y\nForceGraph=N") << QList<bool>{false, false, true, true}
        << QList<bool>{true, false, true, false};
}

void TestFormMain::views()
{
    QFETCH(QByteArray, config);
    QFETCH(QList<bool>, visible);
    QFETCH(QList<bool>, checked);

    writeIni("[Config]\nLangId=Eng\n" + config + "\n");
    auto window = makeWindow();
    window->showAsStarted();
    const char *names[] = {"CheckBoxAccel", "CheckBoxVelocity", "CheckBoxDisplacement", "CheckBoxForce"};
    for (int i = 0; i < 4; ++i) {
        auto *box = window->findChild<QCheckBox *>(names[i]);
        QCOMPARE(box->isVisible(), visible[i]);
        QCOMPARE(box->isChecked(), checked[i]);
    }
}

void TestFormMain::languageSwitch_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("langId");

    QTest::newRow("to Russian") << Language::Russian << "КВТ-1.0" << "Rus";
    QTest::newRow("to English") << Language::English << "KVT-1.0" << "Eng";
}

void TestFormMain::languageSwitch()
{
    QFETCH(Language, language);
    QFETCH(QString, title);
    QFETCH(QString, langId);

    // Start in the other language, then switch.
    writeIni(language == Language::Russian ? "[Config]\nLangId=Eng\n" : "[Config]\nLangId=Rus\n");
    auto window = makeWindow();
    if (language == Language::Russian)
        window->ALangRusExecute();
    else
        window->ALangEngExecute();

    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(iniValue("Config", "LangId"), langId);
    int captioned = 0;
    for (const QAction *action : window->findChildren<QAction *>()) {
        const QString expected = captionOf(action->objectName().toLatin1().constData(), language);
        if (!expected.isEmpty()) {
            QCOMPARE(action->text(), expected);
            ++captioned;
        }
    }
    for (const QMenu *menu : window->findChildren<QMenu *>())
        QCOMPARE(menu->title(), captionOf(menu->objectName().toLatin1().constData(), language));
    QVERIFY(captioned > 0);

    // The language items read the same in both languages and carry the check mark.
    auto *russian = window->findChild<QAction *>("ALangRus");
    auto *english = window->findChild<QAction *>("ALangEng");
    QCOMPARE(russian->text(), QString("Русский"));
    QCOMPARE(english->text(), QString("English"));
    QCOMPARE(russian->isChecked(), language == Language::Russian);
    QCOMPARE(english->isChecked(), language == Language::English);

    // Headers and hints follow.
    auto *table2 = window->findChild<QTableView *>("StringGrid2");
    QCOMPARE(table2->model()->headerData(1, Qt::Horizontal).toString(),
             language == Language::Russian ? QString("1-й удар") : QString("1-st impact"));
    QCOMPARE(window->findChild<QCheckBox *>("CheckBoxForce")->toolTip(), CurveHints[3].text(language));
}

void TestFormMain::exitWhileMaximized()
{
    writeIni("[FormMain]\nMaximized=1\nLeft=11\nTop=12\nWidth=613\nHeight=414\nTable1Width=315\n"
             "[Config]\nLangId=Eng\n");
    auto window = makeWindow();
    window->showAsStarted();
    QVERIFY(window->isMaximized());
    window->AExitExecute();
    QCOMPARE(iniValue("FormMain", "Maximized"), QString("1"));
    QCOMPARE(iniValue("FormMain", "Left"), QString("11"));
    QCOMPARE(iniValue("FormMain", "Width"), QString("613"));
    QCOMPARE(iniValue("FormMain", "Table1Width"), QString("315"));
}

void TestFormMain::exitWritesBounds()
{
    writeIni("[FormMain]\nLeft=11\nTop=12\nWidth=613\nHeight=414\nTable1Width=315\n[Config]\nLangId=Eng\n");
    auto window = makeWindow();
    window->showAsStarted();
    window->findChild<QCheckBox *>("CheckBoxForce")->setChecked(false);
    window->close(); // the close button ends the same way as Exit
    QCOMPARE(iniValue("FormMain", "Maximized"), QString("0"));
    QCOMPARE(iniValue("FormMain", "Left"), QString("11"));
    QCOMPARE(iniValue("FormMain", "Top"), QString("12"));
    QCOMPARE(iniValue("FormMain", "Width"), QString("613"));
    QCOMPARE(iniValue("FormMain", "Height"), QString("414"));
    QCOMPARE(iniValue("FormMain", "Table1Width"), QString("315"));
    QCOMPARE(iniValue("Config", "ForceGraph"), QString("N"));
    QCOMPARE(iniValue("Config", "DisplacementGraph"), QString("Y"));
}

void TestFormMain::outerBounds_data()
{
    QTest::addColumn<QByteArray>("formMain");
    QTest::addColumn<QRect>("bounds"); // outer; null: the whole available screen

    QTest::newRow("as stored") << QByteArray("Left=11\nTop=12\nWidth=613\nHeight=414") << QRect(11, 12, 613, 414);
    QTest::newRow("from a larger screen") << QByteArray("Left=40\nTop=30\nWidth=2560\nHeight=1400") << QRect();
}

void TestFormMain::outerBounds()
{
    // Width and Height are the framed window's size: the frame comes out of
    // them, and a window from a larger screen stays on this one, status bar and all.
    QFETCH(QByteArray, formMain);
    QFETCH(QRect, bounds);

    writeIni("[FormMain]\n" + formMain + "\n[Config]\nLangId=Eng\n");
    auto window = makeWindow();
    window->showAsStarted();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_COMPARE(window->frameGeometry(), bounds.isNull() ? screen : bounds);
    const QWidget *bar = window->findChild<QWidget *>("StatusBar1");
    QVERIFY(screen.contains(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())));
}

void TestFormMain::statusTextsFitTheirPanel_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("trying to connect") << QString::fromUtf16(TryingToConnect);
    for (const TextPair &pair : {MsgVersionRead, MsgParametersRead, MsgScreenshotReading, MsgScreenshotReaded,
                                 MsgParamReaded, MsgParamWrited, MsgNoData, MsgLinkError, MsgCheckConnection}) {
        for (const Language language : {Language::Russian, Language::English})
            QTest::newRow(qPrintable(pair.text(language))) << pair.text(language);
    }
    // The longest count a store can hold.
    for (const Language language : {Language::Russian, Language::English})
        QTest::newRow(qPrintable(MsgDataReaded.text(language))) << MsgDataReaded.text(language) + " (3557)";
}

void TestFormMain::statusTextsFitTheirPanel()
{
    QFETCH(QString, text);

    writeIni("[Config]\nLangId=Eng\n");
    auto window = makeWindow();
    window->showAsStarted();
    window->setStatusText(text);
    QLabel *panel = statusPanel(*window, 1);
    QCOMPARE(panel->text(), text);
    QVERIFY2(panel->fontMetrics().horizontalAdvance(text) <= panel->contentsRect().width(),
             qPrintable(QString("%1 of %2 pixels").arg(panel->fontMetrics().horizontalAdvance(text))
                            .arg(panel->contentsRect().width())));
}

void TestFormMain::splitterDragChangesShare()
{
    writeIni("[Config]\nLangId=Eng\n");
    auto window = makeWindow();
    window->showAsStarted();
    const int client = window->centralWidget()->width();
    window->Splitter1CanResize(client / 4);
    QCOMPARE(window->table1Share(), client / 4 * 1000 / client);
    QCOMPARE(window->findChild<QTableView *>("StringGrid1")->width(), client * window->table1Share() / 1000);
}

void TestFormMain::openShowsStatus()
{
    writeIni("[Config]\nLangId=Eng\n");
    MeasurementStore source;
    kvt::testing::fillStoreWithSeries(source, {2, 3});
    QVERIFY(saveKvtFile(folder->filePath("site 4.kvt"), source) == KvtSaveStatus::Saved);

    auto window = makeWindow();
    window->AOpenExecute(folder->filePath("site 4.kvt"));
    QCOMPARE(statusPanel(*window, 0)->text(), QString("File \"site 4.kvt\""));
    QCOMPARE(statusPanel(*window, 1)->text(), QString("Data Readed (5)"));
    QCOMPARE(store->impactCount(), 5u);
}

void TestFormMain::help_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("guide");

    QTest::newRow("English guide") << Language::English << true << "KVT10Help.en.html";
    QTest::newRow("Russian guide") << Language::Russian << true << "KVT10Help.ru.html";
    QTest::newRow("missing guide") << Language::English << false << "KVT10Help.en.html";
}

void TestFormMain::help()
{
    QFETCH(Language, language);
    QFETCH(bool, present);
    QFETCH(QString, guide);

    writeIni(language == Language::Russian ? "[Config]\nLangId=Rus\n" : "[Config]\nLangId=Eng\n");
    const QString path = folder->filePath("Help/" + guide);
    if (present) {
        QDir(folder->path()).mkpath("Help");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    auto window = makeWindow();
    window->AMainHelpExecute();
    window->AChmHelpExecute();
    if (present) {
        // Nothing has the focus in a window never shown: the guide's start.
        QUrl url = QUrl::fromLocalFile(path);
        url.setFragment("start");
        QCOMPARE(opened.urls, (QList<QUrl>{url, url}));
        QVERIFY(prompts.messages().empty());
    } else {
        QVERIFY(opened.urls.isEmpty());
        QCOMPARE(prompts.messages().size(), size_t(2));
        // The path as the system writes it ("\" on Windows).
        QCOMPARE(prompts.messages()[0].text, "Help file not found: " + QDir::toNativeSeparators(path));
    }
}

void TestFormMain::helpAtSection_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("section");

    QTest::newRow("Table 1") << "StringGrid1" << "" << "tables";
    QTest::newRow("Table 2") << "StringGrid2" << "" << "tables";
    QTest::newRow("curve check box") << "CheckBoxForce" << "" << "chart";
    QTest::newRow("material editor") << "" << "frmMaterials" << "names";
    QTest::newRow("object editor") << "" << "frmObjects" << "names";
    QTest::newRow("screen viewer") << "" << "frmScreenshot" << "screen";
    QTest::newRow("report preview") << "" << "ReportPreview" << "report";
    QTest::newRow("requirements") << "" << "RequirementsDialog" << "requirements";
    QTest::newRow("statistics") << "" << "StatisticsWindow" << "statistics";
    QTest::newRow("a window the guide has no section for") << "" << "frmOther" << "start";
}

void TestFormMain::helpAtSection()
{
    QFETCH(QString, focused);
    QFETCH(QString, window);
    QFETCH(QString, section);

    const QUrl expected = englishGuideAt(section);
    auto form = makeWindow();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    // A window of the program that offers the main window's help command, as
    // the name list editors, the screen viewer and the report preview do.
    QWidget other(form.get(), Qt::Window);
    QWidget *active = form.get();
    if (!window.isEmpty()) {
        other.setObjectName(window);
        other.addAction(form->findChild<QAction *>("AMainHelp"));
        other.show();
        QApplication::setActiveWindow(&other);
        QVERIFY(QTest::qWaitForWindowActive(&other));
        active = &other;
    } else if (!focused.isEmpty()) {
        form->findChild<QWidget *>(focused)->setFocus();
    }

    QTest::keyClick(active, Qt::Key_F1);
    QCOMPARE(opened.urls, QList<QUrl>{expected});
}

void TestFormMain::helpInToolWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("section");

    QTest::newRow("material editor") << "AMaterialEdit" << "frmMaterials" << "names";
    QTest::newRow("object editor") << "AObjectEdit" << "frmObjects" << "names";
    QTest::newRow("screen viewer") << "AScreenshot" << "frmScreenshot" << "screen";
}

void TestFormMain::helpInToolWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(QString, section);

    // The windows the commands open offer F1 themselves (no instrument here:
    // they only wait for one).
    const QUrl expected = englishGuideAt(section);
    auto form = makeWindow();
    form->show();
    form->findChild<QAction *>(command)->trigger();
    QWidget *tool = form->findChild<QWidget *>(window);
    QVERIFY(tool);
    QApplication::setActiveWindow(tool);
    QVERIFY(QTest::qWaitForWindowActive(tool));

    QTest::keyClick(tool, Qt::Key_F1);
    QCOMPARE(opened.urls, QList<QUrl>{expected});
    tool->close();
}

void TestFormMain::languageDialog_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<Language>("language");

    QTest::newRow("Russian") << "RadioButtonRus" << Language::Russian;
    QTest::newRow("English") << "RadioButtonEng" << Language::English;
}

void TestFormMain::languageDialog()
{
    QFETCH(QString, button);
    QFETCH(Language, language);

    TfrmLanguage dialog;
    QCOMPARE(dialog.windowTitle(), QString("Язык (Language)"));
    dialog.show();
    dialog.reject(); // Escape: there is no way around the choice
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.chosen());

    auto *radio = dialog.findChild<QRadioButton *>(button);
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(5, radio->height() / 2));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.chosen(), std::optional<Language>(language));
}

void TestFormMain::aboutBox_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("site");

    QTest::newRow("Russian") << Language::Russian << "О программе KVT10.exe" << "Сайт:";
    QTest::newRow("English") << Language::English << "About KVT10.exe" << "Site:";
}

void TestFormMain::aboutBox()
{
    QFETCH(Language, language);
    QFETCH(QString, caption);
    QFETCH(QString, site);

    TAboutBox box(language);
    QCOMPARE(box.windowTitle(), caption);
    QCOMPARE(box.findChild<QLabel *>("LabelSite")->text(), site);
    const QString date = aboutDateText(programBuildDate(), language).value();
    QVERIFY(box.findChild<QLabel *>("Version")->text().endsWith("1.2.2.28" + date));

    // Each address opens a message to itself, with the program's title as subject.
    box.findChild<QLabel *>("Label2")->linkActivated("support@example.com");
    box.findChild<QLabel *>("LabelEMail")->linkActivated("info@example.com");
    box.LabelWWWClick();
    const QString title = language == Language::Russian ? "КВТ-1.0" : "KVT-1.0";
    QCOMPARE(opened.urls, (QList<QUrl>{QUrl("mailto:support@example.com?Subject=" + title),
                                        QUrl("mailto:info@example.com?Subject=" + title),
                                        QUrl("https://www.example.com")}));
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
