#include "exports/modulus_report.h"
#include "file_size_limit.h"
#include "files/kvt_file.h"
#include "mainwindow/formmain.h"
#include "mainwindow/shell_open.h"
#include "report/report_preview.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include "tool_output.h"
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace kvt;

// The Print command of the main window and its preview.
class TestPrintWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fileMenu();
    void emptyStorePrintsNothing();
    void previewShowsTheSeries();
    void toolBarSpeaksTheLanguage_data();
    void toolBarSpeaksTheLanguage();
    void pageSetUpPreparesAgain();
    void summaryPageToggles_data();
    void summaryPageToggles();
    void savedReportHasNoSummaryChoice();
    void printsThroughThePrinter_data();
    void printsThroughThePrinter();
    void exports_data();
    void exports();
    void spreadsheetOnAFullDisk();
    void savedReportOpensAgain();
    void refusesUnreadableReports_data();
    void refusesUnreadableReports();
    void refusesExportsBeyondBounds_data();
    void refusesExportsBeyondBounds();
    void findsText_data();
    void findsText();
    void marksHitsOnlyInThePreview();
    void helpKeyOpensTheReportSection();

private:
    void makeWindow(const std::vector<quint32> &lengths);
    ReportPreview *print();
    QString readAll(const QString &path) const;
    static std::optional<QString> pdfToText(const QString &pdf, const QString &mode);
    // Through the export menu, the save dialog answered with a file of the folder.
    void exportTo(ReportPreview *preview, const QString &action, const QString &name);
    // Through the open button, the open dialog answered with a file of the folder.
    void openIn(ReportPreview *preview, const QString &name);

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> window;
};

void TestPrintWindow::init()
{
    window.reset();
    folder = std::make_unique<QTemporaryDir>();
    settings = std::make_unique<SettingsFile>(folder->filePath("KVT10.ini"));
    store = std::make_unique<MeasurementStore>();
    prompts = ScriptedPrompts();
}

void TestPrintWindow::makeWindow(const std::vector<quint32> &lengths)
{
    QFile ini(settings->path());
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Config]\nLangId=Eng\n");
    ini.close();
    testing::fillStoreWithSeries(*store, lengths);
    window = std::make_unique<TForm1>(*store, *settings, prompts, folder->path());
    window->show();
    if (!lengths.empty())
        window->fillSeriesTable();
}

ReportPreview *TestPrintWindow::print()
{
    window->findChild<QAction *>("APrint")->trigger();
    return window->findChild<ReportPreview *>();
}

QString TestPrintWindow::readAll(const QString &path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// "-raw" keeps the narrow blanks of "- 2 -", "-bbox" tells where each word stands.
std::optional<QString> TestPrintWindow::pdfToText(const QString &pdf, const QString &mode)
{
    return testing::toolOutput("pdftotext", {mode, pdf, "-"});
}

void TestPrintWindow::exportTo(ReportPreview *preview, const QString &action, const QString &name)
{
    prompts.answerFileName(folder->filePath(name));
    preview->findChild<QToolButton *>("ExportButton")->menu()->findChild<QAction *>(action)->trigger();
}

void TestPrintWindow::openIn(ReportPreview *preview, const QString &name)
{
    prompts.answerFileName(folder->filePath(name));
    preview->findChild<QToolButton *>("OpenButton")->click();
}

void TestPrintWindow::fileMenu()
{
    makeWindow({2});
    QStringList names;
    for (const QAction *item : window->findChild<QMenu *>("itmFile")->actions())
        names << (item->isSeparator() ? QString("-") : item->objectName());
    QCOMPARE(names, (QStringList{"AOpen", "ASave", "-", "APrinter", "APrint", "AExit"}));
    const auto *printAction = window->findChild<QAction *>("APrint");
    QVERIFY(printAction->isVisible());
    QCOMPARE(printAction->text(), QString("Print..."));
    QCOMPARE(printAction->shortcut(), QKeySequence(QKeySequence::Print));
    const auto *printer = window->findChild<QAction *>("APrinter");
    QVERIFY(!printer->isVisible());
    QCOMPARE(printer->text(), QString("Printer Setup..."));
    window->ALangRusExecute();
    QCOMPARE(printAction->text(), QString("Печать..."));
}

void TestPrintWindow::emptyStorePrintsNothing()
{
    makeWindow({});
    QCOMPARE(print(), nullptr);
    QVERIFY(prompts.messages().empty());
}

void TestPrintWindow::previewShowsTheSeries()
{
    makeWindow({2, 1, 3});
    ReportPreview *preview = print();
    QVERIFY(preview);
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->windowTitle(), QString("Report preview"));
    QCOMPARE(preview->findChild<QPrintPreviewWidget *>()->pageCount(), 1);
    // The printer starts on A4 with the report's margins, painting from the paper's corner.
    QVERIFY(preview->printer()->fullPage());
    QCOMPARE(preview->printer()->pageRect(QPrinter::Millimeter).topLeft(), QPointF(0, 0));
    const PageSetup page = preview->currentPage();
    const PageSetup expected = ModulusReport::defaultPage();
    QVERIFY(qAbs(page.paper.width() - expected.paper.width()) < 0.1);
    QVERIFY(qAbs(page.paper.height() - expected.paper.height()) < 0.1);
    QVERIFY(qAbs(page.margins.left() - expected.margins.left()) < 0.1);
    QVERIFY(qAbs(page.margins.top() - expected.margins.top()) < 0.1);
    QVERIFY(qAbs(page.margins.bottom() - expected.margins.bottom()) < 0.1);
    QVERIFY(prompts.messages().empty());

    // Closing the preview discards it; printing again prepares a new one.
    preview->close();
    QTRY_COMPARE(window->findChild<ReportPreview *>(), nullptr);
    QVERIFY(print());
}

void TestPrintWindow::toolBarSpeaksTheLanguage_data()
{
    QTest::addColumn<QStringList>("switches"); // the language commands chosen after start (in English)
    QTest::addColumn<QStringList>("texts");    // among the preview tool bar's

    const QStringList english{"Print", "Page setup", "Zoom in"};
    const QStringList russian{"Печать", "Параметры страницы", "Увеличить"};
    QTest::newRow("English") << QStringList{} << english;
    QTest::newRow("Russian") << QStringList{"ALangRus"} << russian;
    QTest::newRow("Russian, then English") << QStringList{"ALangRus", "ALangEng"} << english;
}

// Qt's own buttons of the preview speak the program's language too.
void TestPrintWindow::toolBarSpeaksTheLanguage()
{
    QFETCH(QStringList, switches);
    QFETCH(QStringList, texts);

    makeWindow({2});
    for (const QString &command : switches)
        window->findChild<QAction *>(command)->trigger();
    ReportPreview *preview = print();
    QVERIFY(preview);
    QStringList shown;
    for (const QAction *action : preview->findChild<QToolBar *>()->actions())
        shown << action->text();
    for (const QString &text : texts)
        QVERIFY2(shown.contains(text), qPrintable(text + " is not among " + shown.join(" | ")));
}

void TestPrintWindow::pageSetUpPreparesAgain()
{
    // 40 lines fit on a portrait page; landscape holds 34 on the first page.
    makeWindow(std::vector<quint32>(40, 1));
    ReportPreview *preview = print();
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QCOMPARE(pages->pageCount(), 1);
    preview->printer()->setPageOrientation(QPageLayout::Landscape);
    pages->updatePreview();
    QCOMPARE(pages->pageCount(), 2);
}

void TestPrintWindow::summaryPageToggles_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QByteArray>("rules"); // the settings file's section; empty: none
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("summary"); // texts of the summary in its PDF

    const QByteArray rules = "[Requirements]\nLayout=1\nCount=1\n"
                             "Object1=Road 7\nMaterial1=\nDynamic1=90\nStatic1=\nLargestCv1=\n";
    QTest::newRow("English") << false << rules << "Summary page"
                             << QStringList{"Statistics against requirements", "does not meet", "- 2 -"};
    QTest::newRow("Russian") << true << rules << "Сводная страница"
                             << QStringList{"Статистика по требованиям", "не соответствует", "- 2 -"};
    QTest::newRow("no rules") << false << QByteArray() << "Summary page"
                              << QStringList{"Statistics against requirements", "no rule"};
}

// The preview's summary button prepares the report again with the summary
// page after the series list, and without it once more when released; the
// exports take what the preview shows.
void TestPrintWindow::summaryPageToggles()
{
    QFETCH(bool, russian);
    QFETCH(QByteArray, rules);
    QFETCH(QString, caption);
    QFETCH(QStringList, summary);
    makeWindow({2, 1});
    QFile ini(settings->path());
    QVERIFY(ini.open(QIODevice::Append));
    ini.write(rules);
    ini.close();
    if (russian)
        window->ALangRusExecute();
    ReportPreview *preview = print();
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    auto *button = preview->findChild<QToolButton *>("SummaryButton");
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), caption);
    QVERIFY(button->isCheckable());
    QVERIFY(!button->isChecked());
    QCOMPARE(pages->pageCount(), 1);
    exportTo(preview, "AExport_txt", "without.txt");

    button->click();
    QCOMPARE(pages->pageCount(), 2);
    exportTo(preview, "AExport_pdf", "with.pdf");
    exportTo(preview, "AExport_txt", "with.txt");
    // The series list's page stays as it was; the summary follows it.
    const QString without = readAll(folder->filePath("without.txt"));
    QVERIFY(readAll(folder->filePath("with.txt")).startsWith(without + u'\f'));

    button->click();
    QCOMPARE(pages->pageCount(), 1);
    exportTo(preview, "AExport_txt", "again.txt");
    QCOMPARE(readAll(folder->filePath("again.txt")), without);
    QVERIFY(prompts.messages().empty());

    const std::optional<QString> text = pdfToText(folder->filePath("with.pdf"), "-raw");
    SKIP_WITHOUT_TOOL(text);
    const QStringList printed = text->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(printed.size(), 2);
    for (const QString &expected : summary) {
        QVERIFY2(!printed[0].contains(expected), qPrintable(expected));
        QVERIFY2(printed[1].contains(expected), qPrintable(expected));
    }
}

// A saved report shows the pages it was saved with: the summary button has
// nothing to add to them.
void TestPrintWindow::savedReportHasNoSummaryChoice()
{
    makeWindow({2, 1});
    ReportPreview *preview = print();
    exportTo(preview, "AExport_kvtreport", "saved.kvtreport");
    auto *button = preview->findChild<QToolButton *>("SummaryButton");
    openIn(preview, "saved.kvtreport");
    QVERIFY(prompts.messages().empty());
    QVERIFY(!button->isEnabled());
    QCOMPARE(preview->findChild<QPrintPreviewWidget *>()->pageCount(), 1);
}

void TestPrintWindow::printsThroughThePrinter_data()
{
    QTest::addColumn<bool>("fullPage");
    QTest::newRow("full page") << true;
    // A page set-up may hand the printer back with its origin inside the margins.
    QTest::newRow("origin at the margins") << false;
}

void TestPrintWindow::printsThroughThePrinter()
{
    QFETCH(bool, fullPage);
    makeWindow(std::vector<quint32>(60, 1));
    ReportPreview *preview = print();
    const QString pdf = folder->filePath("printed.pdf");
    preview->printer()->setOutputFormat(QPrinter::PdfFormat);
    preview->printer()->setOutputFileName(pdf);
    preview->printer()->setFullPage(fullPage);
    preview->findChild<QPrintPreviewWidget *>()->print();

    const std::optional<QString> text = pdfToText(pdf, "-raw");
    SKIP_WITHOUT_TOOL(text);
    const QStringList pages = text->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains("Meassured elastic modulus values"));
    QVERIFY(pages[1].contains("60/1"));
    QVERIFY(pages[1].contains("- 2 -"));

    // The "№" head is centred in its cell: 27.5 mm from the paper's left edge,
    // 27.5 mm from its top on the first page (under the title), 7.5 mm on the second.
    const QString boxes = *pdfToText(pdf, "-bbox");
    const QRegularExpression head(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">№</word>)re");
    QList<QPointF> centres;
    for (const QRegularExpressionMatch &word : head.globalMatch(boxes))
        centres << QPointF((word.captured(1).toDouble() + word.captured(3).toDouble()) / 2,
                           (word.captured(2).toDouble() + word.captured(4).toDouble()) / 2);
    const qreal pointsPerMillimetre = 72 / 25.4;
    const QList<QPointF> expected{QPointF(27.5, 27.5) * pointsPerMillimetre, QPointF(27.5, 7.5) * pointsPerMillimetre};
    QCOMPARE(centres.size(), expected.size());
    for (qsizetype page = 0; page < centres.size(); ++page)
        QVERIFY2((centres[page] - expected[page]).manhattanLength() < 2,
                 qPrintable(QStringLiteral("page %1: %2, %3").arg(page + 1).arg(centres[page].x()).arg(centres[page].y())));
}

void TestPrintWindow::exports_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("answers"); // file names the save dialog returns
    QTest::addColumn<QString>("written");     // empty: nothing
    QTest::addColumn<QString>("start");

    QTest::newRow("CSV") << "AExport_csv" << QStringList{"out.csv"} << "out.csv"
                         << "\uFEFFMeassured elastic modulus values\r\n"
                            "№;Date;Time;Din.modulus;Stat.modulus;Material;Object\r\n"
                            "1/2;06.11.13;14:07:45;81,5;41,5;Песок;Road 7\r\n"
                            "2/1;06.11.13;14:07:45;81;41;Песок;Road 7\r\n";
    QTest::newRow("wrong extension asks again") << "AExport_pdf" << QStringList{"out.PDF", "out.pdf"} << "out.pdf"
                                                << "%PDF-";
    QTest::newRow("plain text") << "AExport_txt" << QStringList{"out.txt"} << "out.txt"
                                << "                              Meassured elastic modulus values\n"
                                   "   №        Date        Time     Din.modulus Stat.modulus     Material           Object\n"
                                   "  1/2     06.11.13    14:07:45      81,5         41,5           Песок            Road 7\n"
                                   "  2/1     06.11.13    14:07:45       81           41            Песок            Road 7\n";
    QTest::newRow("HTML") << "AExport_html" << QStringList{"out.html"} << "out.html" << "<!DOCTYPE";
    QTest::newRow("ODF text") << "AExport_odt" << QStringList{"out.odt"} << "out.odt" << "PK";
    QTest::newRow("RTF") << "AExport_rtf" << QStringList{"out.rtf"} << "out.rtf" << "{\\rtf1\\ansi\\ansicpg1251";
    QTest::newRow("Excel spreadsheet") << "AExport_xlsx" << QStringList{"out.xlsx"} << "out.xlsx" << "PK\x03\x04";
    QTest::newRow("OpenDocument spreadsheet") << "AExport_ods" << QStringList{"out.ods"} << "out.ods" << "PK\x03\x04";
    QTest::newRow("cancelled") << "AExport_csv" << QStringList{} << "" << "";
}

void TestPrintWindow::exports()
{
    QFETCH(QString, action);
    QFETCH(QStringList, answers);
    QFETCH(QString, written);
    QFETCH(QString, start);
    makeWindow({2, 1});
    for (const QString &answer : answers)
        prompts.answerFileName(folder->filePath(answer));
    ReportPreview *preview = print();
    auto *button = preview->findChild<QToolButton *>("ExportButton");
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->text(), QString("Export"));
    button->menu()->findChild<QAction *>(action)->trigger();

    QVERIFY(prompts.scriptUsedUp());
    QCOMPARE(prompts.saveRequests().size(), std::max<size_t>(1, size_t(answers.size())));
    QCOMPARE(prompts.saveRequests()[0].proposedName,
             folder->path() + "/Report" + action.mid(action.indexOf(u'_')).replace(u'_', u'.'));
    QCOMPARE(prompts.saveRequests()[0].title, QString("Save as..."));
    const QStringList files = QDir(folder->path()).entryList({"out*"}, QDir::Files);
    QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty())
        QVERIFY2(readAll(folder->filePath(written)).startsWith(start), qPrintable(readAll(folder->filePath(written))));
}

void TestPrintWindow::spreadsheetOnAFullDisk()
{
    // The workbook is made through temporary files: when they cannot be
    // written, the user is told and the file of that name stays as it was.
    makeWindow({2, 1});
    ReportPreview *preview = print();
    QFile existing(folder->filePath("kept.xlsx"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("last week's report");
    existing.close();
    {
        const testing::FileSizeLimit fullDisk(1000);
        SKIP_UNLESS_DISK_CAN_FILL(fullDisk);
        exportTo(preview, "AExport_xlsx", "kept.xlsx");
    }
    QVERIFY(prompts.scriptUsedUp());
    QCOMPARE(prompts.messages().size(), size_t(1));
    QVERIFY(prompts.messages().back().text.startsWith("Can't create data file " + folder->filePath("kept.xlsx")));
    QCOMPARE(readAll(folder->filePath("kept.xlsx")), QString("last week's report"));
    QVERIFY(preview->isVisible());
}

void TestPrintWindow::savedReportOpensAgain()
{
    // Two pages saved from the window's preview, next to the same report as PDF.
    makeWindow(std::vector<quint32>(60, 1));
    ReportPreview *preview = print();
    exportTo(preview, "AExport_pdf", "direct.pdf");
    exportTo(preview, "AExport_kvtreport", "saved.kvtreport");
    QCOMPARE(prompts.saveRequests().back().proposedName, folder->filePath("Report.kvtreport"));
    preview->close();

    // Opened in the preview of another report, in Russian: the saved pages on
    // their own paper, whatever the page set-up says afterwards.
    ModulusReport other({QStringList(7), QStringList(7), QStringList(7, "x")}, Language::Russian);
    FileCommandContext files{prompts, *settings, folder->path(), Language::Russian};
    ReportPreview reopened([&other](const PageSetup &page) { return other.prepare(page); },
                           {QSizeF(148, 210), QMarginsF(10, 10, 10, 10)}, files);
    reopened.show();
    auto *pages = reopened.findChild<QPrintPreviewWidget *>();
    QCOMPARE(pages->pageCount(), 1);
    QCOMPARE(reopened.findChild<QToolButton *>("OpenButton")->text(), QString("Открыть..."));
    openIn(&reopened, "saved.kvtreport");
    QVERIFY(prompts.messages().empty());
    QCOMPARE(prompts.openRequests().back().proposedName, folder->filePath("Report.kvtreport"));
    QCOMPARE(prompts.openRequests().back().filter, QString("kvtreport-files (*.kvtreport);;All files (*.*)"));
    QCOMPARE(reopened.windowTitle(), QString("Просмотр отчёта - saved.kvtreport"));
    QCOMPARE(pages->pageCount(), 2);
    QVERIFY(qAbs(reopened.currentPage().paper.width() - 210) < 0.1);
    reopened.printer()->setPageOrientation(QPageLayout::Landscape);
    pages->updatePreview();
    QCOMPARE(pages->pageCount(), 2);

    exportTo(&reopened, "AExport_pdf", "reopened.pdf");
    const std::optional<QString> direct = pdfToText(folder->filePath("direct.pdf"), "-layout");
    SKIP_WITHOUT_TOOL(direct);
    QVERIFY(direct->contains("60/1"));
    QCOMPARE(*pdfToText(folder->filePath("reopened.pdf"), "-layout"), *direct);
}

void TestPrintWindow::refusesUnreadableReports_data()
{
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("bytes"); // of bad.kvtreport
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("message");

    ModulusReport report({QStringList(7), QStringList(7), QStringList(7, "x")}, Language::English);
    const QByteArray saved = encodePreparedReport(report.prepare());
    const auto replaced = [&saved](const QByteArray &from, const QByteArray &to) {
        QByteArray bytes = saved;
        return bytes.replace(from, to);
    };
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2});
    const QString damaged = "File is not a KVT-1.0 report or is damaged: bad.kvtreport";

    QTest::newRow("empty") << true << QByteArray() << false << damaged;
    QTest::newRow("cut short") << true << saved.left(saved.size() / 2) << false << damaged;
    QTest::newRow("a measurement file") << true << encodeKvt(*store) << false << damaged;
    QTest::newRow("another format") << true << replaced("kvt10-prepared-report", "kvt10-other") << false
                                    << damaged;
    QTest::newRow("paper of 10 km") << true << replaced("\"width\":210", "\"width\":1e7") << false << damaged;
    QTest::newRow("newer version") << true << replaced("\"version\":1", "\"version\":2") << false
                                   << "The report was saved by a newer version of the program; this version "
                                      "cannot read it: bad.kvtreport";
    QTest::newRow("cut short, Russian") << true << saved.left(saved.size() - 1) << true
                                        << "Файл не является отчётом КВТ-1.0 или испорчен: bad.kvtreport";
    QTest::newRow("absent") << false << QByteArray() << false << "Can't open file %1/bad.kvtreport";
}

void TestPrintWindow::refusesUnreadableReports()
{
    QFETCH(bool, written);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, russian);
    QFETCH(QString, message);
    makeWindow({2, 1});
    if (russian)
        window->ALangRusExecute();
    if (written) {
        QFile file(folder->filePath("bad.kvtreport"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ReportPreview *preview = print();
    const QString title = preview->windowTitle();
    exportTo(preview, "AExport_csv", "before.csv");

    openIn(preview, "bad.kvtreport");
    QVERIFY(prompts.scriptUsedUp());
    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].text, QString(message).replace("%1", folder->path()));
    QCOMPARE(prompts.messages()[0].caption, QString(russian ? "КВТ-1.0" : "KVT-1.0"));
    QCOMPARE(prompts.messages()[0].icon, PromptIcon::Warning);

    // The preview still shows its own report.
    QCOMPARE(preview->windowTitle(), title);
    QCOMPARE(preview->findChild<QPrintPreviewWidget *>()->pageCount(), 1);
    exportTo(preview, "AExport_csv", "after.csv");
    QCOMPARE(readAll(folder->filePath("after.csv")), readAll(folder->filePath("before.csv")));
}

void TestPrintWindow::refusesExportsBeyondBounds_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("refused");

    // Tables too wide for the documents and the sheets, a line too long for plain text.
    QTest::newRow("HTML") << "AExport_html" << true;
    QTest::newRow("ODF text") << "AExport_odt" << true;
    QTest::newRow("Excel spreadsheet") << "AExport_xlsx" << true;
    QTest::newRow("OpenDocument spreadsheet") << "AExport_ods" << true;
    QTest::newRow("plain text") << "AExport_txt" << true;
    QTest::newRow("PDF") << "AExport_pdf" << false;
    QTest::newRow("CSV") << "AExport_csv" << false;
}

// A saved report that asks an export for more than any report holds opens,
// but that export says it is damaged instead of asking for a name.
void TestPrintWindow::refusesExportsBeyondBounds()
{
    QFETCH(QString, action);
    QFETCH(bool, refused);
    PreparedBand heads{BandKind::PageHeader, {}};
    for (int column = 0; column < 101; ++column)
        heads.texts << ReportText{QRectF(20 + column, 20, 1, 5), "7"};
    const PreparedBand farIn{BandKind::MasterData, {ReportText{QRectF(2100, 25, 5, 5), "7"}}};
    PreparedReport report;
    report.fontFamily = "Times New Roman";
    report.pages = {PreparedPage{{heads, farIn}}};
    QFile file(folder->filePath("wide.kvtreport"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodePreparedReport(report));
    file.close();

    makeWindow({2, 1});
    ReportPreview *preview = print();
    openIn(preview, "wide.kvtreport");
    QVERIFY(prompts.messages().empty());
    const QString out = folder->filePath("out." + action.mid(action.indexOf(u'_') + 1));
    if (refused) {
        preview->findChild<QToolButton *>("ExportButton")->menu()->findChild<QAction *>(action)->trigger();
        QVERIFY(prompts.saveRequests().empty());
        QCOMPARE(prompts.messages().size(), size_t(1));
        QCOMPARE(prompts.messages()[0].text, QString("File is not a KVT-1.0 report or is damaged: wide.kvtreport"));
        QCOMPARE(prompts.messages()[0].icon, PromptIcon::Warning);
    } else {
        exportTo(preview, action, QFileInfo(out).fileName());
        QVERIFY(prompts.messages().empty());
    }
    QCOMPARE(QFile::exists(out), !refused);
}

void TestPrintWindow::findsText_data()
{
    QTest::addColumn<bool>("russian");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hitOfHits"); // with %1 for the hit's number
    QTest::addColumn<QString>("notFound");

    QTest::newRow("English") << false << "Find:" << "Match %1 of 6" << "Text not found";
    QTest::newRow("Russian") << true << "Найти:" << "Найдено: %1 из 6" << "Текст не найден";
}

void TestPrintWindow::findsText()
{
    QFETCH(bool, russian);
    QFETCH(QString, caption);
    QFETCH(QString, hitOfHits);
    QFETCH(QString, notFound);
    // Rows 1/1 to 51/1 on the first page, up to 60/1 on the second.
    makeWindow(std::vector<quint32>(60, 1));
    if (russian)
        window->ALangRusExecute();
    ReportPreview *preview = print();
    preview->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(preview));
    auto *field = preview->findChild<QLineEdit *>("FindField");
    auto *status = preview->findChild<QLabel *>("FindStatus");
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QVERIFY(field && field->isVisible());
    QStringList captions;
    for (const QLabel *label : preview->findChildren<QLabel *>())
        captions << label->text();
    QVERIFY2(captions.contains(caption), qPrintable(captions.join(u'|')));
    QVERIFY(status->text().isEmpty());

    QTest::keyClick(preview, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(field->hasFocus());
    // 10/1 to 50/1 on the first page, 60/1 on the second.
    QTest::keyClicks(field, "0/1");
    QCOMPARE(status->text(), hitOfHits.arg(1));
    QCOMPARE(pages->currentPage(), 1);
    QTest::keyClick(preview, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(status->text(), hitOfHits.arg(6));
    QCOMPARE(pages->currentPage(), 2);
    QTest::keyClick(preview, Qt::Key_F3);
    QCOMPARE(status->text(), hitOfHits.arg(1));
    QCOMPARE(pages->currentPage(), 1);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(status->text(), hitOfHits.arg(2));
    for (int i = 0; i < 4; ++i)
        preview->findChild<QAction *>("AFindNext")->trigger();
    QCOMPARE(status->text(), hitOfHits.arg(6));
    QCOMPARE(pages->currentPage(), 2);
    preview->findChild<QAction *>("AFindPrevious")->trigger();
    QCOMPARE(status->text(), hitOfHits.arg(5));
    QCOMPARE(pages->currentPage(), 1);

    // Nothing found: said beside the field, no message box, the page stays.
    field->setText("гравий");
    QCOMPARE(status->text(), notFound);
    QCOMPARE(pages->currentPage(), 1);
    QTest::keyClick(preview, Qt::Key_F3);
    QCOMPARE(status->text(), notFound);
    QVERIFY(prompts.messages().empty());
    field->clear();
    QVERIFY(status->text().isEmpty());
}

namespace {

// Whether a picture of pages shows a search mark: the yellow or orange the
// preview fills hits with; the pages themselves are black on white.
bool showsMarks(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            if (color.red() > 220 && color.green() > 140 && color.blue() < 160)
                return true;
        }
    return false;
}

} // namespace

void TestPrintWindow::marksHitsOnlyInThePreview()
{
    makeWindow(std::vector<quint32>(60, 1));
    ReportPreview *preview = print();
    auto *pages = preview->findChild<QPrintPreviewWidget *>();
    QVERIFY(!showsMarks(pages->grab().toImage()));
    // Every row's material, on both pages.
    preview->findChild<QLineEdit *>("FindField")->setText("Песок");
    QVERIFY(showsMarks(pages->grab().toImage()));

    // Printed and exported while the hits are marked: neither has them.
    const QString printed = folder->filePath("printed.pdf");
    preview->printer()->setOutputFormat(QPrinter::PdfFormat);
    preview->printer()->setOutputFileName(printed);
    pages->print();
    exportTo(preview, "AExport_pdf", "exported.pdf");
    for (const QString &pdf : {printed, folder->filePath("exported.pdf")}) {
        const QString prefix = pdf.chopped(4);
        const std::optional<QString> drawn = testing::toolOutput("pdftoppm", {"-r", "40", "-png", pdf, prefix});
        SKIP_WITHOUT_TOOL(drawn);
        const QStringList pictures = QDir(folder->path()).entryList({QFileInfo(prefix).fileName() + "-*.png"});
        QCOMPARE(pictures.size(), 2);
        for (const QString &picture : pictures)
            QVERIFY2(!showsMarks(QImage(folder->filePath(picture))), qPrintable(picture));
    }
}

void TestPrintWindow::helpKeyOpensTheReportSection()
{
    // F1 in the preview, which is modal to the main window, still reaches its
    // help command and opens the report's section.
    QList<QUrl> opened;
    replaceShellForTests([&opened](const QUrl &url) { opened << url; });
    QDir(folder->path()).mkpath("Help");
    QFile guide(folder->filePath("Help/KVT10Help.en.html"));
    QVERIFY(guide.open(QIODevice::WriteOnly));
    makeWindow({2, 1});
    ReportPreview *preview = print();
    QVERIFY(QTest::qWaitForWindowActive(preview));
    QTest::keyClick(preview, Qt::Key_F1);
    replaceShellForTests({});
    QUrl expected = QUrl::fromLocalFile(guide.fileName());
    expected.setFragment("report");
    QCOMPARE(opened, QList<QUrl>{expected});
}

QTEST_MAIN(TestPrintWindow)
#include "tst_print_window.moc"
