// Qt's own texts in the program's language: the buttons of the message boxes
// and the labels and buttons of Qt's file dialog, as the window shows them,
// at start and after switching the language at run time, either way.
#include "mainwindow/formmain.h"
#include "mainwindow/qt_prompts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::PromptButton)

namespace {

using Reader = std::function<QStringList(QWidget *)>;

// Runs show, reads the modal dialog it opens with read, then closes it.
QStringList readShownDialog(const std::function<void()> &show, const Reader &read)
{
    QStringList texts;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            poll.stop();
            texts = read(dialog);
            dialog->reject();
        }
    });
    poll.start();
    show();
    return texts;
}

// In alphabetical order: where each button stands is the platform's choice.
QStringList buttonTexts(QWidget *dialog)
{
    QStringList texts;
    for (const QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

// The labels and buttons of Qt's own file dialog.
QStringList fileDialogTexts(QWidget *dialog)
{
    QStringList texts;
    if (!qobject_cast<QFileDialog *>(dialog))
        return {"not a file dialog"};
    for (const char *label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
        texts << dialog->findChild<QLabel *>(label)->text();
    return texts + buttonTexts(dialog);
}

QStringList sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

const QStringList RussianYesNoCancel = sorted({"&Да", "&Нет", "Отмена"});
const QStringList EnglishYesNoCancel = sorted({"&Yes", "&No", "Cancel"});
const QStringList RussianAbortRetryIgnore = sorted({"Прервать", "Повторить", "Пропустить"});
const QStringList EnglishAbortRetryIgnore = sorted({"Abort", "Retry", "Ignore"});
// The three labels, then the buttons.
const QStringList RussianOpenDialog = QStringList{"Перейти к:", "&Имя файла:", "Типы файлов:"} + sorted({"&Открыть", "Отмена"});
const QStringList EnglishOpenDialog = QStringList{"Look in:", "File &name:", "Files of type:"} + sorted({"&Open", "Cancel"});

} // namespace

class TestQtTranslation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void dialogsSpeakTheLanguage_data();
    void dialogsSpeakTheLanguage();

private:
    std::unique_ptr<QTemporaryDir> folder;
};

void TestQtTranslation::initTestCase()
{
    // Qt's own dialog, which a test can read, on every platform.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void TestQtTranslation::init()
{
    folder = std::make_unique<QTemporaryDir>();
}

void TestQtTranslation::dialogsSpeakTheLanguage_data()
{
    QTest::addColumn<QByteArray>("langId");      // at start
    QTest::addColumn<QStringList>("switches");   // the language commands chosen then
    QTest::addColumn<QList<PromptButton>>("buttons");
    QTest::addColumn<QStringList>("buttonTexts");
    QTest::addColumn<QStringList>("openDialog");

    const QList<PromptButton> yesNoCancel{PromptButton::Yes, PromptButton::No, PromptButton::Cancel};
    const QList<PromptButton> abortRetryIgnore{PromptButton::Abort, PromptButton::Retry, PromptButton::Ignore};

    QTest::newRow("Russian at start") << QByteArray("Rus") << QStringList{} << yesNoCancel << RussianYesNoCancel
                                      << RussianOpenDialog;
    QTest::newRow("Russian at start, write error")
        << QByteArray("Rus") << QStringList{} << abortRetryIgnore << RussianAbortRetryIgnore << RussianOpenDialog;
    QTest::newRow("English at start") << QByteArray("Eng") << QStringList{} << yesNoCancel << EnglishYesNoCancel
                                      << EnglishOpenDialog;
    QTest::newRow("switched to English") << QByteArray("Rus") << QStringList{"ALangEng"} << abortRetryIgnore
                                         << EnglishAbortRetryIgnore << EnglishOpenDialog;
    QTest::newRow("switched to Russian") << QByteArray("Eng") << QStringList{"ALangRus"} << yesNoCancel
                                         << RussianYesNoCancel << RussianOpenDialog;
    QTest::newRow("to English and back") << QByteArray("Rus") << QStringList{"ALangEng", "ALangRus"} << yesNoCancel
                                         << RussianYesNoCancel << RussianOpenDialog;
    // Russian chosen again while it is in use, then English: nothing Russian stays.
    QTest::newRow("Russian twice, then English")
        << QByteArray("Rus") << QStringList{"ALangRus", "ALangEng"} << yesNoCancel << EnglishYesNoCancel
        << EnglishOpenDialog;
}

void TestQtTranslation::dialogsSpeakTheLanguage()
{
    QFETCH(QByteArray, langId);
    QFETCH(QStringList, switches);
    QFETCH(QList<PromptButton>, buttons);
    QFETCH(QStringList, buttonTexts);
    QFETCH(QStringList, openDialog);

    QFile ini(folder->filePath("KVT10.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Config]\nLangId=" + langId + "\n");
    ini.close();
    SettingsFile settings(ini.fileName());
    MeasurementStore store;
    QtPrompts prompts;
    TForm1 window(store, settings, prompts, folder->path());
    prompts.setParentWidget(&window);
    window.show();
    for (const QString &command : switches)
        window.findChild<QAction *>(command)->trigger();

    const QStringList shown = readShownDialog(
        [&] {
            prompts.showMessage({window.windowTitle(), "?", PromptIcon::Warning, buttons, buttons.first()});
        },
        ::buttonTexts);
    QCOMPARE(shown, buttonTexts);

    // The window's own Open command, through the real dialogs.
    QCOMPARE(readShownDialog([&] { window.findChild<QAction *>("AOpen")->trigger(); }, fileDialogTexts),
             openDialog);
}

QTEST_MAIN(TestQtTranslation)
#include "tst_qt_translation.moc"
