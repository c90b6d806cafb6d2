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

QList<QStringList> table1(int series, const QString &material = "Песок <мелкий>", const QString &object = "Road & 7")
{
    QList<QStringList> rows{QStringList(7), QStringList(7)};
    for (int i = 1; i <= series; ++i)
        rows << QStringList{QStringLiteral("%1/2").arg(i), "06.11.13", "14:07:45", "81,5", "41,5", material, object};
    return rows;
}

// Whether every group an RTF document opens is closed, and none is closed
// before it is opened; an escaped brace is text.
bool groupsBalance(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i;
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
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

Q_DECLARE_METATYPE(kvt::Language)

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
    void rtfLayout();
    void rtfTexts_data();
    void rtfTexts();
    void rtfPages_data();
    void rtfPages();
    void rtfReadBack_data();
    void rtfReadBack();
    void rtfPagesAsThePdfs();

private:
    std::optional<QString> rtfAsText(const QByteArray &rtf, const QString &mode);

    QTemporaryDir libreOffice; // its profile, kept from one reading to the next
};

// LibreOffice's reading of an RTF document: the text of the PDF it prints,
// by pdftotext in the mode given; nothing when either does not run here.
std::optional<QString> TestReportFiles::rtfAsText(const QByteArray &rtf, const QString &mode)
{
    QFile file(libreOffice.filePath("report.rtf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size())
        return QString();
    file.close();
    QFile::remove(libreOffice.filePath("report.pdf"));
    const std::optional<QString> pdf = testing::rtfAsPdf(file.fileName(), libreOffice.path());
    if (!pdf)
        return std::nullopt;
    return testing::toolOutput(QStringLiteral("pdftotext"), {mode, *pdf, "-"});
}

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
    const QByteArray pdf = reportFileBytes(report.prepare(), ReportFormat::Pdf).value();
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
    const QByteArray bytes = reportFileBytes(report.prepare(), format).value();
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

void TestReportFiles::rtfLayout()
{
    ModulusReport report(table1(2), Language::English);
    const QByteArray rtf = reportFileBytes(report.prepare(), ReportFormat::Rtf).value();
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\uc1"), rtf.left(80).constData());
    QVERIFY(std::all_of(rtf.begin(), rtf.end(), [](char byte) { return uchar(byte) < 0x80; }));
    QVERIFY(groupsBalance(rtf));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\froman\\fcharset204 Times New Roman;}}"));
    // A4, margins of 20, 5, 5 and 10 mm, in twips.
    QVERIFY(rtf.contains("\\paperw11906\\paperh16838\\margl1134\\margr283\\margt283\\margb567\n"));
    // The title centred in a 20 mm row across the page, 14 pt.
    QVERIFY(rtf.contains("\\trrh-1134\\clvertalc\\cellx10488\n"
                         "\\pard\\plain\\intbl\\qc\\f0\\fs28 Meassured elastic modulus values\\cell\n"));
    // The heads and each series a row of framed 5 mm cells, their right edges
    // 1.5, 3.9, 6.3, 8.9, 11.3, 15.0 and 18.5 cm from the margin, 10 pt texts.
    QByteArray row = "\\trowd\\trleft0\\trgaph0\\trrh-283";
    for (const char *edge : {"850", "2211", "3572", "5046", "6406", "8504", "10488"})
        row += QByteArray("\\clbrdrt\\brdrs\\brdrw11\\clbrdrl\\brdrs\\brdrw11\\clbrdrb\\brdrs\\brdrw11"
                          "\\clbrdrr\\brdrs\\brdrw11\\clvertalc\\cellx") + edge;
    row += '\n';
    QCOMPARE(rtf.count(row), 3);
    QVERIFY(rtf.contains(row + "\\pard\\plain\\intbl\\qc\\f0\\fs20 \\u8470\\'b9\\cell\n"
                               "\\pard\\plain\\intbl\\qc\\f0\\fs20 Date\\cell\n"));
    QVERIFY(rtf.contains(row + "\\pard\\plain\\intbl\\qc\\f0\\fs20 2/2\\cell\n"));
}

void TestReportFiles::rtfTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<bool>("shrinks");

    QTest::newRow("Cyrillic with its bytes") << "Песок <мелкий>"
                                            << QByteArray("\\u1055\\'cf\\u1077\\'e5\\u1089\\'f1\\u1086\\'ee"
                                                          "\\u1082\\'ea <\\u1084\\'ec\\u1077\\'e5\\u1083\\'eb"
                                                          "\\u1082\\'ea\\u1080\\'e8\\u1081\\'e9>")
                                            << false;
    QTest::newRow("characters RTF keeps for itself") << "{a} \\ b & c" << QByteArray("\\{a\\} \\\\ b & c") << false;
    QTest::newRow("signs Windows-1251 has") << "№ 5 €" << QByteArray("\\u8470\\'b9 5 \\u8364\\'88") << false;
    QTest::newRow("a sign Windows-1251 lacks") << "✓ ok" << QByteArray("\\u10003? ok") << false;
    QTest::newRow("above 32767, negative") << "ﬀ" << QByteArray("\\u-1280?") << false;
    QTest::newRow("beyond 16 bits, two halves") << "😀" << QByteArray("\\u-10179?\\u-8704?") << false;
    QTest::newRow("19 wide capitals, smaller") << "ШШШШШШШШШШШШШШШШШШШ" << QByteArray("\\u1064\\'d8").repeated(19) << true;
}

void TestReportFiles::rtfTexts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, rtf);
    QFETCH(bool, shrinks);
    ModulusReport report(table1(1, name), Language::Russian);
    const QByteArray bytes = reportFileBytes(report.prepare(), ReportFormat::Rtf).value();
    const QRegularExpression cell("\\\\fs(\\d+) " + QRegularExpression::escape(QString::fromLatin1(rtf)) +
                                  "\\\\cell\n");
    const QRegularExpressionMatch match = cell.match(QString::fromLatin1(bytes));
    QVERIFY2(match.hasMatch(), bytes.constData());
    QCOMPARE(match.captured(1).toInt() < 20, shrinks);
    QVERIFY(match.captured(1).toInt() >= 10);
}

void TestReportFiles::rtfPages_data()
{
    QTest::addColumn<int>("series");
    QTest::addColumn<int>("pages");

    QTest::newRow("one page, no footer") << 51 << 1;
    QTest::newRow("a second page") << 52 << 2;
    QTest::newRow("three pages") << 105 << 3;
}

void TestReportFiles::rtfPages()
{
    QFETCH(int, series);
    QFETCH(int, pages);
    ModulusReport report(table1(series), Language::English);
    const PreparedReport prepared = report.prepare();
    QCOMPARE(prepared.pages.size(), pages);
    const QByteArray rtf = reportFileBytes(prepared, ReportFormat::Rtf).value();
    QVERIFY(groupsBalance(rtf));
    // A page starts where the report starts one, with the heads again.
    QCOMPARE(rtf.count("\\pagebb"), pages - 1);
    QCOMPARE(rtf.count("Din.modulus\\cell"), pages);
    QCOMPARE(rtf.count("\\row\n"), 1 + pages + series + (pages > 1 ? 1 : 0));
    // From the second page on "- N -" on the bottom margin, N the page's number.
    QCOMPARE(rtf.contains("{\\footer"), pages > 1);
    QCOMPARE(rtf.contains("\\titlepg"), pages > 1);
    if (pages > 1) {
        QCOMPARE(rtf.count("{\\footer"), 1);
        QVERIFY(rtf.contains("\\sectd\\footery567\\titlepg\n{\\footer\n\\trowd\\trleft0\\trgaph0\\trrh-567"
                             "\\clvertalc\\cellx10488\n\\pard\\plain\\intbl\\qc\\f0\\fs20 "
                             "- {\\field{\\*\\fldinst PAGE}{\\fldrslt 2}} -\\cell\n"));
    }
}

void TestReportFiles::rtfReadBack_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QStringList>("heads");

    QTest::newRow("Russian") << Language::Russian << "Road & 7"
                             << QStringList{"Измеренные значения модуля упругости", "№ Дата Время Дин.модуль "
                                                                                    "Стат.модуль Материал Объект"};
    QTest::newRow("English, characters RTF keeps for itself")
        << Language::English << "Road {7} \\ 2"
        << QStringList{"Meassured elastic modulus values", "№ Date Time Din.modulus Stat.modulus Material Object"};
}

void TestReportFiles::rtfReadBack()
{
    QFETCH(Language, language);
    QFETCH(QString, object);
    QFETCH(QStringList, heads);
    const QList<QStringList> table = table1(2, "Песок <мелкий>", object);
    ModulusReport report(table, language);
    const std::optional<QString> text = rtfAsText(reportFileBytes(report.prepare(), ReportFormat::Rtf).value(), "-layout");
    SKIP_WITHOUT_TOOL(text);
    QCOMPARE(text->count(u'\f'), 1); // one page
    QVERIFY2(!text->contains(u"- 1 -"), "the first page has no page number");
    QStringList lines = text->split(u'\n', Qt::SkipEmptyParts);
    lines.removeAll(QStringLiteral("\f"));
    QVERIFY2(lines.size() == 4, qPrintable(*text));
    QCOMPARE(lines[0].simplified(), heads[0]);
    QCOMPARE(lines[1].simplified(), heads[1]);
    QCOMPARE(lines[2].simplified(), table[2].join(u' '));
    QCOMPARE(lines[3].simplified(), table[3].join(u' '));
}

void TestReportFiles::rtfPagesAsThePdfs()
{
    ModulusReport report(table1(105), Language::Russian);
    const PreparedReport prepared = report.prepare();
    const std::optional<QString> rtf = rtfAsText(reportFileBytes(prepared, ReportFormat::Rtf).value(), "-raw");
    SKIP_WITHOUT_TOOL(rtf);
    const QStringList pages = rtf->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 3);
    QVERIFY(pages[0].startsWith(u"Измеренные значения модуля упругости\n№ Дата"));
    QVERIFY(pages[0].trimmed().endsWith(u"51/2 06.11.13 14:07:45 81,5 41,5 Песок <мелкий> Road & 7"));
    QVERIFY(pages[1].startsWith(u"№ Дата Время Дин.модуль Стат.модуль Материал Объект\n52/2 "));
    QVERIFY(pages[1].trimmed().endsWith(u"104/2 06.11.13 14:07:45 81,5 41,5 Песок <мелкий> Road & 7\n- 2 -"));
    QVERIFY(pages[2].startsWith(u"№ Дата Время Дин.модуль Стат.модуль Материал Объект\n105/2 "));
    QVERIFY(pages[2].trimmed().endsWith(u"\n- 3 -"));
    // Word for word the text of the PDF's pages.
    const std::optional<QString> pdf = readBack(reportFileBytes(prepared, ReportFormat::Pdf).value(), "pdftotext", {"-raw"}, {"-"});
    QCOMPARE(*rtf, *pdf);
}

QTEST_MAIN(TestReportFiles)
#include "tst_report_files.moc"
