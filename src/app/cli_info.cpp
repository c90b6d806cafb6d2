#include "cli_info.h"

#include "cli_files.h"
#include "cli_output.h"
#include "store/table_texts.h"

#include <memory>

namespace kvt {
namespace {

const TextPair NoSuchSeries{u"Нет серии ", u"No series "};
const TextPair SeriesInFile{u"; серий в файле: ", u"; series in the file: "};

void printRow(const QStringList &cells)
{
    writeUtf8(stdout, tabSeparatedLine(cells));
}

} // namespace

int runInfo(const QStringList &arguments, Language language)
{
    QString fileName;
    std::optional<quint32> seriesRow;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--series") {
            bool ok = false;
            const quint32 row = i + 1 < arguments.size() ? arguments[i + 1].toUInt(&ok) : 0;
            if (!ok || seriesRow) {
                writeUtf8(stderr, QString::fromUtf16(InfoUsage));
                return CliUsage;
            }
            seriesRow = row;
            ++i;
        } else if (fileName.isEmpty() && !arguments[i].startsWith(u"--")) {
            fileName = arguments[i];
        } else {
            writeUtf8(stderr, QString::fromUtf16(InfoUsage));
            return CliUsage;
        }
    }
    if (fileName.isEmpty()) {
        writeUtf8(stderr, QString::fromUtf16(InfoUsage));
        return CliUsage;
    }

    auto store = std::make_unique<MeasurementStore>();
    if (!loadFileForCli(fileName, *store, language))
        return CliFailure;

    if (!seriesRow) {
        for (quint32 series = 0; series < store->seriesCount(); ++series) {
            const auto cells = seriesRowCells(*store, series);
            printRow(QStringList(cells.begin(), cells.end()));
        }
        return CliSuccess;
    }

    if (*seriesRow < 1) {
        writeUtf8(stderr, QString::fromUtf16(InfoUsage));
        return CliUsage;
    }
    // An impact table needs measurements; a series the file does not hold is a
    // failure of that file, as with export, not of the command.
    if (!hasMeasurementsForCli(*store, language))
        return CliFailure;
    if (*seriesRow > store->seriesCount()) {
        writeUtf8(stderr, NoSuchSeries.text(language) + QString::number(*seriesRow) + SeriesInFile.text(language)
                      + QString::number(store->seriesCount()) + u'\n');
        return CliFailure;
    }
    for (const QStringList &row : impactTableGrid(*store, *seriesRow - 1, language))
        printRow(row);
    return CliSuccess;
}

} // namespace kvt
