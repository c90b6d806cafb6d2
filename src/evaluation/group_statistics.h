#pragma once

#include "requirement_rule.h"
#include "series_values.h"

#include <QList>
#include <optional>
#include <vector>

namespace kvt {

// One modulus over the series of a group that have a value for it.
struct ModulusStatistics {
    int values = 0;  // series with a value
    int leftOut = 0; // series whose mean Table 1 shows as "NAN"
    std::optional<double> mean, minimum, maximum; // none without values
    std::optional<double> deviation;              // sample (n − 1); none below two values
    std::optional<double> cvPercent;              // deviation / mean × 100; none without both
};

enum class Verdict { Meets, DoesNotMeet, NoRule };

// The series of one object and material.
struct GroupStatistics {
    QString object;   // as the group's first series names it
    QString material;
    int seriesCount = 0;
    ModulusStatistics dynamicModulus;
    ModulusStatistics staticModulus;
    std::optional<RequirementRule> rule;
    int judged = 0;  // series with every value the rule asks about
    int meeting = 0; // of those, the series that reach the rule
    std::optional<double> sharePercent; // meeting / judged × 100; none without a rule or judged series
    Verdict verdict = Verdict::NoRule;
};

// Whether series of this object and material belong to the group: names
// compared as sameInstrumentName does.
bool inGroup(const GroupStatistics &group, const QString &object, const QString &material);

// Why a group does not meet its rule.
enum class VerdictReason {
    NoSeriesJudged, // every series lacks a value the rule asks about
    SeriesBelow,    // a judged series is below the rule
    TooFewForCv,    // the rule limits the CV, and one series has no spread
    CvUnknown,      // the rule limits the CV, and a mean of 0 has no CV
    CvAbove,        // the CV is above the rule's largest
};
// Each reason that holds, in this order; none unless the verdict is DoesNotMeet.
QList<VerdictReason> verdictReasons(const GroupStatistics &group);

// Judges one series against its rule; nothing when the series lacks a value
// the rule asks about (a mean Table 1 shows as "NAN").
std::optional<bool> seriesMeets(const SeriesValues &series, const RequirementRule &rule);

// One group per object and material (names compared as sameInstrumentName
// does), in the order their first series appear. A series meets its rule when
// its dynamic mean is at least the required one and, if the rule asks for a
// static modulus, its static mean is at least that. A group meets when it has
// a judged series, every judged series meets and, if the rule limits the
// coefficient of variation, the dynamic moduli's CV is known and within it.
QList<GroupStatistics> groupStatistics(const std::vector<SeriesValues> &series, const QList<RequirementRule> &rules);

} // namespace kvt
