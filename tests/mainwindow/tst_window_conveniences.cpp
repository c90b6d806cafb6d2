// The desktop conveniences of the main window: a .kvt file dropped on it opens
// the way a file named on the command line does while anything else is refused,
// and the standard shortcuts run their commands.
#include "device/link_state.h"
#include "files/kvt_file.h"
#include "mainwindow/formmain.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QPrintPreviewDialog>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace kvt;

class TestWindowConveniences : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void drop_data();
    void drop();
    void shortcuts_data();
    void shortcuts();

private:
    std::unique_ptr<TForm1> makeWindow();

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
};

void TestWindowConveniences::init()
{
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    QVERIFY(settings->writeString(u"Config", u"LangId", QStringLiteral("Eng")));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
}

void TestWindowConveniences::cleanup()
{
    QVERIFY2(prompts.scriptUsedUp(), "a scripted answer was never asked for");
}

std::unique_ptr<TForm1> TestWindowConveniences::makeWindow()
{
    return std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
}

void TestWindowConveniences::drop_data()
{
    QTest::addColumn<QStringList>("dropped"); // names in the test folder; a full URL as it is
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<quint32>("impacts");
    QTest::addColumn<QString>("message");

    QTest::newRow("a measurement file") << QStringList{"site 4.kvt"} << true << 5u << QString();
    QTest::newRow("a damaged one is reported") << QStringList{"broken.kvt"} << true << 0u
                                               << "File is not readable or damaged: broken.kvt";
    QTest::newRow("another extension") << QStringList{"site 4.txt"} << false << 0u << QString();
    QTest::newRow("the extension in capitals") << QStringList{"SITE.KVT"} << false << 0u << QString();
    QTest::newRow("two files at once") << QStringList{"site 4.kvt", "site 4.kvt"} << false << 0u << QString();
    QTest::newRow("not a local file") << QStringList{"https://example.com/site.kvt"} << false << 0u << QString();
}

void TestWindowConveniences::drop()
{
    QFETCH(QStringList, dropped);
    QFETCH(bool, accepted);
    QFETCH(quint32, impacts);
    QFETCH(QString, message);

    // The same five impacts under each name, and one file no save ever writes.
    MeasurementStore source;
    kvt::testing::fillStoreWithSeries(source, {2, 3});
    for (const char *name : {"site 4.kvt", "site 4.txt", "SITE.KVT"})
        QVERIFY(saveKvtFile(folder->filePath(name), source) == KvtSaveStatus::Saved);
    QFile broken(folder->filePath("broken.kvt"));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("abc") == 3);
    broken.close();

    QList<QUrl> urls;
    for (const QString &name : dropped)
        urls << (name.contains(u':') ? QUrl(name) : QUrl::fromLocalFile(folder->filePath(name)));
    QMimeData data;
    data.setUrls(urls);

    auto window = makeWindow();
    window->showAsStarted();
    const QPoint inside = window->rect().center();
    QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent dropEvent(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &dropEvent);
    QCOMPARE(dropEvent.isAccepted(), accepted);
    // The file opens once the drop is over.
    QCOMPARE(store->impactCount(), 0u);
    QCoreApplication::processEvents();

    QCOMPARE(store->impactCount(), impacts);
    if (impacts)
        QCOMPARE(window->findChild<QLabel *>("StatusPanel0")->text(), QString("File \"site 4.kvt\""));
    QCOMPARE(prompts.messages().size(), size_t(message.isEmpty() ? 0 : 1));
    if (!message.isEmpty())
        QCOMPARE(prompts.messages().front().text, message);
    QVERIFY(prompts.openRequests().empty());
}

void TestWindowConveniences::shortcuts_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<size_t>("openDialogs");
    QTest::addColumn<size_t>("saveDialogs");
    QTest::addColumn<bool>("readRequested");
    QTest::addColumn<bool>("previewShown");

    QTest::newRow("Ctrl+O opens") << QKeySequence("Ctrl+O") << size_t(1) << size_t(0) << false << false;
    QTest::newRow("Ctrl+S saves") << QKeySequence("Ctrl+S") << size_t(0) << size_t(1) << false << false;
    QTest::newRow("F5 reads the instrument") << QKeySequence("F5") << size_t(0) << size_t(0) << true << false;
    QTest::newRow("Ctrl+P prints") << QKeySequence("Ctrl+P") << size_t(0) << size_t(0) << false << true;
}

void TestWindowConveniences::shortcuts()
{
    QFETCH(QKeySequence, keys);
    QFETCH(size_t, openDialogs);
    QFETCH(size_t, saveDialogs);
    QFETCH(bool, readRequested);
    QFETCH(bool, previewShown);

    // Measurements to save, and an idle worker to send searching; every dialog is cancelled.
    kvt::testing::fillStoreWithSeries(*store, {2});
    auto window = makeWindow();
    window->link().linkState = StateIdle;
    window->fillSeriesTable();
    window->showAsStarted();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));

    QTest::keySequence(window.get(), keys);
    QCOMPARE(prompts.openRequests().size(), openDialogs);
    QCOMPARE(prompts.saveRequests().size(), saveDialogs);
    QCOMPARE(window->link().linkState == StateSearch, readRequested);
    QPrintPreviewDialog *preview = window->findChild<QPrintPreviewDialog *>();
    QCOMPARE(preview && preview->isVisible(), previewShown);
}

QTEST_MAIN(TestWindowConveniences)
#include "tst_window_conveniences.moc"
