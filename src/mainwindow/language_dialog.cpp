#include "language_dialog.h"

#include "main_window_texts.h"

#include <QGroupBox>
#include <QRadioButton>

namespace kvt {

TfrmLanguage::TfrmLanguage(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmLanguage"));
    setWindowTitle(LanguageDialogCaption.text(Language::Russian));
    setFixedSize(104, 105);

    auto *group = new QGroupBox(this);
    group->setGeometry(0, 0, 104, 105);
    auto *russian = new QRadioButton(QString::fromUtf16(RussianCaption), group);
    russian->setObjectName(QStringLiteral("RadioButtonRus"));
    russian->move(8, 24);
    auto *english = new QRadioButton(QString::fromUtf16(EnglishCaption), group);
    english->setObjectName(QStringLiteral("RadioButtonEng"));
    english->move(8, 64);

    connect(russian, &QRadioButton::clicked, this, [this] { choose(Language::Russian); });
    connect(english, &QRadioButton::clicked, this, [this] { choose(Language::English); });
}

void TfrmLanguage::choose(Language language)
{
    m_chosen = language;
    accept();
}

} // namespace kvt
