#pragma once

#include "link_state.h"
#include "store/measurement_store.h"

#include <QString>

#include "support/clock.h"

#include <functional>

#include <memory>
#include <optional>

namespace kvt {

// The worker's effects on the window. Every call runs on the window thread,
// in the order the worker issued it.
class LinkDisplay {
public:
    virtual ~LinkDisplay() = default;
    virtual Language language() const = 0;
    virtual void setStatusText(const QString &text) = 0;   // status panel 1
    virtual void setDeviceText(const QString &text) = 0;   // status panel 0
    virtual void setLinkIndicator(LinkColor color) = 0;
    virtual void setProgress(std::optional<int> position) = 0; // nothing hides the bar
    // A read has ended: the complete result replaces the store, Table 1 is refreshed.
    virtual void finishRead(std::unique_ptr<MeasurementStore> result) = 0;
};

// Where the worker runs: its terminate request, its pauses (a clock, so that
// tests need not wait) and the hand-over of effects to the window thread.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;
    virtual bool terminated() const = 0;
    virtual Clock &clock() = 0;
    // Runs the call on the window thread and returns when it has run; nothing
    // once the worker has been asked to terminate.
    virtual void synchronize(const std::function<void()> &call) = 0;
};

} // namespace kvt
