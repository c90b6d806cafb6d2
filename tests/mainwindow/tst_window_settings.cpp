#include "evaluation/requirement_settings.h"
#include "mainwindow/window_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;

namespace {

const QRect Screen(0, 0, 1024, 768);

} // namespace

class TestWindowSettings : public QObject {
    Q_OBJECT
private slots:
    void init();

    void firstStartDefaults();
    void placement_data();
    void placement();
    void keptOnTheAvailableArea_data();
    void keptOnTheAvailableArea();
    void flags_data();
    void flags();
    void languageKey_data();
    void languageKey();
    void startCounter_data();
    void startCounter();
    void exitWhileMaximizedKeepsBounds();
    void exitWritesBoundsAndChecks();
    void requirementsSurviveStartAndExit_data();
    void requirementsSurviveStartAndExit();

private:
    void writeIni(const QByteArray &text);
    QByteArray ini() const;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SettingsFile> settings;
};

void TestWindowSettings::init()
{
    dir = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(dir->filePath("KVT10.ini"));
}

void TestWindowSettings::writeIni(const QByteArray &text)
{
    QFile file(settings->path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray TestWindowSettings::ini() const
{
    QFile file(settings->path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestWindowSettings::firstStartDefaults()
{
    const StartupSettings startup = readStartupSettings(*settings, Screen);
    QVERIFY(!startup.langId);
    QCOMPARE(startup.placement.width, 500);
    QCOMPARE(startup.placement.height, 400);
    QCOMPARE(startup.placement.left, 262);
    QCOMPARE(startup.placement.top, 184);
    QCOMPARE(startup.placement.table1Share, 500);
    QVERIFY(!startup.placement.maximized);
    QVERIFY(!startup.modes.fullView);
    QVERIFY(!startup.modes.longCurves);
    QVERIFY(!startup.modes.codeView);
    QVERIFY(!startup.checks.accel);
    QVERIFY(!startup.checks.velocity);
    QVERIFY(startup.checks.displacement);
    QVERIFY(startup.checks.force);
    QVERIFY(!QFile::exists(settings->path())); // reading writes nothing
}

void TestWindowSettings::placement_data()
{
    QTest::addColumn<QByteArray>("formMain");
    QTest::addColumn<QRect>("bounds"); // left, top, width, height
    QTest::addColumn<int>("share");

    QTest::newRow("as stored") << QByteArray("Left=10\nTop=20\nWidth=640\nHeight=480\nTable1Width=300")
                               << QRect(10, 20, 640, 480) << 300;
    QTest::newRow("share below 50") << QByteArray("Table1Width=10") << QRect(262, 184, 500, 400) << 50;
    QTest::newRow("share above 950") << QByteArray("Table1Width=999") << QRect(262, 184, 500, 400) << 950;
    QTest::newRow("wider and taller than the screen, centred")
        << QByteArray("Width=2000\nHeight=900") << QRect(0, 0, 1024, 768) << 500;
    QTest::newRow("left past the right edge sits at it") << QByteArray("Left=900") << QRect(524, 184, 500, 400)
                                                         << 500;
    QTest::newRow("top past the bottom goes 25 higher") << QByteArray("Top=700") << QRect(262, 343, 500, 400)
                                                        << 500;
    QTest::newRow("negative position") << QByteArray("Left=-5\nTop=-9") << QRect(0, 0, 500, 400) << 500;
    QTest::newRow("not numbers fall back to defaults")
        << QByteArray("Left=abc\nTop=1e3\nWidth=wide\nHeight=\nTable1Width=half") << QRect(262, 184, 500, 400)
        << 500;
    QTest::newRow("only 9 characters are read") << QByteArray("Width=6400000000") << QRect(0, 184, 1024, 400)
                                                << 500;
}

void TestWindowSettings::placement()
{
    QFETCH(QByteArray, formMain);
    QFETCH(QRect, bounds);
    QFETCH(int, share);

    writeIni("[FormMain]\n" + formMain + "\n");
    const WindowPlacement window = readStartupSettings(*settings, Screen).placement;
    QCOMPARE(QRect(window.left, window.top, window.width, window.height), bounds);
    QCOMPARE(window.table1Share, share);
}

void TestWindowSettings::keptOnTheAvailableArea_data()
{
    QTest::addColumn<QByteArray>("formMain");
    QTest::addColumn<QRect>("bounds"); // outer left, top, width, height

    // A 1366 x 768 screen with a 27-pixel panel at the top and a 40-pixel task bar at the bottom.
    QTest::newRow("first start, centred on the free area") << QByteArray() << QRect(433, 177, 500, 400);
    QTest::newRow("bounds from a large screen") << QByteArray("Left=200\nTop=150\nWidth=1900\nHeight=1040")
                                                << QRect(0, 27, 1366, 701);
    QTest::newRow("above the panel") << QByteArray("Left=10\nTop=5") << QRect(10, 27, 500, 400);
    QTest::newRow("below the task bar goes 25 higher") << QByteArray("Top=600") << QRect(433, 303, 500, 400);
    QTest::newRow("full height past the bottom: never above the top")
        << QByteArray("Top=600\nHeight=701") << QRect(433, 27, 500, 701);
}

void TestWindowSettings::keptOnTheAvailableArea()
{
    QFETCH(QByteArray, formMain);
    QFETCH(QRect, bounds);

    writeIni("[FormMain]\n" + formMain + "\n");
    const WindowPlacement window = readStartupSettings(*settings, QRect(0, 27, 1366, 701)).placement;
    QCOMPARE(QRect(window.left, window.top, window.width, window.height), bounds);
}

void TestWindowSettings::flags_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("fullView");
    QTest::addColumn<bool>("accel");
    QTest::addColumn<bool>("displacement");
    QTest::addColumn<bool>("longCurves");
    QTest::addColumn<bool>("codeView");
    QTest::addColumn<bool>("maximized");

    QTest::newRow("full view") << QByteArray("[Config]\nSuper=Y") << true << false << true << false << false
                               << false;
    QTest::newRow("standard view by first letter") << QByteArray("[Config]\nSuper=No thanks") << false << false
                                                   << true << false << false << false;
    QTest::newRow("standard view with a(t) checked") << QByteArray("[Config]\nSuper=N\nAccelGraph=Y") << false
                                                     << true << true << false << false << false;
    QTest::newRow("first letters are case-sensitive")
        << QByteArray("[Config]\nSuper=n\nAccelGraph=n\nDisplacementGraph=N\nLongGraph=y\nCode=yes") << true
        << true << false << false << false << false;
    QTest::newRow("long curves and code view") << QByteArray("[Config]\nLongGraph=Yes\nCode=Y") << false << false
                                               << true << true << true << false;
    QTest::newRow("maximized") << QByteArray("[FormMain]\nMaximized=1") << false << false << true << false << false
                               << true;
    QTest::newRow("maximized needs a 1") << QByteArray("[FormMain]\nMaximized=Y") << false << false << true << false
                                         << false << false;
}

void TestWindowSettings::flags()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, fullView);
    QFETCH(bool, accel);
    QFETCH(bool, displacement);
    QFETCH(bool, longCurves);
    QFETCH(bool, codeView);
    QFETCH(bool, maximized);

    writeIni(text + "\n");
    const StartupSettings startup = readStartupSettings(*settings, Screen);
    QCOMPARE(startup.modes.fullView, fullView);
    QCOMPARE(startup.checks.accel, accel);
    QCOMPARE(startup.checks.displacement, displacement);
    QCOMPARE(startup.modes.longCurves, longCurves);
    QCOMPARE(startup.modes.codeView, codeView);
    QCOMPARE(startup.placement.maximized, maximized);
}

void TestWindowSettings::languageKey_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("langId"); // empty: the dialog is shown

    QTest::newRow("absent") << QByteArray("[Config]\nUses=3") << "";
    QTest::newRow("empty") << QByteArray("[Config]\nLangId=") << "";
    QTest::newRow("Rus") << QByteArray("[Config]\nLangId=Rus") << "Rus";
    QTest::newRow("lower case") << QByteArray("[Config]\nLangId=eng") << "eng";
}

void TestWindowSettings::languageKey()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, langId);
    writeIni(text + "\n");
    QCOMPARE(readStartupSettings(*settings, Screen).langId.value_or(QString()), langId);
}

void TestWindowSettings::startCounter_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("uses");

    QTest::newRow("first start") << QByteArray() << "1";
    QTest::newRow("counted before") << QByteArray("[Config]\nUses=41\n") << "42";
    QTest::newRow("not a number") << QByteArray("[Config]\nUses=many\n") << "1";
}

void TestWindowSettings::startCounter()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, uses);
    if (!text.isEmpty())
        writeIni(text);
    countStart(*settings);
    QCOMPARE(settings->readString(u"Config", u"Uses", QString(), 10), uses);
}

void TestWindowSettings::exitWhileMaximizedKeepsBounds()
{
    const QByteArray before = "[FormMain]\nMaximized=0\nLeft=1\nTop=2\nWidth=600\nHeight=450\nTable1Width=400\n";
    writeIni(before);
    WindowPlacement window{50, 60, 800, 700, true, 100};
    writeExitSettings(*settings, window, {true, false, true, false});
    QCOMPARE(ini(), QByteArray("[FormMain]\nMaximized=1\nLeft=1\nTop=2\nWidth=600\nHeight=450\nTable1Width=400\n"
                               "[Config]\nAccelGraph=Y\nVelocityGraph=N\nDisplacementGraph=Y\nForceGraph=N\n"));
}

void TestWindowSettings::exitWritesBoundsAndChecks()
{
    WindowPlacement window{50, 60, 800, 700, false, 975};
    writeExitSettings(*settings, window, {false, false, true, true});
    QCOMPARE(ini(), QByteArray("[FormMain]\nMaximized=0\nLeft=50\nTop=60\nWidth=800\nHeight=700\nTable1Width=975\n"
                               "[Config]\nAccelGraph=N\nVelocityGraph=N\nDisplacementGraph=Y\nForceGraph=Y\n"));
}

void TestWindowSettings::requirementsSurviveStartAndExit_data()
{
    QTest::addColumn<QByteArray>("before"); // the file before the rules are written
    QTest::addColumn<QByteArray>("after");  // written after the rules
    QTest::addColumn<bool>("maximized");

    QTest::newRow("rules in a new file") << QByteArray() << QByteArray() << false;
    QTest::newRow("rules after the window's sections, maximized")
        << QByteArray("[FormMain]\nMaximized=0\nLeft=1\n[Config]\nLangId=Rus\n") << QByteArray() << true;
    QTest::newRow("rules between the window's sections")
        << QByteArray("[Config]\r\nLangId=Eng\r\n") << QByteArray("[FormMain]\r\nWidth=600\r\n") << false;
}

// Start and Exit rewrite their own keys; the requirements, in a section of
// their own that the window never names, must come through both.
void TestWindowSettings::requirementsSurviveStartAndExit()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, maximized);

    const QList<RequirementRule> rules{{"Несущий слой", "", 85, 40, {}}, {"Несущий слой", "Щебень", 120.5, {}, 25}};
    writeIni(before);
    QVERIFY(writeRequirementRules(*settings, rules));
    if (!after.isEmpty()) {
        QFile file(settings->path());
        QVERIFY(file.open(QIODevice::Append));
        file.write(after);
    }

    countStart(*settings);
    (void)readStartupSettings(*settings, Screen);
    writeExitSettings(*settings, {50, 60, 800, 700, maximized, 500}, {true, false, true, false});
    countStart(*settings);
    writeExitSettings(*settings, {10, 20, 640, 480, false, 400}, {false, false, true, true});

    QCOMPARE(readRequirementRules(*settings), std::optional(rules));
    QCOMPARE(settings->readString(u"Config", u"Uses", {}, 10), QString("2"));
}

QTEST_GUILESS_MAIN(TestWindowSettings)
#include "tst_window_settings.moc"
