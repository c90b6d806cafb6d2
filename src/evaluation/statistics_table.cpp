#include "statistics_table.h"

#include "store/table_texts.h"
#include "support/number_format.h"

namespace kvt {
namespace {

const TextPair SeriesHeader{u"Серий", u"Series"};
const TextPair Mean{u"среднее", u"mean"};
const TextPair Minimum{u"мин.", u"min"};
const TextPair Maximum{u"макс.", u"max"};
const TextPair Deviation{u"СКО", u"SD"};
const TextPair Variation{u"КВ, %", u"CV, %"};
const TextPair LeftOut{u"не учтено (NAN)", u"left out (NAN)"};
const TextPair Required{u"требуется", u"required"};
const TextPair LargestVariation{u"Наибольший КВ, %", u"Largest CV, %"};
const TextPair Meeting{u"Соответствуют, серий", u"Meeting, series"};
const TextPair Share{u"Доля соответствующих, %", u"Share meeting, %"};
const TextPair VerdictHeader{u"Заключение", u"Verdict"};

const TextPair Verdicts[] = {
    {u"соответствует", u"meets"},
    {u"не соответствует", u"does not meet"},
    {u"нет требования", u"no rule"},
};

const TextPair NoSeriesJudged{u"ни одна серия не оценена: её средние — NAN",
                              u"no series could be judged: their means read NAN"};
const TextPair SeriesBelow{u"ниже требования серий: %1 из %2", u"series below the requirement: %1 of %2"};
const TextPair TooFewForCv{u"КВ определяется не менее чем по двум сериям", u"a CV needs at least two series"};
const TextPair CvUnknown{u"КВ не определён: среднее равно 0", u"the CV is unknown: the mean is 0"};
const TextPair CvAbove{u"КВ %1 % больше наибольшего %2 %", u"CV %1 % above the largest %2 %"};

QString optionalNumber(const std::optional<double> &value, NumberPattern pattern)
{
    return value ? formatNumberOrNan(*value, pattern) : QString();
}

QString count(int value)
{
    return formatNumberOrNan(value, NumberPattern::Integer);
}

QString modulusHeader(int column, const TextPair &quantity, Language language, bool withUnit = true)
{
    QString text = seriesTableHeader(column, SeriesNameRow, language) + QStringLiteral(", ") + quantity.text(language);
    if (withUnit)
        text += QStringLiteral(", ") + seriesTableHeader(column, SeriesUnitRow, language);
    return text;
}

void appendModulusHeaders(QStringList &header, int column, Language language)
{
    header << modulusHeader(column, Mean, language) << modulusHeader(column, Minimum, language)
           << modulusHeader(column, Maximum, language) << modulusHeader(column, Deviation, language)
           << modulusHeader(column, Variation, language, false) << modulusHeader(column, LeftOut, language, false);
}

void appendModulusCells(QStringList &row, const ModulusStatistics &statistics)
{
    const NumberPattern pattern = NumberPattern::Tenths;
    row << optionalNumber(statistics.mean, pattern) << optionalNumber(statistics.minimum, pattern)
        << optionalNumber(statistics.maximum, pattern) << optionalNumber(statistics.deviation, pattern)
        << optionalNumber(statistics.cvPercent, pattern) << count(statistics.leftOut);
}

QStringList headerRow(Language language)
{
    QStringList header{seriesTableHeader(SeriesObjectColumn, SeriesNameRow, language),
                       seriesTableHeader(SeriesMaterialColumn, SeriesNameRow, language), SeriesHeader.text(language)};
    appendModulusHeaders(header, SeriesDynamicColumn, language);
    appendModulusHeaders(header, SeriesStaticColumn, language);
    header << modulusHeader(SeriesDynamicColumn, Required, language)
           << modulusHeader(SeriesStaticColumn, Required, language)
           << LargestVariation.text(language) << Meeting.text(language) << Share.text(language)
           << VerdictHeader.text(language);
    return header;
}

QStringList groupRow(const GroupStatistics &group, Language language)
{
    QStringList row{group.object, group.material, count(group.seriesCount)};
    appendModulusCells(row, group.dynamicModulus);
    appendModulusCells(row, group.staticModulus);
    if (group.rule) {
        // The rule reads as it was typed: a rule of 140,04 judges with 140,04,
        // and rounded to "140" it would seem met by a mean of 140,0.
        row << requirementNumberText(group.rule->dynamicModulus)
            << optionalRequirementText(group.rule->staticModulus)
            << optionalRequirementText(group.rule->largestCvPercent) << count(group.meeting)
            << optionalNumber(group.sharePercent, NumberPattern::Integer);
    } else {
        row << QString() << QString() << QString() << QString() << QString();
    }
    row << verdictText(group.verdict, language);
    return row;
}

} // namespace

QString verdictText(Verdict verdict, Language language)
{
    return Verdicts[int(verdict)].text(language);
}

QString verdictReasonText(const GroupStatistics &group, Language language)
{
    QStringList texts;
    for (const VerdictReason reason : verdictReasons(group)) {
        switch (reason) {
        case VerdictReason::NoSeriesJudged:
            texts << NoSeriesJudged.text(language);
            break;
        case VerdictReason::SeriesBelow:
            texts << SeriesBelow.text(language).arg(group.judged - group.meeting).arg(group.judged);
            break;
        case VerdictReason::TooFewForCv:
            texts << TooFewForCv.text(language);
            break;
        case VerdictReason::CvUnknown:
            texts << CvUnknown.text(language);
            break;
        case VerdictReason::CvAbove:
            texts << CvAbove.text(language)
                         .arg(optionalNumber(group.dynamicModulus.cvPercent, NumberPattern::Tenths),
                              optionalRequirementText(group.rule->largestCvPercent));
            break;
        }
    }
    return texts.join(QStringLiteral("; "));
}

QList<QStringList> statisticsGrid(const QList<GroupStatistics> &groups, Language language)
{
    QList<QStringList> grid{headerRow(language)};
    for (const GroupStatistics &group : groups)
        grid << groupRow(group, language);
    return grid;
}

} // namespace kvt
