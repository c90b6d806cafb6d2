#include "device/screen_pixels.h"
#include "device/screen_viewer_settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvt;

namespace {

// The pixels as rows of '#' (ink) and '.' (background).
QStringList picture(const ScreenPixels &pixels)
{
    QStringList rows;
    for (int y = 0; y < ScreenPixels::Height; ++y) {
        QString row;
        for (int x = 0; x < ScreenPixels::Width; ++x)
            row += pixels.ink(x, y) ? u'#' : u'.';
        rows << row;
    }
    return rows;
}

QStringList framedPicture(const std::function<bool(int x, int y)> &displayInk)
{
    QStringList rows;
    for (int y = 0; y < ScreenPixels::Height; ++y) {
        QString row;
        for (int x = 0; x < ScreenPixels::Width; ++x) {
            const bool border = x == 0 || y == 0 || x == ScreenPixels::Width - 1 || y == ScreenPixels::Height - 1;
            const bool display = x >= 2 && x < 130 && y >= 2 && y < 66;
            row += border || (display && displayInk(x - 2, y - 2)) ? u'#' : u'.';
        }
        rows << row;
    }
    return rows;
}

} // namespace

// The screen picture and the viewer's settings.
class TestScreenPixels : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void shorterReplyAfterAFullOne();
    void viewerSettings_data();
    void viewerSettings();
};

void TestScreenPixels::decode_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing: the frame alone") << QByteArray() << framedPicture([](int, int) { return false; });
    QTest::newRow("1024 x 0xFF: all ink inside the ring")
        << QByteArray(1024, '\xFF') << framedPicture([](int, int) { return true; });
    QByteArray twoBits(1024, '\0');
    twoBits[0] = 0x01;
    twoBits[128] = char(0x80);
    QTest::newRow("byte 0 = 0x01, byte 128 = 0x80")
        << twoBits << framedPicture([](int x, int y) { return x == 0 && (y == 0 || y == 15); });
    QByteArray column(1024, '\0');
    for (int k = 127; k < 1024; k += 128)
        column[k] = char(0xFF);
    QTest::newRow("the last column") << column << framedPicture([](int x, int) { return x == 127; });
}

void TestScreenPixels::decode()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, expected);

    ScreenBlock block{};
    std::copy(reply.begin(), reply.end(), block.begin());
    ScreenPixels pixels;
    pixels.drawScreenFrame();
    pixels.decode(block);
    QCOMPARE(picture(pixels), expected);
    QCOMPARE(block, ScreenBlock{}); // consumed
}

void TestScreenPixels::shorterReplyAfterAFullOne()
{
    ScreenPixels pixels;
    pixels.drawScreenFrame();
    ScreenBlock block;
    block.fill(0xFF);
    pixels.decode(block);
    std::fill_n(block.begin(), 512, 0xFF); // a 512-byte reply
    pixels.decode(block);
    QCOMPARE(picture(pixels), framedPicture([](int, int y) { return y < 32; }));
}

void TestScreenPixels::viewerSettings_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("pen");
    QTest::addColumn<int>("background");

    // The main window at (100, 50), 600 × 400; the viewer 189 × 218; the screen 1024 × 768.
    const QPoint centred(100 + (600 - 189) / 2, 50 + (400 - 218) / 2);
    QTest::newRow("no keys: centred, default colours") << QByteArray() << centred << 2436127 << 15395553;
    QTest::newRow("not integers: centred, blue on white")
        << QByteArray("Left=abc\nTop=1e3\nPenColor=blue\nBackgroundColor=white\n") << centred << 16711680
        << 16777215;
    QTest::newRow("remembered") << QByteArray("Left=10\nTop=20\nPenColor=255\nBackgroundColor=0\n") << QPoint(10, 20)
                                << 255 << 0;
    QTest::newRow("off the right and bottom edges")
        << QByteArray("Left=2000\nTop=2000\n") << QPoint(1024 - 189, 768 - 218 - 25) << 2436127 << 15395553;
    QTest::newRow("negative") << QByteArray("Left=-5\nTop=-7\n") << QPoint(0, 0) << 2436127 << 15395553;
    QTest::newRow("left read with room for 9 characters")
        << QByteArray("Left=0000000012\nTop=0\n") << QPoint(1, 0) << 2436127 << 15395553;
}

void TestScreenPixels::viewerSettings()
{
    QFETCH(QByteArray, section);
    QFETCH(QPoint, position);
    QFETCH(int, pen);
    QFETCH(int, background);

    QTemporaryDir dir;
    QFile file(dir.filePath("KVT10.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Screenshot]\n" + section);
    file.close();
    SettingsFile settings(file.fileName());

    const ScreenViewerSettings read =
        readScreenViewerSettings(settings, QRect(100, 50, 600, 400), QSize(189, 218), QSize(1024, 768));
    QCOMPARE(read.position, position);
    QCOMPARE(read.penColor, pen);
    QCOMPARE(read.backgroundColor, background);
}

QTEST_GUILESS_MAIN(TestScreenPixels)
#include "tst_screen_pixels.moc"
