// The main window's commands, menus and texts: language, help and about.
#include "formmain.h"

#include "about_box.h"
#include "main_window_texts.h"
#include "support/common_texts.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QUrl>

namespace kvt {

QAction *TForm1::addAction(QMenu *menu, const char *name, void (TForm1::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    menu->addAction(action);
    return action;
}

void TForm1::createActions()
{
    auto *file = menuBar()->addMenu(QString());
    file->setObjectName(QStringLiteral("itmFile"));
    addAction(file, "AOpen", &TForm1::AOpenFromMenu)->setShortcut(QKeySequence::Open);
    addAction(file, "ASave", &TForm1::ASaveExecute)->setShortcut(QKeySequence::Save);
    file->addSeparator();
    addAction(file, "AExit", &TForm1::AExitExecute)->setShortcut(QKeySequence::Quit);

    auto *parameters = menuBar()->addMenu(QString());
    parameters->setObjectName(QStringLiteral("itmParam"));
    auto *language = parameters->addMenu(QString());
    language->setObjectName(QStringLiteral("itmLanguage"));
    m_langRus = addAction(language, "ALangRus", &TForm1::ALangRusExecute);
    m_langRus->setText(QString::fromUtf16(RussianCaption));
    m_langRus->setCheckable(true);
    m_langEng = addAction(language, "ALangEng", &TForm1::ALangEngExecute);
    m_langEng->setText(QString::fromUtf16(EnglishCaption));
    m_langEng->setCheckable(true);

    auto *help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("itmHelp"));
    addAction(help, "AMainHelp", &TForm1::AMainHelpExecute)->setShortcut(QKeySequence::HelpContents);
    addAction(help, "AChmHelp", &TForm1::AChmHelpExecute);
    help->addSeparator();
    addAction(help, "AAbout", &TForm1::AAboutExecute);
}

void TForm1::AOpenFromMenu()
{
    AOpenExecute();
}

void TForm1::MenuFill()
{
    for (QAction *action : findChildren<QAction *>()) {
        const QString caption = captionOf(action->objectName().toLatin1().constData(), m_language);
        if (!caption.isEmpty())
            action->setText(caption);
    }
    for (QMenu *menu : findChildren<QMenu *>()) {
        const QString caption = captionOf(menu->objectName().toLatin1().constData(), m_language);
        if (!caption.isEmpty())
            menu->setTitle(caption);
    }
    setWindowTitle(ApplicationTitle.text(m_language));
    FormResize();
    for (int i = 0; i < 4; ++i)
        m_checkBoxes[i]->setToolTip(CurveHints[i].text(m_language));
}

void TForm1::setLanguage(Language language, const QString &langId)
{
    m_language = language;
    m_langRus->setChecked(language == Language::Russian);
    m_langEng->setChecked(language == Language::English);
    // A settings file that cannot be written only forgets the choice.
    (void)m_settings.writeString(u"Config", u"LangId", langId);
    MenuFill();
}

void TForm1::ALangRusExecute()
{
    setLanguage(Language::Russian, QStringLiteral("Rus"));
}

void TForm1::ALangEngExecute()
{
    setLanguage(Language::English, QStringLiteral("Eng"));
}

void TForm1::openHelp()
{
    // The guide in the current language, beside the program, in the desktop's viewer.
    const QString guide = m_programFolder + QStringLiteral("/Help/KVT10Help.%1.html")
                                                .arg(m_language == Language::Russian ? u"ru" : u"en");
    if (!QFileInfo(guide).isFile()) {
        m_prompts.showMessage({ApplicationTitle.text(m_language), HelpMissing.text(m_language) + guide,
                               PromptIcon::Warning});
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(guide));
}

void TForm1::AMainHelpExecute()
{
    openHelp();
}

void TForm1::AChmHelpExecute()
{
    openHelp();
}

void TForm1::AAboutExecute()
{
    TAboutBox box(m_language, this);
    box.exec();
}

} // namespace kvt
