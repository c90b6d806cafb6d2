#include "cli_read.h"

#include "cli_output.h"
#include "device/device_worker.h"
#include "device/execute_thread_host.h"
#include "device/libusb_error_text.h"
#include "device/lm_thread.h"
#include "files/file_texts.h"
#include "files/kvt_file.h"

#include <QCoreApplication>
#include <QTimer>

namespace kvt {
namespace {

constexpr int DefaultTimeoutSeconds = 15;
constexpr int StopWaitMs = 5000;
const char16_t ReadUsage[] = u"usage: kvt10-cli read -o FILE.kvt [--timeout SEC] [--lang ru|en]\n";

// The worker's effects as lines on stderr; the complete read is saved.
class CliDisplay final : public LinkDisplay {
public:
    CliDisplay(Language language, QString output) : m_language(language), m_output(std::move(output)) {}

    Language language() const override { return m_language; }
    void setStatusText(const QString &text) override { say(text); }
    void setDeviceText(const QString &text) override { say(text); }
    void setLinkIndicator(LinkColor) override {}
    void setProgress(std::optional<int> position) override
    {
        if (position && *position != m_lastProgress)
            writeUtf8(stderr, QString::number(*position) + QStringLiteral("%\n"));
        m_lastProgress = position.value_or(-1);
    }
    void finishRead(std::unique_ptr<MeasurementStore> result) override
    {
        if (saveKvtFile(m_output, *result) == KvtSaveStatus::Saved) {
            m_exitCode = CliSuccess;
        } else {
            say(CannotCreateFirst.text(m_language) + m_output + CannotCreateSecond.text(m_language));
            m_exitCode = CliFailure;
        }
        m_finished = true;
        QCoreApplication::exit(m_exitCode);
    }

    bool finished() const { return m_finished; }

private:
    void say(const QString &text)
    {
        if (!text.isEmpty() && text != m_lastText)
            writeUtf8(stderr, text + u'\n');
        m_lastText = text;
    }

    Language m_language;
    QString m_output;
    QString m_lastText;
    int m_lastProgress = -1;
    bool m_finished = false;
    int m_exitCode = CliFailure;
};

} // namespace

int runRead(const QStringList &arguments, Language language)
{
    QString output;
    int timeoutSeconds = DefaultTimeoutSeconds;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool ok = i + 1 < arguments.size();
        if (arguments[i] == u"-o" && ok)
            output = arguments[++i];
        else if (arguments[i] == u"--timeout" && ok)
            timeoutSeconds = arguments[++i].toInt(&ok);
        else
            ok = false;
        if (!ok || timeoutSeconds <= 0) {
            writeUtf8(stderr, QString::fromUtf16(ReadUsage));
            return CliUsage;
        }
    }
    if (output.isEmpty()) {
        writeUtf8(stderr, QString::fromUtf16(ReadUsage));
        return CliUsage;
    }

    LinkShared link;
    link.language = language;
    CliDisplay display(language, output);
    DeviceWorker worker(link, display);
    TLMThread thread;
    thread.OnExecute = [&worker](TLMThreadBase *, TLMExecuteThread *running, void *&) {
        ExecuteThreadHost host(*running);
        worker.LMThreadUSBExecute(host);
    };

    // No instrument that answers in time: the program's own not-connected text.
    QTimer::singleShot(timeoutSeconds * 1000, [&display] {
        if (!display.finished()) {
            writeUtf8(stderr, QString::fromUtf16(NotConnectedMessage) + u'\n');
            QCoreApplication::exit(CliFailure);
        }
    });
    thread.Start();
    const int exitCode = QCoreApplication::exec();
    thread.StopAndWait(StopWaitMs);
    return exitCode;
}

} // namespace kvt
