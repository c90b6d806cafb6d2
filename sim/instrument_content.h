#pragma once

#include "store/impact_record.h"

#include <QString>

#include <optional>
#include <vector>

namespace kvt::sim {

// What the instrument's memory holds: its directory (always all MaxImpacts
// entries, as it sends them) and its impacts in order.
struct InstrumentContent {
    std::vector<DirectoryEntry> directory = std::vector<DirectoryEntry>(MaxImpacts);
    std::vector<ImpactRecord> records;
};

// One in-use directory entry for each record, in order; the rest zero.
InstrumentContent contentWithRecords(std::vector<ImpactRecord> records);

// The demo's field day (demo_field_day.h): 27 series of 3 to 9 impacts.
InstrumentContent demoContent();

// A given number of impacts (at most DirectoryScanLimit) in series of five,
// for timing a complete read: the demo's field day repeated day after day.
InstrumentContent fullContent(int impacts);

// The impacts of a .kvt file. Its directory entries are kept where they mark
// an impact as in use, so a file read back from the instrument and saved again
// comes out the same; other entries are replaced, so every record is offered.
std::optional<InstrumentContent> contentFromKvtFile(const QString &path, QString *whyNot);

} // namespace kvt::sim
