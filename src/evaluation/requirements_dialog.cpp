#include "requirements_dialog.h"

#include "mainwindow/dialog_font.h"
#include "mainwindow/name_column_width.h"
#include "support/common_texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvt {
namespace {

const TextPair Caption{u"Требования", u"Requirements"};
const TextPair AddCaption{u"Добавить", u"Add"};
const TextPair DeleteCaption{u"Удалить", u"Delete"};
const TextPair CancelCaption{u"Отмена", u"Cancel"};

// A name cell is edited in a combo box that offers the known names and takes
// any typed one.
class NameDelegate : public QStyledItemDelegate {
public:
    NameDelegate(QStringList names, QObject *parent) : QStyledItemDelegate(parent), m_names(std::move(names)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItems(m_names);
        return combo;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        static_cast<QComboBox *>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        model->setData(index, static_cast<QComboBox *>(editor)->currentText(), Qt::EditRole);
    }

private:
    QStringList m_names;
};

QPushButton *addButton(QBoxLayout *layout, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

RequirementsDialog::RequirementsDialog(const QList<RequirementRule> &rules, RequirementChoices choices,
                                       Language language, UserPrompts &prompts, Save save, QWidget *parent)
    : QDialog(parent), m_table(new QTableWidget(0, RequirementColumns, this)), m_choices(std::move(choices)),
      m_language(language), m_prompts(prompts), m_save(std::move(save))
{
    setObjectName(QStringLiteral("RequirementsDialog"));
    setFont(smallDialogFont());
    setWindowTitle(Caption.text(language));
    setModal(true);

    m_table->setObjectName(QStringLiteral("RequirementsTable"));
    QStringList headers;
    for (int column = 0; column < RequirementColumns; ++column)
        headers << requirementColumnHeader(RequirementColumn(column), language);
    m_table->setHorizontalHeaderLabels(headers);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // An empty name column would be as narrow as its header: room for a whole
    // name to be typed, and the user may widen it.
    for (const RequirementColumn column : {RequirementColumn::Object, RequirementColumn::Material}) {
        m_table->horizontalHeader()->setSectionResizeMode(int(column), QHeaderView::Interactive);
        m_table->setColumnWidth(int(column), nameColumnWidth(m_table->fontMetrics()));
    }
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setItemDelegateForColumn(int(RequirementColumn::Object), new NameDelegate(m_choices.objects, this));
    m_table->setItemDelegateForColumn(int(RequirementColumn::Material),
                                      new NameDelegate(m_choices.materials, this));
    const QList<RequirementRow> shown = requirementRows(rules);
    m_table->setRowCount(int(shown.size()));
    for (int row = 0; row < shown.size(); ++row)
        setRow(row, shown[row]);

    auto *buttons = new QHBoxLayout;
    connect(addButton(buttons, "btnAdd", AddCaption.text(language)), &QPushButton::clicked, this,
            &RequirementsDialog::addRow);
    connect(addButton(buttons, "btnDelete", DeleteCaption.text(language)), &QPushButton::clicked, this,
            &RequirementsDialog::deleteRow);
    buttons->addStretch();
    QPushButton *ok = addButton(buttons, "btnOK", QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &RequirementsDialog::okClick);
    connect(addButton(buttons, "btnCancel", CancelCaption.text(language)), &QPushButton::clicked, this,
            &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    // Room for the two name columns and the three number columns side by side.
    resize(720, 300);
}

void RequirementsDialog::setRow(int row, const RequirementRow &values)
{
    const QString texts[RequirementColumns] = {values.object, values.material, values.dynamicModulus,
                                               values.staticModulus, values.largestCv};
    for (int column = 0; column < RequirementColumns; ++column)
        m_table->setItem(row, column, new QTableWidgetItem(texts[column]));
}

QList<RequirementRow> RequirementsDialog::rows() const
{
    QList<RequirementRow> rows;
    const auto text = [this](int row, RequirementColumn column) {
        const QTableWidgetItem *item = m_table->item(row, int(column));
        return item ? item->text() : QString();
    };
    for (int row = 0; row < m_table->rowCount(); ++row)
        rows << RequirementRow{text(row, RequirementColumn::Object), text(row, RequirementColumn::Material),
                               text(row, RequirementColumn::Dynamic), text(row, RequirementColumn::Static),
                               text(row, RequirementColumn::LargestCv)};
    return rows;
}

void RequirementsDialog::addRow()
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    setRow(row, {});
    m_table->setCurrentCell(row, int(RequirementColumn::Object));
    m_table->setFocus();
}

void RequirementsDialog::deleteRow()
{
    const int row = m_table->currentRow();
    if (row >= 0)
        m_table->removeRow(row);
}

void RequirementsDialog::okClick()
{
    // A cell still open for editing counts as typed: OK can come from a key or
    // a window that never took the focus from it.
    const QModelIndex current = m_table->currentIndex();
    if (QWidget *editor = m_table->indexWidget(current))
        emit m_table->itemDelegateForIndex(current)->commitData(editor);
    const RequirementRowsCheck check = checkRequirementRows(rows());
    if (check.problem) {
        m_prompts.showMessage({ApplicationTitle.text(m_language), requirementProblemText(*check.problem, m_language),
                               PromptIcon::Warning});
        m_table->setCurrentCell(check.problem->row, int(check.problem->column));
        m_table->setFocus();
        return;
    }
    if (m_save(check.rules))
        accept();
}

} // namespace kvt
