#pragma once

#include "impact_record.h"

#include <vector>

namespace kvt {

// The one home of all measurement data: the impacts in the order the instrument
// delivered them, its directory, and the series index over consecutive impacts
// with equal series numbers. It is allocated once at full capacity; filling,
// deleting and reading never allocate.
//
// Positions are 0-based record positions; series are 0-based indexes into the
// series index, not series numbers.
class MeasurementStore {
public:
    MeasurementStore();

    // Filling: a filler writes the directory and the records in place, sets the
    // count, then rebuilds the series index.
    DirectoryEntry *directory() { return m_directory.data(); }
    const DirectoryEntry *directory() const { return m_directory.data(); }
    ImpactRecord *records() { return m_records.data(); }
    const ImpactRecord *records() const { return m_records.data(); }
    void setImpactCount(quint32 count);
    void countDirectoryImpacts();
    void rebuildSeriesIndex();
    // A complete fill (a read, an opened file) replaces the measurements but
    // not the working copy and the displayed position: after an empty fill the
    // chart still shows, and redraws, the impact it showed.
    void replaceMeasurements(MeasurementStore &&filled);

    quint32 impactCount() const { return m_impactCount; }
    bool isEmpty() const { return m_impactCount == 0; }
    const ImpactRecord &record(quint32 position) const { return m_records[position]; }

    quint32 seriesCount() const { return m_seriesCount; }
    // seriesStart(seriesCount()) is the end marker, equal to impactCount().
    quint32 seriesStart(quint32 series) const { return m_seriesStart[series]; }
    quint32 seriesSize(quint32 series) const { return m_seriesStart[series + 1] - m_seriesStart[series]; }

    // The run of equal series numbers around a position, found by walking the records.
    quint32 seriesFirst(quint32 position) const;
    quint32 seriesLength(quint32 position) const;

    // Deletions keep the series index in step but do not merge neighbouring
    // series that now share a number; rebuildSeriesIndex does, once the whole
    // deletion command is done.
    void deleteImpact(quint32 series, quint32 index);
    void deleteSeries(quint32 series);

    void loadCurrentRecord(quint32 position);
    const ImpactRecord &currentRecord() const { return m_currentRecord; }

    qint32 displayedImpact() const { return m_displayedImpact; }
    void setDisplayedImpact(qint32 position) { m_displayedImpact = position; }

private:
    std::vector<DirectoryEntry> m_directory;
    std::vector<ImpactRecord> m_records;
    quint32 m_impactCount = 0;
    std::vector<quint32> m_seriesStart;
    quint32 m_seriesCount = 0;
    ImpactRecord m_currentRecord{};
    qint32 m_displayedImpact = 0;
};

} // namespace kvt
