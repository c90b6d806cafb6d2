// Feeds arbitrary bytes to the .kvt reader as a whole file, and for every file it
// accepts builds the texts of both tables, so that whatever a damaged or hostile
// file puts into the records goes through the number and name formatting too.

#include "files/kvt_file.h"
#include "store/measurement_store.h"
#include "store/table_texts.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The series index must cover the impacts exactly: it starts at 0, grows strictly,
// ends at the impact count, and each series is one maximal run of equal numbers.
void checkSeriesIndex(const kvt::MeasurementStore &store)
{
    const quint32 count = store.impactCount();
    check(count <= kvt::MaxImpacts);
    check(store.seriesCount() <= count);
    check((count == 0) == (store.seriesCount() == 0));
    check(store.seriesStart(0) == 0);
    for (quint32 s = 0; s < store.seriesCount(); ++s) {
        check(store.seriesStart(s) < store.seriesStart(s + 1));
        const quint32 first = store.seriesStart(s);
        const quint32 number = store.record(first).seriesNumber();
        for (quint32 p = first; p < store.seriesStart(s + 1); ++p)
            check(store.record(p).seriesNumber() == number);
        if (s > 0)
            check(store.record(store.seriesStart(s - 1)).seriesNumber() != number);
    }
    check(store.seriesStart(store.seriesCount()) == count);
}

void buildTableTexts(const kvt::MeasurementStore &store)
{
    for (quint32 s = 0; s < store.seriesCount(); ++s) {
        const auto row = kvt::seriesRowCells(store, s);
        check(!row[0].isEmpty());
        for (kvt::Language language : {kvt::Language::Russian, kvt::Language::English}) {
            const QList<QStringList> grid = kvt::impactTableGrid(store, s, language);
            check(grid.size() == kvt::ImpactTableRows);
            for (const QStringList &gridRow : grid)
                check(gridRow.size() == qsizetype(store.seriesSize(s)) + 1);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Allocated once: the store holds 3557 records (about 7.8 MB) and, like the
    // program's own staging store, is filled in place.
    static kvt::MeasurementStore store;

    // Raw data, not a copy, so a read past the input's end is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return 0;

    if (!kvt::readKvt(buffer, store))
        return 0;

    // Only a file of exactly header + directory + records is accepted.
    check(size >= std::size_t(kvt::KvtHeaderSize));
    check(size == std::size_t(kvt::KvtHeaderSize)
                      + std::size_t(store.impactCount()) * (kvt::DirectoryEntrySize + kvt::ImpactRecordSize));
    checkSeriesIndex(store);
    buildTableTexts(store);
    return 0;
}
