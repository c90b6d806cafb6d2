#include "cli_names.h"

#include "cli_files.h"
#include "cli_output.h"
#include "cli_worker.h"
#include "device/link_requests.h"
#include "files/file_texts.h"
#include "namelists/name_list_file.h"
#include "namelists/name_list_kind.h"
#include "namelists/name_table.h"

namespace kvt {
namespace {

int usage()
{
    writeUtf8(stderr, QString::fromUtf16(NamesUsage));
    return CliUsage;
}

} // namespace

int runNames(const QStringList &arguments, Language language)
{
    const std::optional<CliDeviceOptions> options = parseDeviceOptions(arguments.mid(1));
    const QString direction = arguments.value(0);
    if (!options || (direction != u"read" && direction != u"write"))
        return usage();
    const bool write = direction == u"write";
    if (options->positional.size() != (write ? 2 : 1) || (write && !options->output.isEmpty()))
        return usage();
    const QString listName = options->positional[0];
    if (listName != u"materials" && listName != u"objects")
        return usage();
    const NameListKind &kind = listName == u"materials" ? materialsKind() : objectsKind();

    CliWorker worker(language);
    NameListBlock &table = worker.link().*kind.table;
    if (write) {
        const QString file = options->positional[1];
        const std::optional<QStringList> names = readNameListFile(file, kind.fileSection);
        if (!names) {
            writeUtf8(stderr, FileRejected.text(language) + QStringLiteral(": ") + file + u'\n');
            return CliFailure;
        }
        storeNames(table, *names);
        return worker.runRequest(options->timeoutSeconds, [&] { return postRequest(worker.link(), kind.writeRequest); },
                                 [] { return int(CliSuccess); });
    }

    return worker.runRequest(options->timeoutSeconds, [&] { return postRequest(worker.link(), kind.readRequest); }, [&] {
        const QStringList names = namesFromTable(table);
        if (options->output.isEmpty()) {
            for (const QString &name : names)
                writeUtf8(stdout, oneCell(name) + u'\n');
            return int(CliSuccess);
        }
        return int(writeFileForCli(options->output, updatedNameListFile(options->output, kind.fileSection, names), language)
                       ? CliSuccess
                       : CliFailure);
    });
}

} // namespace kvt
