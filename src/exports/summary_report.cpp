#include "summary_report.h"

#include "evaluation/statistics_table.h"
#include "modulus_report.h"
#include "store/table_texts.h"

namespace kvt {
namespace {

const TextPair Title{u"Статистика по требованиям", u"Statistics against requirements"};
const TextPair Units{u"Модули упругости — средние по сериям, МПа", u"Elastic moduli: means of the series, MPa"};
// The page has no column for the rule's largest CV: what the mark means is said once.
const TextPair Note{u"* Не соответствует: КВ определяется не менее чем по двум сериям.",
                    u"* Does not meet: a CV needs at least two series."};
const QString Mark = QStringLiteral(" *");
constexpr int VerdictColumn = StatisticsColumns - 1;

constexpr int NoSeriesColumn = -1;

struct Column {
    int statisticsColumn; // in statisticsGrid's rows
    qreal left;           // millimetres from the printable area's left edge
    qreal width;
    int seriesColumn;     // whose Table 1 head it takes, if any
    TextPair head;        // otherwise
};

// Object, material, series, dynamic mean and CV, static mean, the rule's
// dynamic and static moduli, the share meeting it, the verdict. The painter
// shrinks a text wider than its column, and a table with some texts smaller
// than others reads unevenly: the widths hold, at the table's one size, the
// heads and verdicts of both languages, moduli up to 1000,0 and names of the
// instrument's 19 characters (such as "Подстилающий слой 1").
const Column columns[] = {
    {0, 0, 32, SeriesObjectColumn, {}},
    {1, 32, 31.5, SeriesMaterialColumn, {}},
    {2, 63.5, 9.5, NoSeriesColumn, {u"Серий", u"Series"}},
    {3, 73, 17, SeriesDynamicColumn, {}},
    {7, 90, 9.5, NoSeriesColumn, {u"КВ, %", u"CV, %"}},
    {9, 99.5, 17, SeriesStaticColumn, {}},
    {15, 116.5, 14.5, NoSeriesColumn, {u"Треб. дин.", u"Req. din."}},
    {16, 131, 15, NoSeriesColumn, {u"Треб. стат.", u"Req. stat."}},
    {19, 146, 14, NoSeriesColumn, {u"Соотв., %", u"Share, %"}},
    {20, 160, 25, NoSeriesColumn, {u"Заключение", u"Verdict"}},
};
constexpr qreal PrintableWidth = 185;
constexpr qreal CellHeight = 5;
constexpr qreal TableFontSize = 8.5; // points

QString head(const Column &column, Language language)
{
    return column.seriesColumn == NoSeriesColumn ? column.head.text(language)
                                                 : seriesTableHeader(column.seriesColumn, SeriesNameRow, language);
}

const ReportBand *pageFooter(const ReportLayout &layout)
{
    for (const ReportBand &band : layout.bands)
        if (band.kind == BandKind::PageFooter)
            return &band;
    return nullptr;
}

} // namespace

SummaryReport::SummaryReport(const QList<GroupStatistics> &statistics, Language language)
    : m_statistics(statisticsGrid(statistics, language)), m_language(language)
{
    for (const GroupStatistics &group : statistics)
        m_marked << verdictReasons(group).contains(VerdictReason::TooFewForCv);
    groups.onFirst = [this] { groups.recordCount = int(m_statistics.size()) - 1; };
}

ReportLayout SummaryReport::layout(const PageSetup &page, bool withNote)
{
    // The series list's font and page footer, so the pages read as one report.
    const ReportLayout seriesList = ModulusReport::layout();
    ReportBand title{BandKind::ReportTitle, 20,
                     {{QRectF(0, 0, PrintableWidth, 14), QStringLiteral("[Заголовок]"), 14},
                      {QRectF(0, 14, PrintableWidth, 6), QStringLiteral("[Единицы]"), 10}}};
    if (withNote) {
        title.texts.append({QRectF(0, 20, PrintableWidth, 6), QStringLiteral("[Примечание]"), 10});
        title.height += 6;
    }
    ReportBand header{BandKind::PageHeader, CellHeight, {}};
    ReportBand data{BandKind::MasterData, CellHeight, {}};
    for (qsizetype column = 0; column < qsizetype(std::size(columns)); ++column) {
        const QRectF box(columns[column].left, 0, columns[column].width, CellHeight);
        header.texts.append({box, QStringLiteral("[Графа%1]").arg(column), TableFontSize, true});
        data.texts.append({box, QStringLiteral("[Ячейка%1]").arg(column), TableFontSize, true});
    }
    QList<ReportBand> bands{title, header, data};
    if (const ReportBand *footer = pageFooter(seriesList))
        bands << *footer;
    return {page, seriesList.fontFamily, bands};
}

void SummaryReport::appendTo(PreparedReport &report)
{
    appendReport(report, layout(report.page, m_marked.contains(true)), groups,
                 [this](const QString &name, QString &value) { getValue(name, value); });
}

void SummaryReport::getValue(const QString &name, QString &value) const
{
    if (name == u"Заголовок") {
        value = Title.text(m_language);
    } else if (name == u"Единицы") {
        value = Units.text(m_language);
    } else if (name == u"Примечание") {
        value = Note.text(m_language);
    } else if (name.startsWith(u"Графа")) {
        value = head(columns[name.mid(5).toInt()], m_language);
    } else if (name.startsWith(u"Ячейка")) {
        const int column = columns[name.mid(6).toInt()].statisticsColumn;
        const int group = groups.recordNumber();
        value = m_statistics.value(group + 1).value(column);
        if (column == VerdictColumn && m_marked.value(group))
            value += Mark;
    }
}

} // namespace kvt
