#pragma once

#include "requirement_rule.h"
#include "series_values.h"
#include "support/bilingual.h"

#include <optional>

namespace kvt {

// What Table 1 marks on one series row: the mean moduli below the series'
// rule. A series without a rule, and a mean shown as "NAN", is not marked.
struct SeriesMarks {
    std::optional<RequirementRule> rule;
    bool dynamicBelow = false;
    bool staticBelow = false;
};

SeriesMarks seriesMarks(const SeriesValues &series, const QList<RequirementRule> &rules);

// One requirement in words, for a modulus column of Table 1: "Din.modulus ≥ 85 MPa".
QString requirementText(int column, double value, Language language);

// The rule in words, for the tooltip of a marked cell:
// "Requirement for Несущий слой, every material: Din.modulus ≥ 85 MPa, Stat.modulus ≥ 40 MPa, CV ≤ 10 %".
QString ruleText(const RequirementRule &rule, Language language);

} // namespace kvt
