#include "cli_read.h"

#include "cli_files.h"
#include "cli_output.h"
#include "cli_worker.h"
#include "files/kvt_file.h"

namespace kvt {

int runRead(const QStringList &arguments, Language language)
{
    const std::optional<CliDeviceOptions> options = parseDeviceOptions(arguments);
    if (!options || options->output.isEmpty() || !options->positional.isEmpty()) {
        writeUtf8(stderr, QString::fromUtf16(ReadUsage));
        return CliUsage;
    }

    CliWorker worker(language);
    worker.onFinishRead([&worker, &options, language](MeasurementStore &result) {
        worker.finish(writeFileForCli(options->output, encodeKvt(result), language) ? CliSuccess : CliFailure);
    });
    return worker.run(options->timeoutSeconds);
}

} // namespace kvt
