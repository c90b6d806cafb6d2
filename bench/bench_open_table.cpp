// Opening a full measurement file and filling Table 1, against merely reading
// the file's bytes. Opening should cost no more than three reads of the bytes.
//
// Two full files (3557 impacts) are made once per run in a temporary folder:
// realistic series of 5 impacts (712 series), and the worst case of 3557
// one-impact series, where every impact is a row of its own.

#include "files/kvt_file.h"
#include "goal_reporter.h"
#include "store/table_texts.h"
#include "store_fixture.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <iostream>
#include <map>
#include <string>
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

// After the table, (b)/(a) for each shape run by both benchmarks.
class RatioReporter : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        for (const std::string &shape : argsInOrder()) {
            const double read = seconds("BM_ReadFileBytes", shape);
            const double open = seconds("BM_OpenAndBuildSeriesTable", shape);
            if (read <= 0 || open <= 0)
                continue;
            const double ratio = open / read;
            goalLine(kvt::bench::format("open and build / read bytes, %s: %.0f us / %.0f us = %.2f (goal <= %.0f)",
                                        shape.c_str(), open * 1e6, read * 1e6, ratio, GoalRatio),
                     ratio <= GoalRatio);
        }
    }
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

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
