// Reading a full instrument (3556 records) through the libusb backend, with
// the simulated instrument loaded in libusb's place: once with its zero-latency
// bus and once with its full-speed USB timing model. The protocol's own pauses
// (80 ms before the version, 50 ms before the directory) are real waits here.
//
// Goals: with zero latency, at most 5% beyond the pauses; with the timing
// model, the time beyond the pauses within 5% of the bus time it modelled.
#include "device/device_protocol.h"
#include "device/usb_transport.h"
#include "goal_reporter.h"

#include <dlfcn.h>

#include <memory>

namespace {

constexpr double PauseSeconds = 0.080 + 0.050;
constexpr quint32 FullInstrument = 3556;
double modelledSeconds = 0;

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

void readFullInstrument(benchmark::State &state)
{
    const bool fullSpeed = state.range(0) != 0;
    qputenv("KVT10_SIM_IMPACTS", QByteArray::number(FullInstrument));
    if (fullSpeed)
        qputenv("KVT10_SIM_TIMING", "fullspeed");
    else
        qunsetenv("KVT10_SIM_TIMING");
    if (!simulator().reset || !simulator().modelledMs) {
        state.SkipWithError("the simulated instrument cannot be loaded");
        return;
    }

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

class DeviceReadGoals : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        using kvt::bench::format;
        const double zeroLatency = seconds("readFullInstrument", "full_speed_timing:0");
        if (zeroLatency > 0) {
            const double beyond = zeroLatency - PauseSeconds;
            goalLine(format("zero latency: %.1f ms in all, %.1f ms beyond the %.0f ms of pauses = %.1f%% (goal <= 5%%)",
                            zeroLatency * 1e3, beyond * 1e3, PauseSeconds * 1e3, beyond / PauseSeconds * 100),
                     beyond <= 0.05 * PauseSeconds);
        }
        const double fullSpeed = seconds("readFullInstrument", "full_speed_timing:1");
        if (fullSpeed > 0 && modelledSeconds > 0) {
            const double beyond = fullSpeed - PauseSeconds;
            goalLine(format("full-speed model: %.1f ms beyond the pauses against %.1f ms of modelled bus time = "
                            "%+.1f%% (goal within 5%%)",
                            beyond * 1e3, modelledSeconds * 1e3, (beyond / modelledSeconds - 1) * 100),
                     std::abs(beyond / modelledSeconds - 1) <= 0.05);
        }
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

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    DeviceReadGoals reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
