// Reading a full instrument (3556 records) through the libusb backend, with
// the simulated instrument loaded in libusb's place: once with its zero-latency
// bus and once with its full-speed USB timing model. The protocol's own pauses
// (80 ms before the version, 50 ms before the directory) are real waits here.
//
// The same read runs twice more through the device worker, pass by pass from
// its start to idle as its loop would (50 ms between passes), with its own
// pauses counted as they are asked for.
//
// Goals: with zero latency, at most 5% beyond the pauses; with the timing
// model, the time beyond the pauses within 5% of the bus time it modelled.
#include "device/device_protocol.h"
#include "device/device_worker.h"
#include "device/usb_transport.h"
#include "goal_reporter.h"

#include <dlfcn.h>

#include <memory>

namespace {

constexpr double PauseSeconds = 0.080 + 0.050;
constexpr quint32 FullInstrument = 3556;
double modelledSeconds = 0;
double workerModelledSeconds = 0;
double workerPauseSeconds = 0;

// Held open with its own handle: the transport unloads its library when it is
// done, and the simulator's state must outlive each read.
struct Simulator {
    void *handle = dlopen(KVT10_SIM_LIBRARY, RTLD_NOW);
    void (*reset)() = handle ? reinterpret_cast<void (*)()>(dlsym(handle, "kvt10sim_reset")) : nullptr;
    double (*modelledMs)() =
        handle ? reinterpret_cast<double (*)()>(dlsym(handle, "kvt10sim_modelled_milliseconds")) : nullptr;
};

Simulator &simulator()
{
    static Simulator loaded;
    return loaded;
}

// A full instrument, with or without the bus timing model; false when the
// simulator cannot be loaded.
bool setUpFullInstrument(benchmark::State &state)
{
    qputenv("KVT10_SIM_IMPACTS", QByteArray::number(FullInstrument));
    if (state.range(0) != 0)
        qputenv("KVT10_SIM_TIMING", "fullspeed");
    else
        qunsetenv("KVT10_SIM_TIMING");
    if (simulator().reset && simulator().modelledMs)
        return true;
    state.SkipWithError("the simulated instrument cannot be loaded");
    return false;
}

void readFullInstrument(benchmark::State &state)
{
    if (!setUpFullInstrument(state))
        return;

    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<kvt::MeasurementStore>();
        simulator().reset();
        kvt::PipeTransport pipes;
        kvt::LibUsbTransport libUsb([](const QString &) {}, QStringLiteral(KVT10_SIM_LIBRARY));
        kvt::UsbTransport transport(pipes, libUsb);
        transport.start();
        kvt::SystemClock clock;
        state.ResumeTiming();

        if (!transport.search(kvt::Language::English)) {
            state.SkipWithError("no instrument found");
            return;
        }
        kvt::DeviceProtocol protocol(*transport.link(), transport.activeTransport(), clock);
        bool ok = protocol.readVersion().has_value() && protocol.readDirectory(*store);
        store->countDirectoryImpacts();
        for (quint32 i = 0; ok && i < store->impactCount(); ++i)
            ok = protocol.readImpact(*store, i);
        transport.closeLink();

        if (!ok || store->impactCount() != FullInstrument) {
            state.SkipWithError("the read failed");
            return;
        }
        modelledSeconds = simulator().modelledMs() / 1000.0;
    }
    state.counters["records"] = FullInstrument;
    state.counters["modelled_bus_ms"] = modelledSeconds * 1000;
}

// Real waits that remember how long they were asked to be.
class CountingClock final : public kvt::Clock {
public:
    void sleepMs(int milliseconds) override
    {
        asked += milliseconds;
        m_system.sleepMs(milliseconds);
    }
    qint64 nowMs() const override { return m_system.nowMs(); }
    qint64 asked = 0;

private:
    kvt::SystemClock m_system;
};

// The worker's passes on this thread; its window effects are dropped, the
// finished read kept.
class BenchHost final : public kvt::WorkerHost, public kvt::LinkDisplay {
public:
    bool terminated() const override { return false; }
    kvt::Clock &clock() override { return counting; }
    void synchronize(const std::function<void()> &call) override { call(); }

    kvt::Language language() const override { return kvt::Language::English; }
    void setStatusText(const QString &) override {}
    void setDeviceText(const QString &) override {}
    void setLinkIndicator(kvt::LinkColor) override {}
    void setProgress(std::optional<int>) override {}
    void finishRead(std::unique_ptr<kvt::MeasurementStore> result) override { store = std::move(result); }

    CountingClock counting;
    std::unique_ptr<kvt::MeasurementStore> store;
};

void readThroughWorker(benchmark::State &state)
{
    if (!setUpFullInstrument(state))
        return;

    for (auto _ : state) {
        state.PauseTiming();
        simulator().reset();
        kvt::LinkShared shared;
        BenchHost host;
        kvt::DeviceWorker worker(shared, host, QStringLiteral(KVT10_SIM_LIBRARY));
        state.ResumeTiming();

        do {
            worker.pass(host);
            if (shared.linkState != kvt::StateIdle)
                host.clock().sleepMs(50);
        } while (shared.linkState != kvt::StateIdle);

        state.PauseTiming();
        worker.finish();
        if (!host.store || host.store->impactCount() != FullInstrument) {
            state.SkipWithError("the read failed");
            return;
        }
        workerPauseSeconds = host.counting.asked / 1000.0;
        workerModelledSeconds = simulator().modelledMs() / 1000.0;
        state.ResumeTiming();
    }
    state.counters["pauses_ms"] = workerPauseSeconds * 1000;
    state.counters["modelled_bus_ms"] = workerModelledSeconds * 1000;
}

class DeviceReadGoals : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        zeroLatencyGoal("", seconds("readFullInstrument", "full_speed_timing:0"), PauseSeconds);
        fullSpeedGoal("", seconds("readFullInstrument", "full_speed_timing:1"), PauseSeconds, modelledSeconds);
        zeroLatencyGoal("worker, ", seconds("readThroughWorker", "full_speed_timing:0"), workerPauseSeconds);
        fullSpeedGoal("worker, ", seconds("readThroughWorker", "full_speed_timing:1"), workerPauseSeconds,
                      workerModelledSeconds);
    }

private:
    void zeroLatencyGoal(const char *what, double total, double pauses)
    {
        if (total <= 0 || pauses <= 0)
            return;
        const double beyond = total - pauses;
        goalLine(kvt::bench::format("%szero latency: %.1f ms in all, %.1f ms beyond the %.0f ms of pauses = %.1f%% "
                                    "(goal <= 5%%)",
                                    what, total * 1e3, beyond * 1e3, pauses * 1e3, beyond / pauses * 100),
                 beyond <= 0.05 * pauses);
    }

    void fullSpeedGoal(const char *what, double total, double pauses, double modelled)
    {
        if (total <= 0 || modelled <= 0)
            return;
        const double beyond = total - pauses;
        goalLine(kvt::bench::format("%sfull-speed model: %.1f ms beyond the pauses against %.1f ms of modelled bus "
                                    "time = %+.1f%% (goal within 5%%)",
                                    what, beyond * 1e3, modelled * 1e3, (beyond / modelled - 1) * 100),
                 std::abs(beyond / modelled - 1) <= 0.05);
    }
};

} // namespace

BENCHMARK(readFullInstrument)
    ->ArgName("full_speed_timing")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(readThroughWorker)
    ->ArgName("full_speed_timing")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    DeviceReadGoals reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
