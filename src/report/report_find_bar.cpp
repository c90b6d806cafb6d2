#include "report_find_bar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace kvt {
namespace {

const TextPair FindCaption{u"Найти:", u"Find:"};
const TextPair FindPrevious{u"Предыдущее", u"Previous"};
const TextPair FindNext{u"Следующее", u"Next"};

} // namespace

ReportFindBar::ReportFindBar(Language language, QWidget *window)
    : QWidget(window), m_field(new QLineEdit(this)), m_status(new QLabel(this))
{
    m_field->setObjectName(QStringLiteral("FindField"));
    m_field->setClearButtonEnabled(true);
    m_status->setObjectName(QStringLiteral("FindStatus"));
    auto *caption = new QLabel(FindCaption.text(language), this);
    caption->setBuddy(m_field);

    auto *focus = new QAction(window);
    focus->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(focus, &QAction::triggered, m_field, [this] {
        m_field->setFocus(Qt::ShortcutFocusReason);
        m_field->selectAll();
    });
    auto *previous = new QAction(FindPrevious.text(language), window);
    previous->setObjectName(QStringLiteral("AFindPrevious"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    auto *next = new QAction(FindNext.text(language), window);
    next->setObjectName(QStringLiteral("AFindNext"));
    next->setShortcut(QKeySequence(Qt::Key_F3));
    window->addActions({focus, previous, next});
    connect(previous, &QAction::triggered, this, &ReportFindBar::previousWanted);
    connect(next, &QAction::triggered, this, &ReportFindBar::nextWanted);
    connect(m_field, &QLineEdit::returnPressed, this, &ReportFindBar::nextWanted);
    connect(m_field, &QLineEdit::textChanged, this, &ReportFindBar::textEdited);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 4);
    layout->addWidget(caption);
    layout->addWidget(m_field, 1);
    for (QAction *action : {previous, next}) {
        auto *button = new QToolButton(this);
        button->setDefaultAction(action);
        layout->addWidget(button);
    }
    layout->addWidget(m_status, 1);
}

void ReportFindBar::setStatus(const QString &status)
{
    m_status->setText(status);
}

} // namespace kvt
