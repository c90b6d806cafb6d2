#include "exports/modulus_report.h"
#include "report/report_files.h"
#include "report/report_painter.h"

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include "tool_output.h"
#include <QTemporaryDir>
#include <QTest>
#include <QRegularExpression>

using namespace kvt;

namespace {

QList<QStringList> table1(int series)
{
    QList<QStringList> rows{QStringList(7), QStringList(7)};
    for (int i = 1; i <= series; ++i)
        rows << QStringList{QStringLiteral("%1/2").arg(i), "06.11.13", "14:07:45", "81,5", "41,5", "Песок <мелкий>",
                            "Road & 7"};
    return rows;
}

// Runs a program on the bytes written to a file; its standard output, or
// nothing when the program does not run here.
std::optional<QString> readBack(const QByteArray &bytes, const QString &program, const QStringList &before,
                                const QStringList &after = {})
{
    QTemporaryDir dir;
    QFile file(dir.filePath("report"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    file.close();
    return testing::toolOutput(program, before + QStringList{file.fileName()} + after);
}

} // namespace

class TestReportFiles : public QObject {
    Q_OBJECT
private slots:
    void serifFont();
    void textsFitTheirBoxes_data();
    void textsFitTheirBoxes();
    void pdfPages();
    void pdfAlignment_data();
    void pdfAlignment();
    void documents_data();
    void documents();
};

void TestReportFiles::serifFont()
{
    // Times New Roman where it is installed, else its metric twin.
    const QFontInfo font(reportFont(QStringLiteral("Times New Roman"), 10));
    QVERIFY2(QStringList({"Times New Roman", "Liberation Serif", "Tinos"}).contains(font.family()),
             qPrintable(font.family()));
}

void TestReportFiles::textsFitTheirBoxes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shrinks");

    QTest::newRow("a name that fits") << "Песок" << false;
    QTest::newRow("19 wide capitals") << "ШШШШШШШШШШШШШШШШШШШ" << true;
}

void TestReportFiles::textsFitTheirBoxes()
{
    QFETCH(QString, text);
    QFETCH(bool, shrinks);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    const ReportText cell{QRectF(0, 0, 35, 5), text, 10, true};
    const QFont font = fittingFont(QStringLiteral("Times New Roman"), cell, device);
    QCOMPARE(font.pointSizeF() < 10, shrinks);
    const qreal room = 34 * device.logicalDpiX() / 25.4; // less half a millimetre either side
    QVERIFY(QFontMetricsF(font, &device).horizontalAdvance(text) <= room * 1.01);
}

void TestReportFiles::pdfPages()
{
    ModulusReport report(table1(60), Language::English);
    const QByteArray pdf = reportFileBytes(report.prepare(), ReportFormat::Pdf);
    QVERIFY(pdf.startsWith("%PDF-"));

    const std::optional<QString> info = readBack(pdf, QStringLiteral("pdfinfo"), {});
    SKIP_WITHOUT_TOOL(info);
    QVERIFY2(info->contains(QRegularExpression("Pages: +2\n")), qPrintable(*info));
    QVERIFY2(info->contains(u"(A4)"), qPrintable(*info));
    QVERIFY2(readBack(pdf, QStringLiteral("pdffonts"), {})->contains(u"LiberationSerif"), "the serif is embedded");

    const QStringList pages = readBack(pdf, QStringLiteral("pdftotext"), {"-raw"}, {"-"})->split(u'\f');
    QVERIFY(pages[0].contains(u"Meassured elastic modulus values"));
    QVERIFY(!pages[0].contains(u"- 1 -"));
    QVERIFY(pages[1].contains(u"- 2 -"));
    QVERIFY(pages[1].contains(u"60/2"));
    QVERIFY(pages[1].contains(u"Песок <мелкий>"));
}

void TestReportFiles::pdfAlignment_data()
{
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QList<qreal>>("edges"); // left, top, right, bottom of the word in millimetres; -1: any

    // A 100 × 30 mm box at (50, 50); a centred word would stand some 45 mm
    // from either side and 13 mm from the top and the bottom.
    QTest::newRow("left, top") << int(Qt::AlignLeft | Qt::AlignTop) << QList<qreal>{50, 50, -1, -1};
    QTest::newRow("right, bottom") << int(Qt::AlignRight | Qt::AlignBottom) << QList<qreal>{-1, -1, 150, 80};
}

void TestReportFiles::pdfAlignment()
{
    QFETCH(int, alignment);
    QFETCH(QList<qreal>, edges);
    PreparedReport report;
    report.fontFamily = QStringLiteral("Times New Roman");
    const ReportText text{QRectF(50, 50, 100, 30), QStringLiteral("Margin"), 10, false, Qt::Alignment(alignment)};
    report.pages = {PreparedPage{{{BandKind::MasterData, {text}}}}};
    const std::optional<QString> boxes = readBack(reportPdf(report), QStringLiteral("pdftotext"), {"-bbox"}, {"-"});
    SKIP_WITHOUT_TOOL(boxes);
    const QRegularExpressionMatch word =
        QRegularExpression(R"re(xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">Margin<)re")
            .match(*boxes);
    QVERIFY2(word.hasMatch(), qPrintable(*boxes));
    for (int edge = 0; edge < 4; ++edge) {
        const qreal at = word.captured(edge + 1).toDouble() * 25.4 / 72;
        if (edges[edge] >= 0)
            QVERIFY2(qAbs(at - edges[edge]) < 1.5, qPrintable(QStringLiteral("edge %1 at %2 mm").arg(edge).arg(at)));
    }
}

void TestReportFiles::documents_data()
{
    QTest::addColumn<ReportFormat>("format");
    QTest::newRow("HTML") << ReportFormat::Html;
    QTest::newRow("ODF text") << ReportFormat::Odt;
}

void TestReportFiles::documents()
{
    QFETCH(ReportFormat, format);
    ModulusReport report(table1(2), Language::Russian);
    const QByteArray bytes = reportFileBytes(report.prepare(), format);
    QString markup = QString::fromUtf8(bytes);
    if (format == ReportFormat::Odt) {
        // A zip whose first member names the document type; the text is in content.xml.
        QVERIFY(bytes.startsWith("PK"));
        QVERIFY(bytes.contains("mimetypeapplication/vnd.oasis.opendocument.text"));
        const std::optional<QString> content = readBack(
            bytes, QStringLiteral("python3"),
            {"-c", "import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read('content.xml').decode())"});
        SKIP_WITHOUT_TOOL(content);
        markup = *content;
    }
    for (const char *text : {"Измеренные значения модуля упругости", "№", "Дата", "Объект", "1/2", "2/2",
                             "Песок &lt;мелкий&gt;", "Road &amp; 7"})
        QVERIFY2(markup.contains(QString::fromUtf8(text)), text);
    QVERIFY(markup.indexOf(u"модуля упругости") < markup.indexOf(u"Объект"));
}

QTEST_MAIN(TestReportFiles)
#include "tst_report_files.moc"
