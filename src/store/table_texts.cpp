#include "table_texts.h"

#include "short_name20.h"
#include "support/number_format.h"

#include <QStringBuilder>

namespace kvt {
namespace {

const TextPair seriesHeaders[SeriesTableHeaderRows][SeriesTableColumns] = {
    {{u"№", u"№"},
     {u"Дата", u"Date"},
     {u"Время", u"Time"},
     {u"Дин.модуль", u"Din.modulus"},
     {u"Стат.модуль", u"Stat.modulus"},
     {u"Материал", u"Material"},
     {u"Объект", u"Object"}},
    {{u"", u""},
     {u"д.м.г", u"d:m:y"},
     {u"ч:м:с", u"h:m:s"},
     {u"МПа", u"MPa"},
     {u"МПа", u"MPa"},
     {u"", u""},
     {u"", u""}},
};

struct RowLabel {
    TextPair quantity;
    TextPair unit;
};

const RowLabel impactRowLabels[ImpactTableRows - 1] = {
    {{u"Дин.модуль", u"Din.modulus"}, {u"МПа", u"MPa"}},
    {{u"Стат.модуль", u"Stat.modulus"}, {u"МПа", u"MPa"}},
    {{u"Виброускорение", u"Vibr.acceleration"}, {u"м/с2", u"m/c2"}},
    {{u"Виброскорость", u"Vibr.velocity"}, {u"м/с", u"m/c"}},
    {{u"Виброперемещение", u"Vibr.displacement"}, {u"мм", u"mm"}},
    {{u"Сила удара", u"Impact force"}, {u"Н", u"N"}},
};

const TextPair impactSuffix{u"-й удар", u"-st impact"};

// The "00" texts of the byte values, made once: opening a file writes six of
// them for every series row, and joining ready texts costs one allocation a cell.
const QString &twoDigits(quint8 value)
{
    static const std::array<QString, 256> texts = [] {
        std::array<QString, 256> made;
        for (int v = 0; v < 256; ++v)
            made[size_t(v)] = formatNumberOrNan(v, NumberPattern::TwoDigits);
        return made;
    }();
    return texts[value];
}

QString floatCell(const ImpactRecord &record, ImpactRecord::Offset field, NumberPattern pattern)
{
    return formatNumberOrNan(record.floatAt(field), pattern);
}

double seriesMean(const MeasurementStore &store, quint32 series, ImpactRecord::Offset field)
{
    // Summed in single precision, as the instrument's own software does.
    float sum = 0;
    const quint32 first = store.seriesStart(series);
    const quint32 count = store.seriesSize(series);
    for (quint32 p = first; p < first + count; ++p)
        sum += store.record(p).floatAt(field);
    return double(sum) / count;
}

} // namespace

QString seriesTableHeader(int column, int row, Language language)
{
    if (row < 0 || row >= SeriesTableHeaderRows || column < 0 || column >= SeriesTableColumns)
        return {};
    return seriesHeaders[row][column].text(language);
}

std::array<QString, SeriesTableColumns> seriesRowCells(const MeasurementStore &store, quint32 series)
{
    const ImpactRecord &first = store.record(store.seriesStart(series));
    using R = ImpactRecord;
    return {
        formatNumberOrNan(first.seriesNumber(), NumberPattern::Integer) % QLatin1Char('/')
            % formatNumberOrNan(store.seriesSize(series), NumberPattern::Integer),
        twoDigits(first.byteAt(R::DateDay)) % QLatin1Char('.') % twoDigits(first.byteAt(R::DateMonth))
            % QLatin1Char('.') % twoDigits(first.byteAt(R::DateYear)),
        twoDigits(first.byteAt(R::TimeHour)) % QLatin1Char(':') % twoDigits(first.byteAt(R::TimeMin))
            % QLatin1Char(':') % twoDigits(first.byteAt(R::TimeSec)),
        formatNumberOrNan(seriesMean(store, series, R::DynModulus), NumberPattern::OptionalTenths),
        formatNumberOrNan(seriesMean(store, series, R::StatModulus), NumberPattern::OptionalTenths),
        readShortName20(first.nameField(R::MaterialName)),
        readShortName20(first.nameField(R::ObjectName)),
    };
}

QList<QStringList> seriesTableGrid(const MeasurementStore &store, Language language)
{
    QList<QStringList> rows;
    rows.reserve(SeriesTableHeaderRows + qMax<quint32>(store.seriesCount(), 1));
    for (int row = 0; row < SeriesTableHeaderRows; ++row) {
        QStringList header;
        for (int column = 0; column < SeriesTableColumns; ++column)
            header << seriesTableHeader(column, row, language);
        rows << header;
    }
    for (quint32 series = 0; series < store.seriesCount(); ++series) {
        const auto cells = seriesRowCells(store, series);
        rows << QStringList(cells.begin(), cells.end());
    }
    if (store.seriesCount() == 0)
        rows << QStringList(SeriesTableColumns);
    return rows;
}

QString impactColumnHeader(int column, Language language)
{
    return QString::number(column) + impactSuffix.text(language);
}

QString impactRowLabel(int row, Language language)
{
    if (row < 1 || row >= ImpactTableRows)
        return {};
    const RowLabel &label = impactRowLabels[row - 1];
    return label.quantity.text(language) + QStringLiteral(", ") + label.unit.text(language);
}

QString impactDateTimeCell(const ImpactRecord &record)
{
    using R = ImpactRecord;
    return twoDigits(record.byteAt(R::DateDay)) % QLatin1Char('.') % twoDigits(record.byteAt(R::DateMonth))
        % QLatin1String(".20") % twoDigits(record.byteAt(R::DateYear)) % QLatin1String(", ")
        % twoDigits(record.byteAt(R::TimeHour)) % QLatin1Char(':') % twoDigits(record.byteAt(R::TimeMin))
        % QLatin1Char(':') % twoDigits(record.byteAt(R::TimeSec));
}

std::array<QString, ImpactTableRows - 1> impactColumnCells(const ImpactRecord &record)
{
    using R = ImpactRecord;
    using P = NumberPattern;
    return {
        floatCell(record, R::DynModulus, P::Tenths),
        floatCell(record, R::StatModulus, P::Tenths),
        floatCell(record, R::AccelPeakNeg, P::Tenths) % QLatin1Char('+') % floatCell(record, R::AccelPeakPos, P::Tenths),
        floatCell(record, R::VelocityA, P::Thousandths) % QLatin1Char('+') % floatCell(record, R::VelocityB, P::Thousandths),
        floatCell(record, R::DisplacementValue, P::Thousandths),
        floatCell(record, R::ImpactForce, P::Integer),
    };
}

QList<QStringList> impactTableGrid(const MeasurementStore &store, quint32 series, Language language)
{
    const quint32 first = store.seriesStart(series);
    const quint32 count = store.seriesSize(series);

    QList<QStringList> rows(ImpactTableRows);
    rows[0] << impactDateTimeCell(store.record(first));
    for (int row = 1; row < ImpactTableRows; ++row)
        rows[row] << impactRowLabel(row, language);
    for (quint32 i = 0; i < count; ++i) {
        rows[0] << impactColumnHeader(int(i) + 1, language);
        const auto cells = impactColumnCells(store.record(first + i));
        for (int row = 1; row < ImpactTableRows; ++row)
            rows[row] << cells[row - 1];
    }
    return rows;
}

} // namespace kvt
