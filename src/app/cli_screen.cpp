#include "cli_screen.h"

#include "cli_files.h"
#include "cli_output.h"
#include "cli_worker.h"
#include "device/screen_bitmap.h"
#include "device/link_requests.h"
#include "device/screen_viewer_settings.h"

namespace kvt {

int runScreen(const QStringList &arguments, Language language)
{
    const std::optional<CliDeviceOptions> options = parseDeviceOptions(arguments);
    if (!options || options->output.isEmpty() || !options->positional.isEmpty()) {
        writeUtf8(stderr, QStringLiteral("usage: kvt10-cli screen -o FILE.bmp [--timeout SEC]\n"));
        return CliUsage;
    }

    CliWorker worker(language);
    ScreenBlock received{};
    std::optional<quint32> serial;
    const int exitCode = worker.run(options->timeoutSeconds, [&] {
        // Asked of an idle worker, so that the measurements are read first; a
        // request that failed into a new search is asked again once it is back.
        // The state first: once it is seen idle, a served request shows as served.
        const quint8 state = worker.link().linkState;
        if (!serial || !requestServed(worker.link(), *serial)) {
            if (state == StateIdle)
                serial = postScreenRequest(worker.link(), received);
            return;
        }
        ScreenPixels pixels;
        pixels.drawScreenFrame();
        {
            const std::lock_guard lock(worker.link().requestLock);
            pixels.decode(received);
        }
        const QImage image = screenImage(pixels, DefaultPenColor, DefaultBackgroundColor);
        worker.finish(writeFileForCli(options->output, bitmapFileBytes(image), language) ? CliSuccess : CliFailure);
    });
    releaseScreenBuffer(worker.link(), received);
    return exitCode;
}

} // namespace kvt
