#include "cli_screen.h"

#include "cli_files.h"
#include "cli_output.h"
#include "cli_worker.h"
#include "device/link_requests.h"
#include "device/screen_bitmap.h"
#include "device/screen_viewer_settings.h"

namespace kvt {

int runScreen(const QStringList &arguments, Language language)
{
    const std::optional<CliDeviceOptions> options = parseDeviceOptions(arguments);
    if (!options || options->output.isEmpty() || !options->positional.isEmpty()) {
        writeUtf8(stderr, QString::fromUtf16(ScreenUsage));
        return CliUsage;
    }

    CliWorker worker(language);
    ScreenBlock received{};
    const int exitCode = worker.runRequest(
        options->timeoutSeconds, [&] { return postScreenRequest(worker.link(), received); },
        [&] {
            ScreenPixels pixels;
            pixels.drawScreenFrame();
            {
                const std::lock_guard lock(worker.link().requestLock);
                pixels.decode(received);
            }
            const QImage image = screenImage(pixels, DefaultPenColor, DefaultBackgroundColor);
            return int(writeFileForCli(options->output, bitmapFileBytes(image), language) ? CliSuccess : CliFailure);
        });
    releaseScreenBuffer(worker.link(), received);
    return exitCode;
}

} // namespace kvt
