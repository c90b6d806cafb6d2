// Opening a full measurement file and filling Table 1, against merely reading
// the file's bytes. Opening should cost no more than three reads of the bytes.
//
// Two full files (3557 impacts) are made once per run in a temporary folder:
// realistic series of 5 impacts (712 series), and the worst case of 3557
// one-impact series, where every impact is a row of its own.

#include "files/kvt_file.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr double GoalRatio = 3.0;

struct SampleFile {
    QString path;
    qint64 size = 0;
    quint32 seriesCount = 0;
};

// Keyed by the impacts per series, the benchmarks' argument.
std::map<int, SampleFile> sampleFiles;

std::vector<quint32> fullStoreSeries(quint32 impactsPerSeries)
{
    std::vector<quint32> lengths(kvt::MaxImpacts / impactsPerSeries, impactsPerSeries);
    if (const quint32 rest = kvt::MaxImpacts % impactsPerSeries)
        lengths.push_back(rest);
    return lengths;
}

bool makeSampleFile(const QTemporaryDir &dir, int impactsPerSeries)
{
    kvt::MeasurementStore store;
    kvt::testing::fillStoreWithSeries(store, fullStoreSeries(quint32(impactsPerSeries)));
    if (store.impactCount() != kvt::MaxImpacts)
        return false;
    const QByteArray bytes = kvt::encodeKvt(store);

    SampleFile sample;
    sample.path = dir.filePath(QStringLiteral("full-%1.kvt").arg(impactsPerSeries));
    sample.size = bytes.size();
    sample.seriesCount = store.seriesCount();
    QFile file(sample.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    sampleFiles[impactsPerSeries] = sample;
    return true;
}

const SampleFile *sampleFor(benchmark::State &state)
{
    const auto found = sampleFiles.find(int(state.range(0)));
    if (found == sampleFiles.end()) {
        state.SkipWithError("no sample file for this shape");
        return nullptr;
    }
    return &found->second;
}

// (a) The floor: open the file and read its bytes from the page cache into a
// buffer that is already there.
void BM_ReadFileBytes(benchmark::State &state)
{
    const SampleFile *sample = sampleFor(state);
    if (!sample)
        return;
    QByteArray buffer(sample->size, '\0');
    for (auto _ : state) {
        QFile file(sample->path);
        if (!file.open(QIODevice::ReadOnly) || file.read(buffer.data(), sample->size) != sample->size) {
            state.SkipWithError("cannot read the sample file");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * sample->size);
}

// (b) What "Open" does before the window can show the file: load it into the
// store, then make the text of every row of Table 1.
void BM_OpenAndBuildSeriesTable(benchmark::State &state)
{
    const SampleFile *sample = sampleFor(state);
    if (!sample)
        return;
    kvt::MeasurementStore store;
    for (auto _ : state) {
        if (kvt::loadKvtFile(sample->path, store) != kvt::KvtLoadStatus::Loaded
            || store.seriesCount() != sample->seriesCount) {
            state.SkipWithError("cannot open the sample file");
            break;
        }
        for (quint32 k = 0; k < store.seriesCount(); ++k) {
            auto cells = kvt::seriesRowCells(store, k);
            benchmark::DoNotOptimize(cells);
        }
    }
    state.SetBytesProcessed(state.iterations() * sample->size);
    state.counters["series"] = double(sample->seriesCount);
}

BENCHMARK(BM_ReadFileBytes)->ArgName("impacts_per_series")->Arg(5)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenAndBuildSeriesTable)
    ->ArgName("impacts_per_series")
    ->Arg(5)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

// The console table, followed by (b)/(a) for each shape run by both benchmarks.
// With repetitions the median counts, else the fastest repetition.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run> &reports) override
    {
        ConsoleReporter::ReportRuns(reports);
        for (const Run &run : reports) {
            if (run.error_occurred || run.iterations == 0)
                continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const double seconds = run.real_accumulated_time / double(run.iterations);
            if (std::find(m_shapes.begin(), m_shapes.end(), run.run_name.args) == m_shapes.end())
                m_shapes.push_back(run.run_name.args);
            Timing &timing = m_timings[run.run_name.function_name][run.run_name.args];
            if (median)
                timing.median = seconds;
            else if (timing.fastest == 0 || seconds < timing.fastest)
                timing.fastest = seconds;
        }
    }

    void Finalize() override
    {
        const auto &reads = m_timings["BM_ReadFileBytes"];
        const auto &opens = m_timings["BM_OpenAndBuildSeriesTable"];
        bool allMet = true;
        bool any = false;
        for (const std::string &shape : m_shapes) {
            const auto read = reads.find(shape);
            const auto found = opens.find(shape);
            if (read == reads.end() || found == opens.end() || read->second.seconds() <= 0 || found->second.seconds() <= 0)
                continue;
            const Timing &open = found->second;
            const double ratio = open.seconds() / read->second.seconds();
            allMet = allMet && ratio <= GoalRatio;
            any = true;
            char line[200];
            std::snprintf(line, sizeof line, "open and build / read bytes, %s: %.0f us / %.0f us = %.2f (goal <= %.0f)%s\n",
                          shape.c_str(), open.seconds() * 1e6, read->second.seconds() * 1e6, ratio, GoalRatio,
                          ratio <= GoalRatio ? "" : "  NOT MET");
            GetOutputStream() << line;
        }
        if (any)
            GetOutputStream() << (allMet ? "goal met\n" : "goal not met\n");
        ConsoleReporter::Finalize();
    }

private:
    struct Timing {
        double median = 0;
        double fastest = 0;
        double seconds() const { return median > 0 ? median : fastest; }
    };
    std::vector<std::string> m_shapes; // in the order they ran
    std::map<std::string, std::map<std::string, Timing>> m_timings;
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    QTemporaryDir dir;
    if (!dir.isValid() || !makeSampleFile(dir, 5) || !makeSampleFile(dir, 1)) {
        std::cerr << "cannot make the sample files in a temporary folder\n";
        return 1;
    }

    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
