#include "group_trend.h"

#include "series_marks.h"
#include "store/table_texts.h"

namespace kvt {
namespace {

const TextPair SeriesAxis{u"Серии в порядке таблицы 1", u"Series in Table 1 order"};

PointClass pointClass(const SeriesValues &series, const std::optional<RequirementRule> &rule)
{
    const std::optional<bool> meets = rule ? seriesMeets(series, *rule) : std::nullopt;
    if (!meets)
        return PointClass::NotJudged;
    return *meets ? PointClass::Meets : PointClass::DoesNotMeet;
}

QString axisTitle(int column, Language language)
{
    return seriesTableHeader(column, SeriesNameRow, language) + QStringLiteral(", ")
        + seriesTableHeader(column, SeriesUnitRow, language);
}

} // namespace

GroupTrend groupTrend(const std::vector<SeriesValues> &series, const GroupStatistics &group, Language language)
{
    GroupTrend trend;
    const bool staticRequired = group.rule && group.rule->staticModulus;
    for (size_t i = 0; i < series.size(); ++i) {
        const SeriesValues &one = series[i];
        if (!one.dynamicModulus || !inGroup(group, one.object, one.material))
            continue;
        trend.points << TrendPoint{int(i) + 1, SeriesTableHeaderRows + int(i), *one.dynamicModulus,
                                   pointClass(one, group.rule),
                                   staticRequired ? one.staticModulus : std::nullopt};
    }
    if (group.rule) {
        trend.lines << TrendLine{group.rule->dynamicModulus,
                                 requirementText(SeriesDynamicColumn, group.rule->dynamicModulus, language)};
        if (const std::optional<double> &required = group.rule->staticModulus)
            trend.lines << TrendLine{*required, requirementText(SeriesStaticColumn, *required, language),
                                     TrendAxis::Static};
    }
    trend.xTitle = SeriesAxis.text(language);
    trend.yTitle = axisTitle(SeriesDynamicColumn, language);
    if (staticRequired)
        trend.staticTitle = axisTitle(SeriesStaticColumn, language);
    return trend;
}

} // namespace kvt
