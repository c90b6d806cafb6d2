// The requirements editor and Table 1's marks of the series below their rule.
#include "formmain.h"

#include "evaluation/requirement_settings.h"
#include "evaluation/requirements_dialog.h"
#include "evaluation/series_marks.h"
#include "files/save_dialog.h"
#include "namelists/name_table.h"
#include "store/table_texts.h"
#include "text_grid_model.h"

#include <QDir>

namespace kvt {
namespace {

// An instrument list never read in is no list yet: offer its factory names.
QStringList listNames(const NameListState &state, const NameListBlock &table, const NameListKind &kind,
                      Language language)
{
    return state.listEmpty ? defaultNames(kind, language) : namesFromTable(table);
}

} // namespace

void TForm1::markSeriesTable()
{
    const QList<RequirementRule> rules = readRequirementRules(m_settings).value_or(QList<RequirementRule>());
    QHash<QPoint, TextGridModel::CellMark> marks;
    if (!rules.isEmpty()) {
        const std::vector<SeriesValues> series = seriesValues(m_store);
        for (int k = 0; k < int(series.size()); ++k) {
            const SeriesMarks below = seriesMarks(series[size_t(k)], rules);
            if (!below.rule)
                continue;
            const TextGridModel::CellMark mark{Qt::red, ruleText(*below.rule, m_language)};
            if (below.dynamicBelow)
                marks.insert(QPoint(SeriesDynamicColumn, SeriesTableHeaderRows + k), mark);
            if (below.staticBelow)
                marks.insert(QPoint(SeriesStaticColumn, SeriesTableHeaderRows + k), mark);
        }
    }
    m_table1->setCellMarks(std::move(marks));
}

void TForm1::requirementsChanged()
{
    markSeriesTable();
    emit requirementsChangedSignal();
}

void TForm1::ARequirementsExecute()
{
    // Rules the program cannot read (a later program's) are not shown; OK replaces them.
    const QList<RequirementRule> rules = readRequirementRules(m_settings).value_or(QList<RequirementRule>());
    const RequirementChoices choices = requirementChoices(
        seriesValues(m_store),
        listNames(m_objectList, m_link.objectNamesBuffer, objectsKind(), m_language),
        listNames(m_materialList, m_link.materialNamesBuffer, materialsKind(), m_language));
    const auto save = [this](const QList<RequirementRule> &confirmed) {
        if (writeRequirementRules(m_settings, confirmed))
            return true;
        m_prompts.showMessage(cannotCreateMessage(QDir::toNativeSeparators(m_settings.path()), m_language));
        return false;
    };
    RequirementsDialog dialog(rules, choices, m_language, m_prompts, save, this);
    offerHelp(&dialog);
    if (dialog.exec() == QDialog::Accepted)
        requirementsChanged();
}

} // namespace kvt
