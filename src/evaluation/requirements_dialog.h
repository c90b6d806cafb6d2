#pragma once

#include "requirement_rows.h"
#include "support/user_prompts.h"

#include <QDialog>
#include <functional>

class QTableWidget;

namespace kvt {

// The requirements editor: one table row a rule, Add, Delete, OK and Cancel.
// What the rows mean is decided by requirement_rows; this window only shows
// and collects them. OK keeps the dialog open, with every row as typed, while
// a row is at fault or while save says the rules were not kept.
class RequirementsDialog : public QDialog {
    Q_OBJECT
public:
    using Save = std::function<bool(const QList<RequirementRule> &rules)>;

    RequirementsDialog(const QList<RequirementRule> &rules, RequirementChoices choices, Language language,
                       UserPrompts &prompts, Save save, QWidget *parent = nullptr);

    QList<RequirementRow> rows() const;
    void addRow();
    void deleteRow();
    void okClick();

private:
    void setRow(int row, const RequirementRow &values);

    QTableWidget *m_table;
    RequirementChoices m_choices;
    Language m_language;
    UserPrompts &m_prompts;
    Save m_save;
};

} // namespace kvt
