#include "cli_worker.h"

#include "cli_output.h"
#include "device/execute_thread_host.h"
#include "device/libusb_error_text.h"
#include "device/link_requests.h"
#include "device/lm_thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace kvt {
namespace {

constexpr int StepMs = 50;
constexpr int MaxTimeoutSeconds = 24 * 60 * 60;
constexpr int StopWaitMs = 5000;

} // namespace

CliWorker::CliWorker(Language language) : m_language(language), m_worker(m_link, *this)
{
    m_link.language = language;
}

void CliWorker::say(const QString &text)
{
    if (!text.isEmpty() && text != m_lastText)
        writeUtf8(stderr, text + u'\n');
    m_lastText = text;
}

void CliWorker::setProgress(std::optional<int> position)
{
    if (position && *position != m_lastProgress)
        writeUtf8(stderr, QString::number(*position) + QStringLiteral("%\n"));
    m_lastProgress = position.value_or(-1);
}

void CliWorker::finishRead(std::unique_ptr<MeasurementStore> result)
{
    if (m_finishRead && !m_finished)
        m_finishRead(*result);
}

void CliWorker::finish(int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    QCoreApplication::exit(exitCode);
}

int CliWorker::run(int timeoutSeconds, std::function<void()> step)
{
    TLMThread thread;
    thread.OnExecute = [this](TLMThreadBase *, TLMExecuteThread *running, void *&) {
        ExecuteThreadHost host(*running);
        m_worker.LMThreadUSBExecute(host);
    };

    QTimer steps;
    if (step) {
        QObject::connect(&steps, &QTimer::timeout, [this, &step] {
            if (!m_finished)
                step();
        });
        steps.start(StepMs);
    }
    // No instrument that answers in time: the program's own not-connected
    // text. Once the instrument answers, reading its records may take long
    // (a full one takes minutes); that time does not count, and a stalled
    // read fails through the worker's own transfer time-outs.
    QTimer watch;
    QElapsedTimer sinceTick;
    qint64 waitedMs = 0;
    QObject::connect(&watch, &QTimer::timeout, [this, timeoutSeconds, &sinceTick, &waitedMs] {
        const qint64 tickMs = sinceTick.restart();
        if (!readingRecords(m_link.linkState))
            waitedMs += tickMs;
        if (!m_finished && waitedMs > qint64(timeoutSeconds) * 1000) {
            writeUtf8(stderr, QString::fromUtf16(NotConnectedMessage) + u'\n');
            finish(CliFailure);
        }
    });
    watch.start(StepMs);
    sinceTick.start();
    thread.Start();
    const int exitCode = QCoreApplication::exec();
    watch.stop();
    steps.stop();
    thread.StopAndWait(StopWaitMs);
    return exitCode;
}

int CliWorker::runRequest(int timeoutSeconds, const std::function<std::optional<quint32>()> &post,
                          const std::function<int()> &done)
{
    std::optional<quint32> serial;
    return run(timeoutSeconds, [&] {
        // The state first: once it is seen idle, a served request shows as served.
        const quint8 state = m_link.linkState;
        if (serial && requestServed(m_link, *serial))
            return finish(done());
        if (state == StateIdle)
            serial = post();
    });
}

std::optional<CliDeviceOptions> parseDeviceOptions(const QStringList &arguments)
{
    CliDeviceOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (arguments[i] == u"-o" && hasValue)
            options.output = arguments[++i];
        else if (arguments[i] == u"--timeout" && hasValue)
            options.timeoutSeconds = arguments[++i].toInt(&ok);
        else if (!arguments[i].startsWith(u'-'))
            options.positional << arguments[i];
        else
            ok = false;
        if (!ok || options.timeoutSeconds <= 0 || options.timeoutSeconds > MaxTimeoutSeconds)
            return std::nullopt;
    }
    return options;
}

} // namespace kvt
