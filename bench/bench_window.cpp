// The main window with a full store of 3557 one-impact series, the worst case
// for Table 1: how long filling the series table takes, and how long drawing
// one impact takes with all four curves at their long length (512 points).
//
// Goals: fillSeriesTable at most 20 ms, DrawImpact at most 2 ms. DrawImpact
// only queues the chart's repaint; BM_DrawImpactAndRender also runs the event
// loop, so the drawing the user waits for is counted too.

#include "chart/signal_chart.h"
#include "goal_reporter.h"
#include "mainwindow/formmain.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"
#include "support/settings_file.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr quint32 SeriesCount = 3557;
constexpr double FillGoalSeconds = 20e-3;
constexpr double DrawGoalSeconds = 2e-3;

// A shown main window over its own store, settings file and scripted prompts,
// as the window tests build it.
class WindowUnderTest {
public:
    explicit WindowUnderTest(const QByteArray &ini)
    {
        if (!m_folder.isValid())
            return;
        QFile file(m_settings.path());
        if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size() || !file.flush())
            return;
        file.close();
        kvt::testing::fillStoreWithSeries(m_store, std::vector<quint32>(SeriesCount, 1));
        m_window = std::make_unique<kvt::TForm1>(m_store, m_settings, m_prompts, m_folder.path());
        m_window->show();
        QCoreApplication::processEvents();
        // No question may have been asked: the settings file names the language.
        if (m_prompts.languageQuestions() != 0 || !m_prompts.messages().empty())
            m_window.reset();
    }

    kvt::TForm1 *window() const { return m_window.get(); }
    const kvt::MeasurementStore &store() const { return m_store; }

private:
    QTemporaryDir m_folder;
    kvt::SettingsFile m_settings{m_folder.filePath(QStringLiteral("KVT10.ini"))};
    kvt::MeasurementStore m_store;
    kvt::ScriptedPrompts m_prompts;
    std::unique_ptr<kvt::TForm1> m_window;
};

// Made in main() once the application object exists, and gone before it is.
WindowUnderTest *standardWindow = nullptr; // s(t) and F(t), short curves
WindowUnderTest *fullWindow = nullptr;     // all four curves, long

void BM_FillSeriesTable(benchmark::State &state)
{
    kvt::TForm1 *window = standardWindow ? standardWindow->window() : nullptr;
    if (!window) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state)
        window->fillSeriesTable();
    // Let the queued chart repaint go, outside the timing.
    QCoreApplication::processEvents();
    state.counters["series"] = double(standardWindow->store().seriesCount());
}

kvt::SignalChart *chartOf(kvt::TForm1 *window)
{
    return window ? window->findChild<kvt::SignalChart *>(QStringLiteral("Chart1")) : nullptr;
}

// Which impact each iteration draws: all of them in turn, so that no record
// is favoured.
qint32 nextPosition(qint32 position)
{
    return (position + 1) % qint32(fullWindow->store().impactCount());
}

// Every checked curve must be there at its long length, or the figure is not
// the one asked for.
bool drawsFourLongCurves(const kvt::SignalChart &chart)
{
    for (const QList<QPointF> &curve : chart.curves())
        if (curve.size() != 512)
            return false;
    return true;
}

void BM_DrawImpact(benchmark::State &state)
{
    kvt::TForm1 *window = fullWindow ? fullWindow->window() : nullptr;
    kvt::SignalChart *chart = chartOf(window);
    if (!chart) {
        state.SkipWithError("no window or no chart");
        return;
    }
    qint32 position = 0;
    for (auto _ : state) {
        window->DrawImpact(position);
        position = nextPosition(position);
    }
    if (!drawsFourLongCurves(*chart))
        state.SkipWithError("the chart does not show four curves of 512 points");
    QCoreApplication::processEvents();
}

void BM_DrawImpactAndRender(benchmark::State &state)
{
    kvt::TForm1 *window = fullWindow ? fullWindow->window() : nullptr;
    kvt::SignalChart *chart = chartOf(window);
    if (!chart) {
        state.SkipWithError("no window or no chart");
        return;
    }
    // The queued repaint runs inside processEvents; counting the replots
    // shows that each iteration draws the chart exactly once.
    qint64 replots = 0;
    const auto counting = QObject::connect(chart, &QCustomPlot::afterReplot, chart, [&replots] { ++replots; });
    QCoreApplication::processEvents();
    replots = 0;
    qint32 position = 0;
    for (auto _ : state) {
        window->DrawImpact(position);
        QCoreApplication::processEvents();
        position = nextPosition(position);
    }
    QObject::disconnect(counting);
    if (!drawsFourLongCurves(*chart))
        state.SkipWithError("the chart does not show four curves of 512 points");
    state.counters["replots"] = benchmark::Counter(double(replots), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_FillSeriesTable)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawImpact)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawImpactAndRender)->UseRealTime()->Unit(benchmark::kMicrosecond);

class WindowGoalReporter : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        using kvt::bench::format;
        if (const double fill = seconds("BM_FillSeriesTable"); fill > 0)
            goalLine(format("fillSeriesTable, %u one-impact series: %.2f ms (goal <= %.0f ms)", SeriesCount,
                            fill * 1e3, FillGoalSeconds * 1e3),
                     fill <= FillGoalSeconds);
        if (const double draw = seconds("BM_DrawImpact"); draw > 0)
            goalLine(format("DrawImpact, four 512-point curves: %.3f ms (goal <= %.0f ms)", draw * 1e3,
                            DrawGoalSeconds * 1e3),
                     draw <= DrawGoalSeconds);
        if (const double render = seconds("BM_DrawImpactAndRender"); render > 0)
            infoLine(format("DrawImpact and the chart's repaint: %.3f ms (for comparison; no goal of its own)",
                            render * 1e3));
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // Measured without a display, as the window tests run.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    auto standard = std::make_unique<WindowUnderTest>("[Config]\nLangId=Eng\n");
    auto full = std::make_unique<WindowUnderTest>(
        "[Config]\nLangId=Eng\nSuper=Y\nAccelGraph=Y\nVelocityGraph=Y\nLongGraph=Y\n");
    if (!standard->window() || !full->window()) {
        std::cerr << "cannot set up the main window (settings file, store or an unexpected question)\n";
        return 1;
    }
    // The tables filled as after opening a file, before anything is timed.
    for (WindowUnderTest *under : {standard.get(), full.get()}) {
        under->window()->fillSeriesTable();
        QCoreApplication::processEvents();
    }
    standardWindow = standard.get();
    fullWindow = full.get();

    WindowGoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    standardWindow = nullptr;
    fullWindow = nullptr;
    return 0;
}
