#include "requirement_rows.h"

#include "store/short_name20.h"

namespace kvt {
namespace {

const TextPair ObjectHeader{u"Объект", u"Object"};
const TextPair MaterialHeader{u"Материал", u"Material"};
const TextPair DynamicHeader{u"Дин. модуль, МПа", u"Dynamic modulus, MPa"};
const TextPair StaticHeader{u"Стат. модуль, МПа", u"Static modulus, MPa"};
const TextPair LargestCvHeader{u"Наибольший КВ, %", u"Largest CV, %"};

const TextPair RowPrefix{u"Строка ", u"Row "};
const TextPair ObjectMissing{u": укажите объект.", u": the object is missing."};
const TextPair ObjectTooLong{u": название объекта длиннее 19 знаков, а в приборе названия не длиннее: ни одна серия "
                             u"ему не подойдёт.",
                             u": the object's name is longer than 19 characters, and the instrument's names are "
                             u"never longer: no series can match it."};
const TextPair MaterialTooLong{u": название материала длиннее 19 знаков, а в приборе названия не длиннее: ни одна серия "
                               u"ему не подойдёт.",
                               u": the material's name is longer than 19 characters, and the instrument's names are "
                               u"never longer: no series can match it."};
const TextPair DynamicWrong{u": требуемый динамический модуль должен быть числом не меньше 0 (МПа).",
                            u": the required dynamic modulus must be a number of 0 or more (MPa)."};
const TextPair StaticWrong{u": требуемый статический модуль должен быть пустым или числом не меньше 0 (МПа).",
                           u": the required static modulus must be empty or a number of 0 or more (MPa)."};
const TextPair LargestCvWrong{u": наибольший КВ должен быть пустым или числом не меньше 0 (%).",
                              u": the largest CV must be empty or a number of 0 or more (%)."};

void addOnce(QStringList &names, const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    for (const QString &known : names)
        if (sameInstrumentName(known, trimmed))
            return;
    names << trimmed;
}

} // namespace

QString requirementColumnHeader(RequirementColumn column, Language language)
{
    switch (column) {
    case RequirementColumn::Object:
        return ObjectHeader.text(language);
    case RequirementColumn::Material:
        return MaterialHeader.text(language);
    case RequirementColumn::Dynamic:
        return DynamicHeader.text(language);
    case RequirementColumn::Static:
        return StaticHeader.text(language);
    case RequirementColumn::LargestCv:
        return LargestCvHeader.text(language);
    }
    return {};
}

QList<RequirementRow> requirementRows(const QList<RequirementRule> &rules)
{
    QList<RequirementRow> rows;
    for (const RequirementRule &rule : rules)
        rows << RequirementRow{rule.object, rule.material, requirementNumberText(rule.dynamicModulus),
                               optionalRequirementText(rule.staticModulus), optionalRequirementText(rule.largestCvPercent)};
    return rows;
}

RequirementRowsCheck checkRequirementRows(const QList<RequirementRow> &rows)
{
    RequirementRowsCheck check;
    for (int i = 0; i < rows.size(); ++i) {
        const RequirementRow &row = rows[i];
        const QString dynamic = row.dynamicModulus.trimmed();
        const QString statical = row.staticModulus.trimmed();
        const QString largestCv = row.largestCv.trimmed();
        RequirementRule rule;
        rule.object = row.object.trimmed();
        rule.material = row.material.trimmed();
        if (rule.object.isEmpty() && rule.material.isEmpty() && dynamic.isEmpty() && statical.isEmpty()
            && largestCv.isEmpty())
            continue;
        const auto fault = [&](RequirementColumn column, bool nameTooLong = false) {
            check.rules.clear();
            check.problem = RequirementRowProblem{i, column, nameTooLong};
            return check;
        };
        if (rule.object.isEmpty())
            return fault(RequirementColumn::Object);
        // Names are compared without their surrounding blanks.
        if (rule.object.size() > ShortName20MaxChars)
            return fault(RequirementColumn::Object, true);
        if (rule.material.size() > ShortName20MaxChars)
            return fault(RequirementColumn::Material, true);
        const std::optional<double> required = requirementNumber(dynamic);
        if (!required)
            return fault(RequirementColumn::Dynamic);
        rule.dynamicModulus = *required;
        if (!optionalRequirementNumber(statical, rule.staticModulus))
            return fault(RequirementColumn::Static);
        if (!optionalRequirementNumber(largestCv, rule.largestCvPercent))
            return fault(RequirementColumn::LargestCv);
        check.rules << rule;
    }
    return check;
}

QString requirementProblemText(const RequirementRowProblem &problem, Language language)
{
    const QString row = RowPrefix.text(language) + QString::number(problem.row + 1);
    switch (problem.column) {
    case RequirementColumn::Object:
        return row + (problem.nameTooLong ? ObjectTooLong : ObjectMissing).text(language);
    case RequirementColumn::Material:
        return row + (problem.nameTooLong ? MaterialTooLong : ObjectMissing).text(language);
    case RequirementColumn::Dynamic:
        return row + DynamicWrong.text(language);
    case RequirementColumn::Static:
        return row + StaticWrong.text(language);
    case RequirementColumn::LargestCv:
        return row + LargestCvWrong.text(language);
    }
    return row;
}

RequirementChoices requirementChoices(const std::vector<SeriesValues> &series, const QStringList &objectList,
                                      const QStringList &materialList)
{
    RequirementChoices choices;
    for (const SeriesValues &values : series) {
        addOnce(choices.objects, values.object);
        addOnce(choices.materials, values.material);
    }
    for (const QString &name : objectList)
        addOnce(choices.objects, name);
    for (const QString &name : materialList)
        addOnce(choices.materials, name);
    return choices;
}

} // namespace kvt
