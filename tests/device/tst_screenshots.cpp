#include "inline_worker.h"

#include "device/device_worker.h"
#include "device/screen_bitmap.h"
#include "device/screenshots.h"
#include "support/scripted_prompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QLabel>
#include <QTest>

using namespace kvt;
using namespace kvt::testing;

// The screen viewer against the simulated instrument, the worker running
// pass by pass on the test thread.
Q_DECLARE_METATYPE(kvt::Language)

class TestScreenshots : public QObject {
    Q_OBJECT
private slots:
    void init();

    void readsTheScreenAtOnce();
    void colourDialog_data();
    void colourDialog();
    void penColourThatIsNoNumber();
    void waitsForARunningRead_data();
    void waitsForARunningRead();
    void closingWithdrawsAPendingRequest();

private:
    std::unique_ptr<TfrmScreenshot> makeViewer();
    void runWorkerUntilIdle();
    // Worker passes until the viewer has shown its picture.
    bool serveViewer(TfrmScreenshot &viewer);
    QImage savedBitmap() const;

    QTemporaryDir dir;
    LinkShared shared;
    RecordingDisplay display;
    InlineHost host;
    std::unique_ptr<DeviceWorker> worker;
    FakeClock viewerClock;
    ScriptedPrompts prompts;
    std::unique_ptr<SettingsFile> settings;
};

void TestScreenshots::init()
{
    shared.linkState = StateStartup;
    shared.deviceDataRead = false;
    display = RecordingDisplay();
    qunsetenv("KVT10_PIPE_DEVICE");
    worker.reset();
    simulatorRunsOn(host.fakeClock);
    resetSimulator({}, "3");
    worker = std::make_unique<DeviceWorker>(shared, display, QStringLiteral(KVT10_SIM_LIBRARY));
    viewerClock = FakeClock();
    prompts = ScriptedPrompts();
    settings = std::make_unique<SettingsFile>(dir.filePath("KVT10.ini"));
    QFile::remove(settings->path());
    QFile::remove(dir.filePath("Screenshot.bmp"));
}

std::unique_ptr<TfrmScreenshot> TestScreenshots::makeViewer()
{
    return std::make_unique<TfrmScreenshot>(
        TfrmScreenshot::Environment{shared, *settings, prompts, viewerClock, dir.path(), [] {}}, nullptr);
}

void TestScreenshots::runWorkerUntilIdle()
{
    for (int pass = 0; pass < 1000 && shared.linkState != StateIdle; ++pass)
        worker->pass(host);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
}

bool TestScreenshots::serveViewer(TfrmScreenshot &viewer)
{
    for (int round = 0; round < 500 && viewer.reading(); ++round) {
        worker->pass(host);
        QTest::qWait(2);
    }
    return !viewer.reading();
}

QImage TestScreenshots::savedBitmap() const
{
    return QImage(dir.filePath("Screenshot.bmp"), "BMP");
}

void TestScreenshots::readsTheScreenAtOnce()
{
    runWorkerUntilIdle();
    auto viewer = makeViewer();
    QVERIFY(viewer->reading());
    QVERIFY(!viewer->findChild<QPushButton *>("BtnGetPicture")->isEnabled());
    QVERIFY(!viewer->findChild<QPushButton *>("BtnClose")->isEnabled());
    QVERIFY(viewer->findChild<QPushButton *>("BtnPenColor")->isEnabled());
    QVERIFY(serveViewer(*viewer));
    QVERIFY(viewer->findChild<QPushButton *>("BtnClose")->isEnabled());
    QCOMPARE(display.statuses.last(), "Screenshot readed");

    // The instrument's display drawn inside the frame, saved and on the clipboard.
    int inkInside = 0;
    for (int x = 2; x < 130; ++x)
        for (int y = 2; y < 66; ++y)
            inkInside += viewer->pixels().ink(x, y);
    QVERIFY2(inkInside > 200, qPrintable(QString::number(inkInside)));
    const QImage saved = savedBitmap();
    QCOMPARE(saved.size(), QSize(132, 68));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB888), viewer->image());
    QCOMPARE(QColor(saved.pixel(0, 0)), QColor(31, 44, 37));
    QCOMPARE(QColor(saved.pixel(1, 1)), QColor(225, 234, 234));
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888), viewer->image());
}

void TestScreenshots::colourDialog_data()
{
    QTest::addColumn<bool>("pen");
    QTest::addColumn<std::optional<int>>("chosen");
    QTest::addColumn<QString>("written");

    QTest::newRow("ink, cancelled") << true << std::optional<int>() << "2436127";
    QTest::newRow("ink, red chosen") << true << std::optional<int>(255) << "255";
    QTest::newRow("background, cancelled") << false << std::optional<int>() << "15395553";
    QTest::newRow("background, green chosen") << false << std::optional<int>(0xFF00) << "65280";
}

void TestScreenshots::colourDialog()
{
    QFETCH(bool, pen);
    QFETCH(std::optional<int>, chosen);
    QFETCH(QString, written);

    runWorkerUntilIdle();
    auto viewer = makeViewer();
    QVERIFY(serveViewer(*viewer));
    QFile::remove(dir.filePath("Screenshot.bmp"));
    QGuiApplication::clipboard()->clear();

    prompts.answerColor(chosen);
    if (pen)
        viewer->BtnPenColorClick();
    else
        viewer->BtnBackgroundColorClick();

    // Whatever the dialog ended with is painted, saved, copied and kept.
    QCOMPARE(prompts.colorQuestions(), std::vector<int>{pen ? 2436127 : 15395553});
    QCOMPARE(settings->readString(u"Screenshot", pen ? u"PenColor" : u"BackgroundColor", "<none>", 20), written);
    const QImage saved = savedBitmap();
    QCOMPARE(QColor(saved.pixel(pen ? 0 : 1, pen ? 0 : 1)), colorFromNumber(written.toInt()));
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB888), viewer->image());
}

void TestScreenshots::penColourThatIsNoNumber()
{
    settings->writeString(u"Screenshot", u"PenColor", QStringLiteral("blue"));
    auto viewer = makeViewer();
    QCOMPARE(QColor(viewer->image().pixel(0, 0)), QColor(0, 0, 255));
}

void TestScreenshots::waitsForARunningRead_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("waiting");
    QTest::newRow("Russian") << Language::Russian << "Ожидание конца чтения данных из прибора...";
    QTest::newRow("English") << Language::English << "Waiting for the instrument's data read to end...";
}

void TestScreenshots::waitsForARunningRead()
{
    // The viewer opened while the records are being read: it says that it
    // waits, the read goes on to its end, then the screen is read.
    QFETCH(Language, language);
    QFETCH(QString, waiting);
    shared.language = language;
    for (int pass = 0; pass < 1000 && shared.linkState != StateReadImpacts; ++pass)
        worker->pass(host);
    auto viewer = makeViewer();
    viewer->show();
    QCOMPARE(shared.linkState.load(), quint8(StateReadImpacts));
    auto *label = viewer->findChild<QLabel *>("LabelWaiting");
    QVERIFY(label && label->isVisible());
    QCOMPARE(label->text(), waiting);
    // The whole text fits the window.
    QVERIFY(viewer->rect().contains(label->geometry()));
    QVERIFY(label->heightForWidth(label->width()) <= label->height());

    QVERIFY(serveViewer(*viewer));
    QVERIFY(!label->isVisible());
    QCOMPARE(display.finishedReads, 1);
    QVERIFY(display.statuses.contains("Data Readed (3)"));
    QCOMPARE(display.statuses.last(), "Screenshot readed");
}

void TestScreenshots::closingWithdrawsAPendingRequest()
{
    runWorkerUntilIdle();
    auto viewer = makeViewer();
    viewer->show();
    QCOMPARE(shared.linkState.load(), quint8(StateReadScreen));
    QVERIFY(viewer->close());
    QCOMPARE(viewerClock.pauses(), QList<int>(99, 10));
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QCOMPARE(shared.screenBuffer, nullptr);
    QVERIFY(settings->readString(u"Screenshot", u"Left", "<none>", 10) != "<none>");
    QVERIFY(!viewer->findChild<QPushButton *>("BtnPenColor")->isEnabled());
}

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
