#include "modulus_report.h"

#include "store/table_texts.h"

namespace kvt {
namespace {

struct FixedVariable {
    const char16_t *name;
    TextPair value;
};

const FixedVariable fixedVariables[] = {
    {u"Заголовок", {u"Измеренные значения модуля упругости", u"Meassured elastic modulus values"}},
    {u"Дата0", {u"Дата", u"Date"}},
    {u"Время0", {u"Время", u"Time"}},
    {u"ДинМодуль0", {u"Дин.модуль", u"Din.modulus"}},
    {u"СтатМодуль0", {u"Стат.модуль", u"Stat.modulus"}},
    {u"Материал0", {u"Материал", u"Material"}},
    {u"Объект0", {u"Объект", u"Object"}},
};

// The variables of a record's cells, by Table 1 column.
const char16_t *const cellVariables[SeriesTableColumns] = {
    u"№№", u"Дата", u"Время", u"ДинМодуль", u"СтатМодуль", u"Материал", u"Объект",
};

struct Column {
    qreal left;
    qreal width;
    const char16_t *head;
};

// Left edge and width in millimetres, from the printable area's left edge.
const Column columns[SeriesTableColumns] = {
    {0, 15, u"№"},
    {15, 24, u"[Дата0]"},
    {39, 24, u"[Время0]"},
    {63, 26, u"[ДинМодуль0]"},
    {89, 24, u"[СтатМодуль0]"},
    {113, 37, u"[Материал0]"},
    {150, 35, u"[Объект0]"},
};

constexpr qreal PrintableWidth = 185;
constexpr qreal CellHeight = 5;

} // namespace

ModulusReport::ModulusReport(QList<QStringList> table1, Language language)
    : m_table1(std::move(table1)), m_language(language)
{
    frxUserDataSet1.onFirst = [this] { frxUserDataSet1.recordCount = rowCount() - SeriesTableHeaderRows; };
    frxUserDataSet1.onCheckEof = [this](bool &eof) {
        eof = frxUserDataSet1.recordNumber() >= rowCount() - SeriesTableHeaderRows;
    };
}

PageSetup ModulusReport::defaultPage()
{
    return {QSizeF(210, 297), QMarginsF(20, 5, 5, 10)};
}

ReportLayout ModulusReport::layout()
{
    ReportBand title{BandKind::ReportTitle, 20, {{QRectF(0, 0, PrintableWidth, 20), QStringLiteral("[Заголовок]"), 14}}};
    ReportBand header{BandKind::PageHeader, CellHeight, {}};
    ReportBand data{BandKind::MasterData, CellHeight, {}};
    for (int column = 0; column < SeriesTableColumns; ++column) {
        const QRectF box(columns[column].left, 0, columns[column].width, CellHeight);
        header.texts.append({box, QString::fromUtf16(columns[column].head), 10, true});
        data.texts.append({box, u'[' + QString::fromUtf16(cellVariables[column]) + u']', 10, true});
    }
    ReportBand footer{BandKind::PageFooter, 10, {{QRectF(0, 0, PrintableWidth, 10), QStringLiteral("- [PAGE#] -"), 10}}};
    footer.onFirstPage = false;
    return {defaultPage(), QStringLiteral("Times New Roman"), {title, header, data, footer}};
}

PreparedReport ModulusReport::prepare(const PageSetup &page)
{
    ReportLayout design = layout();
    design.page = page;
    return prepareReport(design, frxUserDataSet1,
                         [this](const QString &name, QString &value) { getValue(name, value); });
}

void ModulusReport::getValue(const QString &name, QString &value) const
{
    for (const FixedVariable &variable : fixedVariables) {
        if (name == QStringView(variable.name)) {
            value = variable.value.text(m_language);
            return;
        }
    }
    const int row = frxUserDataSet1.recordNumber() + SeriesTableHeaderRows;
    for (int column = 0; column < SeriesTableColumns; ++column) {
        if (name == QStringView(cellVariables[column])) {
            value = m_table1.value(row).value(column);
            return;
        }
    }
}

} // namespace kvt
