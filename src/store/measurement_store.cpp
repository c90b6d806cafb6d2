#include "measurement_store.h"

#include <algorithm>

namespace kvt {

MeasurementStore::MeasurementStore()
    : m_directory(MaxImpacts), m_records(MaxImpacts), m_seriesStart(MaxImpacts + 1, 0)
{
}

void MeasurementStore::setImpactCount(quint32 count)
{
    m_impactCount = std::min(count, MaxImpacts);
}

void MeasurementStore::replaceMeasurements(MeasurementStore &&filled)
{
    m_directory = std::move(filled.m_directory);
    m_records = std::move(filled.m_records);
    m_impactCount = filled.m_impactCount;
    m_seriesStart = std::move(filled.m_seriesStart);
    m_seriesCount = filled.m_seriesCount;
}

void MeasurementStore::countDirectoryImpacts()
{
    // The first entry not in use ends the directory; entries after it are stale.
    quint32 count = 0;
    while (count < DirectoryScanLimit && m_directory[count].inUse())
        ++count;
    m_impactCount = count;
}

void MeasurementStore::rebuildSeriesIndex()
{
    m_seriesStart[0] = 0;
    if (m_impactCount == 0) {
        m_seriesCount = 0;
        return;
    }
    quint32 series = 0;
    for (quint32 p = 1; p < m_impactCount; ++p) {
        if (m_records[p].seriesNumber() != m_records[m_seriesStart[series]].seriesNumber())
            m_seriesStart[++series] = p;
    }
    m_seriesStart[series + 1] = m_impactCount;
    m_seriesCount = series + 1;
}

quint32 MeasurementStore::seriesFirst(quint32 position) const
{
    const quint32 number = m_records[position].seriesNumber();
    while (position > 0 && m_records[position - 1].seriesNumber() == number)
        --position;
    return position;
}

quint32 MeasurementStore::seriesLength(quint32 position) const
{
    const quint32 number = m_records[position].seriesNumber();
    quint32 last = position;
    while (last + 1 < m_impactCount && m_records[last + 1].seriesNumber() == number)
        ++last;
    return last - seriesFirst(position) + 1;
}

void MeasurementStore::deleteImpact(quint32 series, quint32 index)
{
    const quint32 position = m_seriesStart[series] + index;
    std::copy(m_records.begin() + position + 1, m_records.begin() + m_impactCount,
              m_records.begin() + position);
    --m_impactCount;
    for (quint32 j = series + 1; j <= m_seriesCount; ++j)
        --m_seriesStart[j];
}

void MeasurementStore::deleteSeries(quint32 series)
{
    // The index's own length, not a walk over series numbers: after an earlier
    // deletion two neighbouring series may share a number, and a walk would
    // take both.
    const quint32 removed = seriesSize(series);
    std::copy(m_records.begin() + m_seriesStart[series + 1], m_records.begin() + m_impactCount,
              m_records.begin() + m_seriesStart[series]);
    m_impactCount -= removed;
    for (quint32 j = series; j < m_seriesCount; ++j)
        m_seriesStart[j] = m_seriesStart[j + 1] - removed;
    --m_seriesCount;
}

void MeasurementStore::loadCurrentRecord(quint32 position)
{
    if (position < m_impactCount)
        m_currentRecord = m_records[position];
}

} // namespace kvt
