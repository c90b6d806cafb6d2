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
    bool posted = false;
    const int exitCode = worker.run(options->timeoutSeconds, [&] {
        // Asked of an idle worker, so that the measurements are read first and
        // a failed exchange is tried again rather than ending in a new search.
        if (!posted) {
            posted = worker.link().linkState == StateIdle && postScreenRequest(worker.link(), received);
            return;
        }
        if (worker.link().linkState == StateReadScreen)
            return;
        if (worker.link().linkState != StateIdle) {
            posted = false; // the link failed: ask again once the worker is back
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
