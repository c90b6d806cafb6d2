#pragma once

// The device worker run pass by pass on the test thread against the simulated
// instrument (KVT10_SIM_LIBRARY), with a fast clock.

#include "device/link_display.h"

#include <QStringList>

#include "held_library.h"

#include <memory>

namespace kvt::testing {

// Runs the worker's passes on the test thread with a fast clock; effects
// apply at once, as the window thread would apply them, in order.
class InlineHost final : public WorkerHost {
public:
    bool terminated() const override { return stop; }
    Clock &clock() override { return fakeClock; }
    void synchronize(const std::function<void()> &call) override
    {
        if (!stop)
            call();
    }
    bool stop = false;
    FakeClock fakeClock;
};

// What the window would show.
class RecordingDisplay final : public LinkDisplay {
public:
    Language language() const override { return lang; }
    void setStatusText(const QString &text) override { statuses << text; }
    void setDeviceText(const QString &text) override { deviceTexts << text; }
    void setLinkIndicator(LinkColor color) override { colors << color; }
    void setProgress(std::optional<int> position) override
    {
        progress << position.value_or(-1);
        if (position && onProgress)
            onProgress(*position);
    }
    void finishRead(std::unique_ptr<MeasurementStore> result) override
    {
        store = std::move(result);
        ++finishedReads;
    }

    Language lang = Language::English;
    QStringList statuses;
    QStringList deviceTexts;
    QList<LinkColor> colors;
    QList<int> progress; // -1: hidden
    std::unique_ptr<MeasurementStore> store;
    int finishedReads = 0;
    std::function<void(int)> onProgress;
};

// Held open with its own handle for the whole run, whatever the workers'
// transports load and unload.
inline void *simulatorLibrary()
{
    static void *simulator = holdLibrary(QStringLiteral(KVT10_SIM_LIBRARY));
    return simulator;
}

inline void resetSimulator(const QByteArray &faults = {}, const QByteArray &impacts = {})
{
    qputenv("KVT10_SIM_FAULTS", faults);
    if (impacts.isEmpty())
        qunsetenv("KVT10_SIM_IMPACTS");
    else
        qputenv("KVT10_SIM_IMPACTS", impacts);
    heldFunction(simulatorLibrary(), "kvt10sim_reset")();
}

// The simulated instrument keeps time on this clock from now on, so that it
// sees the worker's fast pauses as the pauses they stand for.
inline void simulatorRunsOn(Clock &clock)
{
    using NowMs = long long (*)(void *);
    using SleepMs = void (*)(void *, long long);
    const auto useClock = reinterpret_cast<void (*)(NowMs, SleepMs, void *)>(
        heldFunction(simulatorLibrary(), "kvt10sim_use_clock"));
    useClock([](void *context) -> long long { return static_cast<Clock *>(context)->nowMs(); },
             [](void *context, long long ms) { static_cast<Clock *>(context)->sleepMs(int(ms)); }, &clock);
}

} // namespace kvt::testing
