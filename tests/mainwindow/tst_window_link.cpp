#include "device/lm_thread.h"
#include "files/kvt_file.h"
#include "files/reading_archive.h"
#include "mainwindow/formmain.h"
#include "mainwindow/link_indicator.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;

// The main window with its worker running on a real thread against the
// simulated instrument, in real time.
class TestWindowLink : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readsAtStart();
    void openingAFileStopsTheSearch();
    void exitStopsTheWorker();

private:
    void makeWindow(const QByteArray &libUsb);
    QString panel(int index) const
    {
        return window->findChild<QLabel *>(QStringLiteral("StatusPanel%1").arg(index))->text();
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
    int hardExits = 0;
};

void TestWindowLink::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // readings go to a test folder
    qputenv("KVT10_SIM_IMPACTS", "37");
    qputenv("KVT10_SIM_STRICT", "1");
    qunsetenv("KVT10_SIM_FAULTS");
    qunsetenv("KVT10_PIPE_DEVICE");
}

void TestWindowLink::init()
{
    hardExits = 0;
    QDir(readingsFolder()).removeRecursively();
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    settings->writeString(u"Config", u"LangId", "Eng");
    store = std::make_unique<MeasurementStore>();
}

void TestWindowLink::cleanup()
{
    window.reset();
}

void TestWindowLink::makeWindow(const QByteArray &libUsb)
{
    qputenv("KVT10_LIBUSB", libUsb);
    window = std::make_unique<TForm1>(*store, *settings, prompts, folder->path(), true);
    window->setHardExit([this] { hardExits++; });
    window->show();
}

void TestWindowLink::readsAtStart()
{
    makeWindow(KVT10_SIM_LIBRARY);
    QCOMPARE(panel(1), QString("Попытка соединения..."));
    QVERIFY(window->deviceThread()->GetRuning());

    // The status comes with the last record, the hand-over of the store a pass later.
    QTRY_COMPARE_WITH_TIMEOUT(store->impactCount(), 37u, 20000);
    QCOMPARE(panel(1), QString("Data Readed (37)"));
    QCOMPARE(panel(0), QString("KVT-1.0 sim 1.0 ")); // its terminating 0 shown as a space
    QCOMPARE(window->findChild<QTableView *>("StringGrid1")->model()->rowCount() + 1, int(2 + store->seriesCount()));
    QVERIFY(window->findChild<QProgressBar *>("ProgressBar1")->isHidden());
    QCOMPARE(window->findChild<LinkIndicator *>("ShapeLink")->color(), window->palette().color(QPalette::Button));
    QCOMPARE(QDir(readingsFolder()).entryList({"*.kvt"}).size(), 1); // the reading is kept

    // Read again: only from idle, and the store is replaced once that read is complete.
    QTRY_COMPARE_WITH_TIMEOUT(window->link().linkState.load(), quint8(StateIdle), 5000);
    window->AGaugeReadExecute();
    QCOMPARE(window->link().linkState.load(), quint8(StateSearch));
    QTRY_COMPARE_WITH_TIMEOUT(QDir(readingsFolder()).entryList({"*.kvt"}).size(), 2, 20000);

    // Closing waits for the worker.
    window->close();
    QCOMPARE(hardExits, 0);
    QVERIFY(!window->deviceThread()->GetRuning());
}

void TestWindowLink::openingAFileStopsTheSearch()
{
    MeasurementStore source;
    testing::fillStoreWithSeries(source, {2, 2});
    QCOMPARE(saveKvtFile(folder->filePath("a.kvt"), source), KvtSaveStatus::Saved);

    makeWindow("/nonexistent/libusb.so"); // nothing to find: the worker keeps searching
    QTRY_COMPARE_WITH_TIMEOUT(window->link().linkState.load(), quint8(StateSearch), 5000);
    window->AOpenExecute(folder->filePath("a.kvt"));
    QCOMPARE(window->link().linkState.load(), quint8(StateIdle));
    QTest::qWait(300);
    QCOMPARE(window->link().linkState.load(), quint8(StateIdle));
    QCOMPARE(panel(1), QString("Data Readed (4)"));
}

void TestWindowLink::exitStopsTheWorker()
{
    makeWindow(KVT10_SIM_LIBRARY);
    QTest::qWait(1200); // past the worker's start pause: it is reading
    window->AExitExecute();
    QCOMPARE(hardExits, 0); // it stopped within the bound
    QVERIFY(!window->deviceThread()->GetRuning());
    QCOMPARE(settings->readString(u"Config", u"ForceGraph", "", 10), QString("Y"));
}

QTEST_MAIN(TestWindowLink)
#include "tst_window_link.moc"
