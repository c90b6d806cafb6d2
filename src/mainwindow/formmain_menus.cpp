// The main window's commands, menus and texts: language, help and about.
#include "formmain.h"

#include "about_box.h"
#include "chart/signal_chart.h"
#include "guide_sections.h"
#include "main_window_texts.h"
#include "shell_open.h"
#include "support/common_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QUrl>

namespace kvt {

QAction *TForm1::addAction(QMenu *menu, const char *name, void (TForm1::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    if (menu)
        menu->addAction(action);
    return action;
}

QAction *TForm1::action(const char *name) const
{
    return findChild<QAction *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void TForm1::createActions()
{
    auto *file = menuBar()->addMenu(QString());
    file->setObjectName(QStringLiteral("itmFile"));
    addAction(file, "AOpen", &TForm1::AOpenFromMenu)->setShortcut(QKeySequence::Open);
    addAction(file, "ASave", &TForm1::ASaveExecute)->setShortcut(QKeySequence::Save);
    file->addSeparator();
    // The printer set-up entry stays hidden: the print dialog chooses the printer.
    auto *printer = new QAction(this);
    printer->setObjectName(QStringLiteral("APrinter"));
    printer->setVisible(false);
    file->addAction(printer);
    addAction(file, "APrint", &TForm1::APrintExecute)->setShortcut(QKeySequence::Print);
    addAction(file, "AExit", &TForm1::AExitExecute)->setShortcut(QKeySequence::Quit);

    auto *edit = menuBar()->addMenu(QString());
    edit->setObjectName(QStringLiteral("itmEdit"));
    addAction(edit, "ACopyTable1", &TForm1::ACopyTable1Execute);
    addAction(edit, "ACopyBlockTable1", &TForm1::ACopyBlockTable1Execute);
    addAction(edit, "itmCopyCalibrDataF", &TForm1::itmCopyCalibrDataFClick)
        ->setText(QString::fromUtf16(CalibrationForceCaption));
    addAction(edit, "itmCopyCalibrDataS", &TForm1::itmCopyCalibrDataSClick)
        ->setText(QString::fromUtf16(CalibrationDisplacementCaption));
    edit->addSeparator();
    addAction(edit, "ACopyTable2", &TForm1::ACopyTable2Execute);
    edit->addSeparator();
    addAction(edit, "ACopyGraph", &TForm1::ACopyGraphExecute);
    addAction(edit, "ACopyGraphData", &TForm1::ACopyGraphDataExecute);
    addAction(nullptr, "ACopyBlockTable2", &TForm1::ACopyBlockTable2Execute)
        ->setText(QString::fromUtf16(CopyBlockTable2Caption));
    addAction(nullptr, "ADelSeries", &TForm1::ADelSeriesExecute);
    addAction(nullptr, "ACopyAtoWav", &TForm1::ACopyAtoWavExecute);
    addAction(nullptr, "ACopyVtoWav", &TForm1::ACopyVtoWavExecute);
    addAction(nullptr, "ACopyStoWav", &TForm1::ACopyStoWavExecute);
    addAction(nullptr, "ACopyFtoWav", &TForm1::ACopyFtoWavExecute);
    addAction(nullptr, "ACopyAllToWav", &TForm1::ACopyAllToWavExecute);
    addAction(nullptr, "ACopyAtoCsv", &TForm1::ACopyAtoCsvExecute);
    addAction(nullptr, "ACopyVtoCsv", &TForm1::ACopyVtoCsvExecute);
    addAction(nullptr, "ACopyStoCsv", &TForm1::ACopyStoCsvExecute);
    addAction(nullptr, "ACopyFtoCsv", &TForm1::ACopyFtoCsvExecute);
    addAction(nullptr, "ACopyAllToCsv", &TForm1::ACopyAllToCsvExecute);
    addAction(nullptr, "ADelImpact", &TForm1::ADelImpactExecute);

    auto *commands = menuBar()->addMenu(QString());
    commands->setObjectName(QStringLiteral("itmCmd"));
    addAction(commands, "AGaugeRead", &TForm1::AGaugeReadExecute)->setShortcut(QKeySequence(Qt::Key_F5));
    addAction(commands, "AMaterialEdit", &TForm1::AMaterialEditExecute);
    addAction(commands, "AObjectEdit", &TForm1::AObjectEditExecute);
    addAction(commands, "AScreenshot", &TForm1::AScreenshotExecute);
    addAction(commands, "AStatistics", &TForm1::AStatisticsExecute);

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
    addAction(parameters, "ARequirements", &TForm1::ARequirementsExecute);

    auto *help = menuBar()->addMenu(QString());
    help->setObjectName(QStringLiteral("itmHelp"));
    addAction(help, "AMainHelp", &TForm1::AMainHelpExecute)->setShortcut(QKeySequence::HelpContents);
    addAction(help, "AChmHelp", &TForm1::AChmHelpExecute);
    help->addSeparator();
    addAction(help, "AAbout", &TForm1::AAboutExecute);
}

QMenu *TForm1::exportMenu(const char *name, std::initializer_list<const char *> items)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    for (const char *item : items) {
        if (item)
            menu->addAction(action(item));
        else
            menu->addSeparator();
    }
    return menu;
}

void TForm1::createContextMenus()
{
    // Table 2's WAV submenu lists force before displacement; the others do not.
    QMenu *table1 = exportMenu("PopupMenuStringGrid1", {"ACopyTable1", "ACopyBlockTable1", nullptr, "ADelSeries"});
    QMenu *table2 = exportMenu("PopupMenuStringGrid2", {"ACopyTable2", "ACopyBlockTable2", nullptr});
    table2->addMenu(exportMenu("itmSaveToWavSG2",
                               {"ACopyAtoWav", "ACopyVtoWav", "ACopyFtoWav", "ACopyStoWav", nullptr, "ACopyAllToWav"}));
    table2->addMenu(exportMenu("itmSaveToCsvSG2",
                               {"ACopyAtoCsv", "ACopyVtoCsv", "ACopyStoCsv", "ACopyFtoCsv", nullptr, "ACopyAllToCsv"}));
    table2->addSeparator();
    table2->addAction(action("ADelImpact"));
    QMenu *chart = exportMenu("PopupMenuChart", {"ACopyGraph", "ACopyGraphData"});
    chart->addMenu(exportMenu("itmSaveToWavGr",
                              {"ACopyAtoWav", "ACopyVtoWav", "ACopyStoWav", "ACopyFtoWav", nullptr, "ACopyAllToWav"}));
    chart->addMenu(exportMenu("itmSaveToCsvGr",
                              {"ACopyAtoCsv", "ACopyVtoCsv", "ACopyStoCsv", "ACopyFtoCsv", nullptr, "ACopyAllToCsv"}));

    for (const auto &[view, popup] : {std::pair{m_grid1, table1}, std::pair{m_grid2, table2}}) {
        QTableView *grid = view;
        QMenu *menu = popup;
        grid->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid, &QWidget::customContextMenuRequested, menu,
                [grid, menu](const QPoint &position) { menu->popup(grid->viewport()->mapToGlobal(position)); });
    }
    connect(m_chart, &SignalChart::contextMenuRequested, chart, [chart](const QPoint &at) { chart->popup(at); });
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
    // The chart titles follow the language.
    if (!m_store.isEmpty())
        DrawImpact(m_store.displayedImpact());
}

void TForm1::setLanguage(Language language, const QString &langId)
{
    m_language = language;
    m_link.language = language;
    m_qtTexts.use(language);
    m_langRus->setChecked(language == Language::Russian);
    m_langEng->setChecked(language == Language::English);
    // A settings file that cannot be written only forgets the choice.
    (void)m_settings.writeString(u"Config", u"LangId", langId);
    MenuFill();
    markSeriesTable(); // the tooltips speak the new language
    refreshStatistics();
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
    // The guide in the current language, beside the program, in the desktop's
    // viewer, at the section of the window in use. Windows' shell drops the
    // section of a file and opens the guide at its start.
    const QString guide = m_programFolder + QStringLiteral("/Help/") + guideFileName(m_language);
    if (!QFileInfo(guide).isFile()) {
        m_prompts.showMessage({ApplicationTitle.text(m_language), HelpMissing.text(m_language) + QDir::toNativeSeparators(guide),
                               PromptIcon::Warning});
        return;
    }
    const QWidget *active = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    const QWidget *focus = active->focusWidget();
    QUrl url = QUrl::fromLocalFile(guide);
    url.setFragment(guideSection(active->objectName(), focus ? focus->objectName() : QString()));
    shellOpen(url, this);
}

void TForm1::offerHelp(QWidget *window)
{
    // F1 there opens the guide at that window's section.
    window->addAction(action("AMainHelp"));
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
