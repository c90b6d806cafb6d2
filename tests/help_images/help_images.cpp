// Takes the user guide's pictures of the real program: the main window started
// as kvt10 starts it, reading the instrument that KVT10_LIBUSB names (the
// simulated one), then its menus, dialogs and preview in turn. Run on a real X
// display (Xvfb) so that what is saved is what the screen shows, popups
// included. Usage: help_images OUTPUT_FOLDER ru|en
#include "evaluation/requirement_settings.h"
#include "mainwindow/program_start.h"
#include "support/settings_file.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace kvt;

namespace {

// A new window or popup is drawn within this time, even by a sanitizer build.
constexpr int SettleMs = 700;
constexpr int ReadTimeoutMs = 120000;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "help_images: %s\n", qPrintable(why));
    std::exit(1);
}

class Camera {
public:
    Camera(QString folder, QString language) : m_folder(std::move(folder)), m_language(std::move(language)) {}

    // What the screen shows inside the rectangle (screen coordinates).
    void shoot(const QRect &area, const QString &name) const
    {
        QTest::qWait(SettleMs);
        const QRect clipped = area & QGuiApplication::primaryScreen()->geometry();
        const QPixmap picture =
            QGuiApplication::primaryScreen()->grabWindow(0, clipped.x(), clipped.y(), clipped.width(), clipped.height());
        const QString file = m_folder + u'/' + name + u'.' + m_language + QStringLiteral(".png");
        if (picture.isNull() || !picture.toImage().convertToFormat(QImage::Format_RGB888).save(file, "PNG", 0))
            fail(QStringLiteral("cannot save ") + file);
        std::printf("%s\n", qPrintable(file));
    }

    void shoot(const QWidget *window, const QString &name) const { shoot(window->frameGeometry(), name); }

private:
    QString m_folder;
    QString m_language;
};

QWidget *topLevel(const char *objectName)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible() && widget->objectName() == QLatin1String(objectName))
            return widget;
    return nullptr;
}

QWidget *waitForTopLevel(const char *objectName)
{
    QWidget *found = nullptr;
    if (!QTest::qWaitFor([&] { return (found = topLevel(objectName)) != nullptr; }, 20000))
        fail(QStringLiteral("no window ") + QLatin1String(objectName));
    return found;
}

QString statusText(TForm1 &window)
{
    return window.findChild<QLabel *>(QStringLiteral("StatusPanel1"))->text();
}

void waitForStatus(TForm1 &window, const QString &start)
{
    if (!QTest::qWaitFor([&] { return statusText(window).startsWith(start); }, ReadTimeoutMs))
        fail(QStringLiteral("the status stayed \"%1\" instead of \"%2\"").arg(statusText(window), start));
}

void clickCell(QTableView *grid, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    grid->scrollTo(grid->model()->index(row, column));
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), button, {}, cell.center());
}

// The window with a context menu open (and its submenu, when one is named),
// cut to the menus and what lies around them.
void shootMenu(const Camera &camera, TForm1 &window, const char *menuName, const char *submenuName,
               const QPoint &at, const QString &name)
{
    auto *menu = window.findChild<QMenu *>(QLatin1String(menuName));
    menu->popup(at);
    QTest::qWait(SettleMs);
    QRect area = menu->frameGeometry();
    if (submenuName) {
        auto *submenu = window.findChild<QMenu *>(QLatin1String(submenuName));
        menu->setActiveAction(submenu->menuAction());
        if (!QTest::qWaitFor([&] { return submenu->isVisible(); }, 5000))
            fail(QStringLiteral("the submenu did not open"));
        area |= submenu->frameGeometry();
    }
    camera.shoot(area.adjusted(-120, -40, 40, 40) & window.frameGeometry().united(area), name);
    menu->close();
    QTest::qWait(SettleMs);
}

void writeSettings(const QString &file, const QString &language)
{
    // The full view, so that every curve and export shows; a window small
    // enough for pictures that read well in the guide.
    QFile ini(file);
    if (!ini.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write ") + file);
    ini.write(QStringLiteral("[Config]\r\nLangId=%1\r\nUses=1\r\nSuper=Y\r\nAccelGraph=N\r\nVelocityGraph=N\r\n"
                             "DisplacementGraph=Y\r\nForceGraph=Y\r\n[FormMain]\r\nLeft=20\r\nTop=20\r\n"
                             "Width=900\r\nHeight=600\r\nTable1Width=480\r\n[Screenshot]\r\nLeft=560\r\nTop=120\r\n")
                  .arg(language == QLatin1String("ru") ? QStringLiteral("Rus") : QStringLiteral("Eng"))
                  .toLatin1());
    if (!ini.flush())
        fail(QStringLiteral("cannot write ") + file);
    ini.close();
    // The requirements the demo's field day is judged by, so that Table 1 marks
    // the series that fall short and the statistics judge every group.
    const std::optional<QList<RequirementRule>> rules = readRequirementRules(SettingsFile(KVT10_DEMO_RULES));
    if (!rules)
        fail(QStringLiteral("cannot read the requirements in ") + QStringLiteral(KVT10_DEMO_RULES));
    SettingsFile settings(file);
    if (!writeRequirementRules(settings, *rules))
        fail(QStringLiteral("cannot write the requirements to ") + file);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 || (arguments[2] != QLatin1String("ru") && arguments[2] != QLatin1String("en")))
        fail(QStringLiteral("usage: help_images OUTPUT_FOLDER ru|en"));
    const QString language = arguments[2];
    const bool russian = language == QLatin1String("ru");
    if (!QDir().mkpath(arguments[1]))
        fail(QStringLiteral("cannot make ") + arguments[1]);
    const Camera camera(QDir(arguments[1]).absolutePath(), language);

    // The program's folder: its settings, and Screenshot.bmp, stay out of the user's.
    QTemporaryDir programFolder;
    writeSettings(programFolder.filePath(QStringLiteral("KVT10.ini")), language);
    ProgramStart program(programFolder.path(), {});
    TForm1 &window = program.window();
    if (!QTest::qWaitForWindowExposed(&window))
        fail(QStringLiteral("the main window was not shown"));
    waitForStatus(window, russian ? QStringLiteral("Данные считаны") : QStringLiteral("Data Readed"));

    auto *table1 = window.findChild<QTableView *>(QStringLiteral("StringGrid1"));
    auto *table2 = window.findChild<QTableView *>(QStringLiteral("StringGrid2"));
    auto *chart = window.findChild<QCustomPlot *>(QStringLiteral("Chart1"));
    if (!table1 || !table2 || !chart)
        fail(QStringLiteral("the window has no tables or no chart"));
    // The status comes a moment before the read is handed to the tables.
    if (!QTest::qWaitFor([&] { return table1->model()->rowCount() > 6; }, ReadTimeoutMs))
        fail(QStringLiteral("Table 1 was not filled"));
    clickCell(table1, 4, 0);
    clickCell(table2, 0, 2);
    camera.shoot(&window, QStringLiteral("main"));

    // A rectangle over the impact's first part, dragged as a user does.
    const QRect plot = chart->axisRect()->rect();
    const QPoint from(plot.left() + plot.width() / 20, plot.top() + plot.height() / 8);
    const QPoint to(plot.left() + plot.width() * 2 / 5, plot.bottom() - plot.height() / 8);
    QTest::mousePress(chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(chart, to);
    QTest::mouseRelease(chart, Qt::LeftButton, {}, to);
    camera.shoot(QRect(chart->mapToGlobal(QPoint(0, 0)), chart->size()), QStringLiteral("chart-zoom"));
    QTest::mouseClick(chart, Qt::LeftButton, {}, plot.center());

    const auto cellPoint = [](QTableView *grid, int row, int column) {
        return grid->viewport()->mapToGlobal(grid->visualRect(grid->model()->index(row, column)).center());
    };
    shootMenu(camera, window, "PopupMenuStringGrid1", nullptr, cellPoint(table1, 4, 1), QStringLiteral("menu-table1"));
    shootMenu(camera, window, "PopupMenuStringGrid2", "itmSaveToWavSG2", cellPoint(table2, 2, 1),
              QStringLiteral("menu-table2"));
    shootMenu(camera, window, "PopupMenuChart", "itmSaveToCsvGr", chart->mapToGlobal(plot.center()),
              QStringLiteral("menu-chart"));

    window.findChild<QAction *>(QStringLiteral("AMaterialEdit"))->trigger();
    QWidget *names = waitForTopLevel("frmMaterials");
    waitForStatus(window, russian ? QStringLiteral("Параметры считаны") : QStringLiteral("Param Readed"));
    camera.shoot(names, QStringLiteral("names"));
    names->close();

    window.findChild<QAction *>(QStringLiteral("AScreenshot"))->trigger();
    QWidget *screen = waitForTopLevel("frmScreenshot");
    waitForStatus(window, russian ? QStringLiteral("Образ экрана считан") : QStringLiteral("Screenshot readed"));
    camera.shoot(screen, QStringLiteral("screen"));
    screen->close();

    window.findChild<QAction *>(QStringLiteral("APrint"))->trigger();
    QWidget *preview = waitForTopLevel("ReportPreview");
    preview->setGeometry(40, 40, 820, 640);
    camera.shoot(preview, QStringLiteral("report"));
    preview->close();

    window.findChild<QAction *>(QStringLiteral("AStatistics"))->trigger();
    QWidget *statistics = waitForTopLevel("StatisticsWindow");
    statistics->setGeometry(60, 60, 860, 560);
    // The group of the day that falls short of its requirement, and its trend.
    auto *groups = statistics->findChild<QTableView *>();
    for (int row = 0; row < groups->model()->rowCount(); ++row)
        if (groups->model()->index(row, 0).data().toString() == QStringLiteral("Несущий слой")
            && groups->model()->index(row, 1).data().toString() == QStringLiteral("Супесь"))
            groups->setCurrentIndex(groups->model()->index(row, 0));
    camera.shoot(statistics, QStringLiteral("statistics"));
    statistics->close();

    // The modal windows are photographed and closed from inside their own loops.
    QTimer::singleShot(0, &window, [&] {
        QWidget *requirements = waitForTopLevel("RequirementsDialog");
        camera.shoot(requirements, QStringLiteral("requirements"));
        requirements->close();
    });
    window.findChild<QAction *>(QStringLiteral("ARequirements"))->trigger();

    // The about box is modal: it is photographed and closed from inside its own loop.
    QTimer::singleShot(0, &window, [&] {
        QWidget *about = waitForTopLevel("AboutBox");
        camera.shoot(about, QStringLiteral("about"));
        about->close();
    });
    window.findChild<QAction *>(QStringLiteral("AAbout"))->trigger();
    return 0;
}
