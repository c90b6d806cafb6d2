#include "instrument_content.h"

#include "demo_records.h"
#include "files/kvt_file.h"

#include <algorithm>
#include <memory>

namespace kvt::sim {
namespace {

constexpr int FullSeriesLength = 5;

// The instrument keeps its impacts in flash blocks from 0x200 on; the program
// only asks that an in-use entry points there and is not flagged as erased.
DirectoryEntry inUseEntry(quint32 position)
{
    DirectoryEntry entry;
    storeLittleEndian<quint16>(&entry.bytes[0], quint16(0x200 + position));
    entry.bytes[2] = 0x01;
    entry.bytes[3] = 0x00;
    return entry;
}

} // namespace

InstrumentContent contentWithRecords(std::vector<ImpactRecord> records)
{
    InstrumentContent content;
    records.resize(std::min<size_t>(records.size(), MaxImpacts));
    for (quint32 p = 0; p < records.size(); ++p)
        content.directory[p] = inUseEntry(p);
    content.records = std::move(records);
    return content;
}

InstrumentContent demoContent()
{
    // Every restart of the instrument asks again; the day is simulated once.
    static const InstrumentContent day = contentWithRecords(makeDemoRecords(demoFieldDay()));
    return day;
}

InstrumentContent fullContent(int impacts)
{
    // The demo's day again and again, a day later each time, in series of five.
    impacts = std::clamp(impacts, 0, int(DirectoryScanLimit));
    const std::vector<DemoSeries> day = demoFieldDay();
    std::vector<DemoSeries> series;
    for (int first = 0; first < impacts; first += FullSeriesLength) {
        const size_t k = series.size();
        DemoSeries one = day[k % day.size()];
        one.start = one.start.addDays(qint64(k / day.size()));
        one.impacts = std::min(FullSeriesLength, impacts - first);
        series.push_back(one);
    }
    return contentWithRecords(makeDemoRecords(series));
}

std::optional<InstrumentContent> contentFromKvtFile(const QString &path, QString *whyNot)
{
    auto store = std::make_unique<MeasurementStore>();
    switch (loadKvtFile(path, *store)) {
    case KvtLoadStatus::Loaded:
        break;
    case KvtLoadStatus::CannotOpen:
        *whyNot = QStringLiteral("cannot open %1").arg(path);
        return std::nullopt;
    case KvtLoadStatus::Rejected:
        *whyNot = QStringLiteral("%1 is not a readable .kvt file").arg(path);
        return std::nullopt;
    }
    InstrumentContent content =
        contentWithRecords({store->records(), store->records() + store->impactCount()});
    for (quint32 p = 0; p < content.records.size(); ++p) {
        if (store->directory()[p].inUse())
            content.directory[p] = store->directory()[p];
    }
    return content;
}

} // namespace kvt::sim
