#pragma once

#include "device/device_worker.h"
#include "device/link_display.h"

#include <functional>

namespace kvt {

// The program's own device worker on its thread, for the command-line verbs
// that talk to the instrument. Its status texts and progress go to stderr.
class CliWorker final : public LinkDisplay {
public:
    explicit CliWorker(Language language);

    LinkShared &link() { return m_link; }
    // What a complete read of the measurements does; by default nothing.
    void onFinishRead(std::function<void(MeasurementStore &)> handler) { m_finishRead = std::move(handler); }

    // Runs the worker with step called every 50 ms on this thread until step
    // (or the read's handler) calls finish. When timeoutSeconds pass first
    // (not counting the time the worker spends reading the measurements), the
    // not-connected text goes to stderr and the exit status is 1.
    int run(int timeoutSeconds, std::function<void()> step = {});
    // Runs the worker until a request of the window's kind is served: post is
    // called whenever the worker is idle (first once the measurements are read,
    // again after a failed exchange sent it searching) and gives the posted
    // request's serial; done gives the exit status once that request is served.
    int runRequest(int timeoutSeconds, const std::function<std::optional<quint32>()> &post,
                   const std::function<int()> &done);
    void finish(int exitCode);
    // On stderr, like the worker's status texts.
    void say(const QString &text);

    Language language() const override { return m_language; }
    void setStatusText(const QString &text) override { say(text); }
    void setDeviceText(const QString &text) override { say(text); }
    void setLinkIndicator(LinkColor) override {}
    void setProgress(std::optional<int> position) override;
    void finishRead(std::unique_ptr<MeasurementStore> result) override;

private:
    Language m_language;
    LinkShared m_link;
    DeviceWorker m_worker;
    std::function<void(MeasurementStore &)> m_finishRead;
    QString m_lastText;
    int m_lastProgress = -1;
    bool m_finished = false;
};

// Parses "-o FILE", "--timeout SEC" (1 to 86400) and the positional arguments.
struct CliDeviceOptions {
    QString output;
    int timeoutSeconds = 15;
    QStringList positional;
};
std::optional<CliDeviceOptions> parseDeviceOptions(const QStringList &arguments);

} // namespace kvt
