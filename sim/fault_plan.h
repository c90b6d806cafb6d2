#pragma once

#include <QStringList>
#include <QStringView>

#include <bitset>
#include <optional>

namespace kvt::sim {

// What a slow instrument does with input that comes while it is still busy
// with the step before (sooner than the protocol's pauses allow): takes it at
// once as a fast one would, takes it once it is free so that everything after
// comes late, or drops it.
enum class EarlyInput { Taken, Late, Lost };

// The misbehaviour the instrument is told to show, so that the program's
// handling of a lost, silent or garbled instrument can be tried at will.
struct FaultPlan {
    // The instrument leaves the bus once this many record replies were read
    // (with 0: when the first record is asked for).
    std::optional<int> unplugAfterRecords;
    // ... and comes back this long after it left; without it, it stays away.
    std::optional<int> replugAfterMs;
    // Per command code: no reply at all, half the announced payload, or 100
    // bytes of 0xEE more than usual (announced too).
    std::bitset<256> timeoutOn;
    std::bitset<256> shortReply;
    std::bitset<256> longReply;
    bool emptyDirectory = false;
    // Unset: taken, or lost under KVT10_SIM_STRICT=1.
    std::optional<EarlyInput> earlyInput;
};

struct ParsedFaults {
    FaultPlan plan;
    QStringList unknownItems; // ignored; the caller says so once
};

// Items are separated by commas: unplug-after-records=N, replug-after-ms=T,
// timeout-on=C, short-reply=C, long-reply=C, empty-directory, slow=off|late|lost.
ParsedFaults parseFaultPlan(QStringView text);

} // namespace kvt::sim
