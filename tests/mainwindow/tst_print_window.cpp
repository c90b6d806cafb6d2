#include "exports/modulus_report.h"
#include "mainwindow/formmain.h"
#include "report/report_preview.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include "tool_output.h"
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
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
    void pageSetUpPreparesAgain();
    void printsThroughThePrinter_data();
    void printsThroughThePrinter();
    void exports_data();
    void exports();

private:
    void makeWindow(const std::vector<quint32> &lengths);
    ReportPreview *print();
    QString readAll(const QString &path) const;
    static std::optional<QString> pdfToText(const QString &pdf, const QString &mode);

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

QTEST_MAIN(TestPrintWindow)
#include "tst_print_window.moc"
