#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace kvt {

// What a lot of one object (a layer such as "Несущий слой") must reach. A rule
// with no material holds for every material of its object; one that names the
// material wins over it for that material.
struct RequirementRule {
    QString object;
    QString material; // empty: every material of the object
    double dynamicModulus = 0; // MPa, required mean of each series
    std::optional<double> staticModulus;     // MPa
    std::optional<double> largestCvPercent;  // of the group's dynamic moduli

    bool operator==(const RequirementRule &) const = default;
};

// Names as the instrument keeps them: picked from its lists, shown with blanks
// that are easy to miss. Two names are the same when they are equal after
// surrounding blanks are dropped, ignoring the case of letters (Cyrillic too),
// so that a rule typed "несущий слой " finds the series of "Несущий слой".
bool sameInstrumentName(const QString &a, const QString &b);

// The rule for a series of that object and material: the first rule naming both,
// else the first rule of the object without a material, else none.
const RequirementRule *findRule(const QList<RequirementRule> &rules, const QString &object, const QString &material);

// A required value as typed or kept in a file: a decimal comma or point, not
// negative. Nothing for any other text, the empty one included.
std::optional<double> requirementNumber(const QString &text);
// An optional value: the empty text is none; false for any other text that is
// no such number.
bool optionalRequirementNumber(const QString &text, std::optional<double> &number);
// The value with the decimal comma and every digit it has, so that what was
// typed reads back the same; none is the empty text.
QString requirementNumberText(double value);
QString optionalRequirementText(const std::optional<double> &value);

} // namespace kvt
