#pragma once

#include "requirement_rule.h"
#include "series_values.h"
#include "support/bilingual.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kvt {

// One line of the requirements editor as the user typed it.
struct RequirementRow {
    QString object;
    QString material;
    QString dynamicModulus;
    QString staticModulus;
    QString largestCv;

    bool operator==(const RequirementRow &) const = default;
};

// The editor's columns, left to right.
enum class RequirementColumn { Object, Material, Dynamic, Static, LargestCv };
constexpr int RequirementColumns = 5;
QString requirementColumnHeader(RequirementColumn column, Language language);

// The rules as the editor shows them: numbers with the decimal comma.
QList<RequirementRow> requirementRows(const QList<RequirementRule> &rules);

// What keeps the editor's rows from being rules: the first row, counted from 0,
// and the column at fault.
struct RequirementRowProblem {
    int row = 0;
    RequirementColumn column = RequirementColumn::Object;
    bool nameTooLong = false; // a name no series can have, rather than a missing or wrong value
};

struct RequirementRowsCheck {
    QList<RequirementRule> rules;             // when there is no problem
    std::optional<RequirementRowProblem> problem;
};

// An object is required, Dynamic is a number not below 0 and the optional
// columns are empty or such numbers; a comma or a point marks the decimals and
// surrounding blanks are dropped. A name longer than the instrument's 19
// characters is at fault: no series could ever match it. A row left wholly empty (added, then never
// filled in) is no rule and no fault.
RequirementRowsCheck checkRequirementRows(const QList<RequirementRow> &rows);

// "Row 2: the required dynamic modulus must be a number of 0 or more (MPa)."
// "Row 1: the object's name is longer than 19 characters: …"
QString requirementProblemText(const RequirementRowProblem &problem, Language language);

// The names the editor offers: those of the store's series in Table 1's order,
// then those of the instrument's list; each name once (as sameInstrumentName
// compares them), blanks around it dropped, empty names left out.
struct RequirementChoices {
    QStringList objects;
    QStringList materials;
};
RequirementChoices requirementChoices(const std::vector<SeriesValues> &series, const QStringList &objectList,
                                      const QStringList &materialList);

} // namespace kvt
