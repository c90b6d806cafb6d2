#include "series_marks.h"

#include "store/table_texts.h"

namespace kvt {
namespace {

const TextPair RequirementFor{u"Требование для ", u"Requirement for "};
const TextPair EveryMaterial{u"любой материал", u"every material"};
const TextPair LargestVariation{u"КВ", u"CV"};

bool below(const std::optional<double> &value, double required)
{
    return value && *value < required;
}

} // namespace

QString requirementText(int column, double value, Language language)
{
    return seriesTableHeader(column, SeriesNameRow, language) + QStringLiteral(" ≥ ")
        + requirementNumberText(value) + u' '
        + seriesTableHeader(column, SeriesUnitRow, language);
}

SeriesMarks seriesMarks(const SeriesValues &series, const QList<RequirementRule> &rules)
{
    SeriesMarks marks;
    const RequirementRule *rule = findRule(rules, series.object, series.material);
    if (!rule)
        return marks;
    marks.rule = *rule;
    marks.dynamicBelow = below(series.dynamicModulus, rule->dynamicModulus);
    marks.staticBelow = rule->staticModulus && below(series.staticModulus, *rule->staticModulus);
    return marks;
}

QString ruleText(const RequirementRule &rule, Language language)
{
    const QString material = rule.material.trimmed().isEmpty() ? EveryMaterial.text(language) : rule.material;
    QString text = RequirementFor.text(language) + rule.object + QStringLiteral(", ") + material + QStringLiteral(": ")
        + requirementText(SeriesDynamicColumn, rule.dynamicModulus, language);
    if (rule.staticModulus)
        text += QStringLiteral(", ") + requirementText(SeriesStaticColumn, *rule.staticModulus, language);
    if (rule.largestCvPercent)
        text += QStringLiteral(", ") + LargestVariation.text(language) + QStringLiteral(" ≤ ")
            + requirementNumberText(*rule.largestCvPercent) + QStringLiteral(" %");
    return text;
}

} // namespace kvt
