#include "group_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kvt {
namespace {

struct Group {
    GroupStatistics statistics;
    std::vector<double> dynamicValues;
    std::vector<double> staticValues;
};

Group &groupOf(std::vector<Group> &groups, const SeriesValues &series)
{
    for (Group &group : groups) {
        if (inGroup(group.statistics, series.object, series.material))
            return group;
    }
    Group &group = groups.emplace_back();
    group.statistics.object = series.object;
    group.statistics.material = series.material;
    return group;
}

void collect(const std::optional<double> &value, std::vector<double> &values, ModulusStatistics &statistics)
{
    if (value)
        values.push_back(*value);
    else
        ++statistics.leftOut;
}

Verdict verdict(const GroupStatistics &group)
{
    if (!group.rule)
        return Verdict::NoRule;
    return verdictReasons(group).isEmpty() ? Verdict::Meets : Verdict::DoesNotMeet;
}

ModulusStatistics modulusStatistics(const std::vector<double> &values, int leftOut)
{
    ModulusStatistics statistics;
    statistics.values = int(values.size());
    statistics.leftOut = leftOut;
    if (values.empty())
        return statistics;
    const double n = double(values.size());
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    statistics.mean = mean;
    const auto [minimum, maximum] = std::minmax_element(values.begin(), values.end());
    statistics.minimum = *minimum;
    statistics.maximum = *maximum;
    if (values.size() < 2)
        return statistics;
    double squares = 0;
    for (double value : values)
        squares += (value - mean) * (value - mean);
    statistics.deviation = std::sqrt(squares / (n - 1));
    if (mean != 0)
        statistics.cvPercent = *statistics.deviation / mean * 100;
    return statistics;
}

} // namespace

QList<VerdictReason> verdictReasons(const GroupStatistics &group)
{
    QList<VerdictReason> reasons;
    if (!group.rule)
        return reasons;
    if (group.judged == 0)
        reasons << VerdictReason::NoSeriesJudged;
    if (group.meeting < group.judged)
        reasons << VerdictReason::SeriesBelow;
    if (const std::optional<double> &limit = group.rule->largestCvPercent) {
        const std::optional<double> &cv = group.dynamicModulus.cvPercent;
        if (group.dynamicModulus.values < 2)
            reasons << VerdictReason::TooFewForCv;
        else if (!cv)
            reasons << VerdictReason::CvUnknown;
        else if (*cv > *limit)
            reasons << VerdictReason::CvAbove;
    }
    return reasons;
}

bool inGroup(const GroupStatistics &group, const QString &object, const QString &material)
{
    return sameInstrumentName(group.object, object) && sameInstrumentName(group.material, material);
}

std::optional<bool> seriesMeets(const SeriesValues &series, const RequirementRule &rule)
{
    if (!series.dynamicModulus || (rule.staticModulus && !series.staticModulus))
        return std::nullopt;
    return *series.dynamicModulus >= rule.dynamicModulus
        && (!rule.staticModulus || *series.staticModulus >= *rule.staticModulus);
}

QList<GroupStatistics> groupStatistics(const std::vector<SeriesValues> &series, const QList<RequirementRule> &rules)
{
    std::vector<Group> groups;
    for (const SeriesValues &one : series) {
        Group &group = groupOf(groups, one);
        GroupStatistics &statistics = group.statistics;
        ++statistics.seriesCount;
        collect(one.dynamicModulus, group.dynamicValues, statistics.dynamicModulus);
        collect(one.staticModulus, group.staticValues, statistics.staticModulus);
        if (const RequirementRule *rule = findRule(rules, statistics.object, statistics.material)) {
            statistics.rule = *rule;
            if (const std::optional<bool> meets = seriesMeets(one, *rule)) {
                ++statistics.judged;
                statistics.meeting += *meets ? 1 : 0;
            }
        }
    }

    QList<GroupStatistics> result;
    for (Group &group : groups) {
        GroupStatistics &statistics = group.statistics;
        statistics.dynamicModulus = modulusStatistics(group.dynamicValues, statistics.dynamicModulus.leftOut);
        statistics.staticModulus = modulusStatistics(group.staticValues, statistics.staticModulus.leftOut);
        if (statistics.rule && statistics.judged > 0)
            statistics.sharePercent = 100.0 * statistics.meeting / statistics.judged;
        statistics.verdict = verdict(statistics);
        result << statistics;
    }
    return result;
}

} // namespace kvt
