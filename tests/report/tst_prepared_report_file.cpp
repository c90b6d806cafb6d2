#include "files/kvt_file.h"
#include "report/prepared_report_file.h"
#include "store_fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::PreparedReportStatus)
Q_DECLARE_METATYPE(kvt::Language)

namespace {

namespace limits = prepared_report_limits;

// Two pages of an A5 report with texts of every alignment, framed and plain,
// Cyrillic and quoted, a band without texts and a footer.
PreparedReport sampleReport()
{
    const ReportText title{QRectF(12.5, 5, 130.5, 20), QStringLiteral("Измеренные значения \"модуля\""), 14};
    const ReportText head{QRectF(12.5, 25, 20.25, 5), QStringLiteral("№"), 10, true, Qt::AlignLeft | Qt::AlignTop};
    const ReportText value{QRectF(32.75, 25, 30, 5), QStringLiteral("81,5"), 9.5, true,
                           Qt::AlignRight | Qt::AlignBottom};
    const ReportText footer{QRectF(12.5, 195, 130.5, 10), QStringLiteral("- 2 -"), 10};
    PreparedReport report;
    report.page = {QSizeF(148, 210), QMarginsF(12.5, 5, 5, 10)};
    report.fontFamily = QStringLiteral("Times New Roman");
    report.pages = {
        PreparedPage{{{BandKind::ReportTitle, {title}},
                      {BandKind::PageHeader, {head, value}},
                      {BandKind::MasterData, {}}}},
        PreparedPage{{{BandKind::PageHeader, {head}}, {BandKind::PageFooter, {footer}}}},
    };
    return report;
}

QJsonObject sampleJson()
{
    return QJsonDocument::fromJson(encodePreparedReport(sampleReport())).object();
}

QByteArray json(const QJsonObject &root)
{
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// The sample with one change made to its JSON.
QByteArray changed(const std::function<void(QJsonObject &root)> &change)
{
    QJsonObject root = sampleJson();
    change(root);
    return json(root);
}

// The sample with one member of one of its objects set.
QByteArray withMember(const QString &object, const QString &key, const QJsonValue &value)
{
    return changed([&](QJsonObject &root) {
        QJsonObject inner = root[object].toObject();
        inner[key] = value;
        root[object] = inner;
    });
}

// The sample with its first page's first band changed.
QByteArray withFirstBand(const std::function<void(QJsonObject &band)> &change)
{
    return changed([&](QJsonObject &root) {
        QJsonArray pages = root["pages"].toArray();
        QJsonObject page = pages[0].toObject();
        QJsonArray bands = page["bands"].toArray();
        QJsonObject band = bands[0].toObject();
        change(band);
        bands[0] = band;
        page["bands"] = bands;
        pages[0] = page;
        root["pages"] = pages;
    });
}

// The sample with a member of its first text set.
QByteArray withFirstText(const QString &key, const QJsonValue &value)
{
    return withFirstBand([&](QJsonObject &band) {
        QJsonArray texts = band["texts"].toArray();
        QJsonObject text = texts[0].toObject();
        text[key] = value;
        texts[0] = text;
        band["texts"] = texts;
    });
}

QJsonArray copies(const QJsonValue &value, qsizetype count)
{
    QJsonArray array;
    for (qsizetype i = 0; i < count; ++i)
        array.append(value);
    return array;
}

QByteArray kvtFile()
{
    auto store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2, 1});
    return encodeKvt(*store);
}

} // namespace

// The program's own report file: what it holds comes back whole, and no
// damaged, foreign or hostile file gets through.
class TestPreparedReportFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void decode_data();
    void decode();
    void replacesWhatXmlCannotHold_data();
    void replacesWhatXmlCannotHold();
    void readsFiles();
    void failureTexts_data();
    void failureTexts();
};

void TestPreparedReportFile::roundTrip()
{
    const PreparedReport report = sampleReport();
    const QByteArray bytes = encodePreparedReport(report);
    const QJsonObject root = QJsonDocument::fromJson(bytes).object();
    QCOMPARE(root["format"].toString(), QString("kvt10-prepared-report"));
    QCOMPARE(root["version"].toInt(), 1);

    const PreparedReportFile file = decodePreparedReport(bytes);
    QCOMPARE(file.status, PreparedReportStatus::Read);
    const PreparedReport &read = file.report;
    QCOMPARE(read.page.paper, report.page.paper);
    QCOMPARE(read.page.margins, report.page.margins);
    QCOMPARE(read.fontFamily, report.fontFamily);
    QCOMPARE(read.pages.size(), report.pages.size());
    for (qsizetype page = 0; page < report.pages.size(); ++page) {
        QCOMPARE(read.pages[page].bands.size(), report.pages[page].bands.size());
        for (qsizetype band = 0; band < report.pages[page].bands.size(); ++band) {
            const PreparedBand &expected = report.pages[page].bands[band];
            const PreparedBand &actual = read.pages[page].bands[band];
            QCOMPARE(actual.kind, expected.kind);
            QCOMPARE(actual.texts.size(), expected.texts.size());
            for (qsizetype text = 0; text < expected.texts.size(); ++text) {
                QCOMPARE(actual.texts[text].box, expected.texts[text].box);
                QCOMPARE(actual.texts[text].text, expected.texts[text].text);
                QCOMPARE(actual.texts[text].pointSize, expected.texts[text].pointSize);
                QCOMPARE(actual.texts[text].framed, expected.texts[text].framed);
                QCOMPARE(actual.texts[text].alignment, expected.texts[text].alignment);
            }
        }
    }
    // Written again, the same bytes.
    QCOMPARE(encodePreparedReport(read), bytes);
}

void TestPreparedReportFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PreparedReportStatus>("status");

    const QByteArray sample = encodePreparedReport(sampleReport());
    const auto Damaged = PreparedReportStatus::Damaged;
    const auto Newer = PreparedReportStatus::Newer;
    const auto Read = PreparedReportStatus::Read;

    // Cut short or not this program's.
    QTest::newRow("empty") << QByteArray() << Damaged;
    for (const qsizetype length : {qsizetype(1), qsizetype(40), sample.size() / 2, sample.size() - 1})
        QTest::addRow("the first %lld bytes", qlonglong(length)) << sample.left(length) << Damaged;
    QTest::newRow("something after the end") << sample + "{}" << Damaged;
    QTest::newRow("a measurement file") << kvtFile() << Damaged;
    QTest::newRow("a JSON array") << QByteArray("[1,2]") << Damaged;
    QTest::newRow("another format") << changed([](QJsonObject &root) { root["format"] = "kvt10-measurements"; })
                                    << Damaged;
    QTest::newRow("no format") << changed([](QJsonObject &root) { root.remove("format"); }) << Damaged;

    // The version: a later one is not read, whatever else it holds.
    QTest::newRow("next version") << changed([](QJsonObject &root) { root["version"] = 2; }) << Newer;
    QTest::newRow("far later version, nothing else")
        << json({{"format", "kvt10-prepared-report"}, {"version", 1000000}}) << Newer;
    QTest::newRow("a version beyond any integer")
        << json({{"format", "kvt10-prepared-report"}, {"version", 1e12}}) << Newer;
    for (const QJsonValue &version : {QJsonValue(0), QJsonValue(-1), QJsonValue(1.5), QJsonValue("1"), QJsonValue()})
        QTest::addRow("version %s", json({{"v", version}}).constData())
            << changed([&](QJsonObject &root) { root["version"] = version; }) << Damaged;

    // Counts beyond the limits, and none.
    const QJsonObject emptyPage{{"bands", QJsonArray()}};
    QTest::newRow("no pages") << changed([](QJsonObject &root) { root["pages"] = QJsonArray(); }) << Damaged;
    QTest::newRow("most pages") << changed([&](QJsonObject &root) { root["pages"] = copies(emptyPage, limits::Pages); })
                                << Read;
    QTest::newRow("too many pages")
        << changed([&](QJsonObject &root) { root["pages"] = copies(emptyPage, limits::Pages + 1); }) << Damaged;
    QTest::newRow("too many bands on a page") << changed([](QJsonObject &root) {
        const QJsonObject band{{"kind", "data"}, {"texts", QJsonArray()}};
        root["pages"] = QJsonArray{QJsonObject{{"bands", copies(band, limits::BandsPerPage + 1)}}};
    }) << Damaged;
    QTest::newRow("too many texts in a band") << withFirstBand([](QJsonObject &band) {
        band["texts"] = copies(band["texts"].toArray()[0], limits::TextsPerBand + 1);
    }) << Damaged;
    QTest::newRow("longest text") << withFirstText("text", QString(limits::TextLength, u'ж')) << Read;
    QTest::newRow("too long a text") << withFirstText("text", QString(limits::TextLength + 1, u'ж')) << Damaged;
    QTest::newRow("too long a font name")
        << changed([](QJsonObject &root) { root["font"] = QString(limits::FontFamilyLength + 1, u'f'); }) << Damaged;
    QTest::newRow("larger than a report may be") << sample + QByteArray(limits::FileBytes, ' ') << Damaged;

    // Sizes no paper has.
    QTest::newRow("paper of 10 km") << withMember("paper", "width", 1e7) << Damaged;
    QTest::newRow("paper without height") << withMember("paper", "height", 0) << Damaged;
    QTest::newRow("negative margin") << withMember("margins", "left", -5) << Damaged;
    QTest::newRow("margin as text") << withMember("margins", "top", "5") << Damaged;
    QTest::newRow("box far off the paper") << withFirstText("box", QJsonArray{1e300, 5, 130, 20}) << Damaged;
    QTest::newRow("box of negative width") << withFirstText("box", QJsonArray{12.5, 5, -1, 20}) << Damaged;
    QTest::newRow("box of three numbers") << withFirstText("box", QJsonArray{12.5, 5, 130}) << Damaged;
    QTest::newRow("box above and left of the paper") << withFirstText("box", QJsonArray{-10, -3, 130, 20}) << Read;
    QTest::newRow("font of no size") << withFirstText("size", 0) << Damaged;
    QTest::newRow("font of a million points") << withFirstText("size", 1e6) << Damaged;

    // Words and kinds the program does not write.
    QTest::newRow("unknown band") << withFirstBand([](QJsonObject &band) { band["kind"] = "summary"; }) << Damaged;
    QTest::newRow("unknown alignment") << withFirstText("halign", "justify") << Damaged;
    QTest::newRow("frame as text") << withFirstText("frame", "yes") << Damaged;
    QTest::newRow("text as a number") << withFirstText("text", 7) << Damaged;
    QTest::newRow("text missing") << withFirstText("text", QJsonValue::Undefined) << Damaged;
    QTest::newRow("page not an object") << changed([](QJsonObject &root) { root["pages"] = QJsonArray{1}; })
                                        << Damaged;
}

void TestPreparedReportFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PreparedReportStatus, status);
    const PreparedReportFile file = decodePreparedReport(bytes);
    QCOMPARE(file.status, status);
    if (status != PreparedReportStatus::Read)
        QVERIFY(file.report.pages.isEmpty());
}

void TestPreparedReportFile::replacesWhatXmlCannotHold_data()
{
    QTest::addColumn<QByteArray>("escaped"); // as JSON writes it
    QTest::addColumn<QString>("read");

    const QString replaced(u'\uFFFD');
    QTest::newRow("NUL") << QByteArray("\\u0000") << replaced;
    QTest::newRow("U+0001") << QByteArray("\\u0001") << replaced;
    QTest::newRow("U+001F") << QByteArray("\\u001f") << replaced;
    QTest::newRow("U+FFFE") << QByteArray("\\ufffe") << replaced;
    QTest::newRow("U+FFFF") << QByteArray("\\uffff") << replaced;
    QTest::newRow("a lone high surrogate") << QByteArray("\\ud800") << replaced;
    QTest::newRow("a lone low surrogate") << QByteArray("\\udc00") << replaced;
    QTest::newRow("a pair the wrong way round") << QByteArray("\\udc00\\ud800") << replaced + replaced;
    QTest::newRow("a lone high surrogate before a letter") << QByteArray("\\ud83dx") << replaced + u'x';
    // What XML holds stays as it was.
    QTest::newRow("a character beyond the BMP") << QByteArray("\\ud83d\\ude00") << QStringLiteral("\U0001F600");
    QTest::newRow("tab and line ends") << QByteArray("\\t\\n\\r") << QStringLiteral("\t\n\r");
    QTest::newRow("DEL and U+FFFD") << QByteArray("\\u007f\\ufffd") << QStringLiteral("\u007f\uFFFD");
}

// Every export can write what is read: the XML formats and the workbook's
// library, which ends a text at a NUL. The text keeps its length.
void TestPreparedReportFile::replacesWhatXmlCannotHold()
{
    QFETCH(QByteArray, escaped);
    QFETCH(QString, read);
    QByteArray bytes = withFirstText("text", "text@");
    bytes.replace("\"font\":\"Times New Roman\"", "\"font\":\"font@\"");
    bytes.replace('@', escaped);
    const PreparedReportFile file = decodePreparedReport(bytes);
    QCOMPARE(file.status, PreparedReportStatus::Read);
    QCOMPARE(file.report.pages[0].bands[0].texts[0].text, "text" + read);
    QCOMPARE(file.report.fontFamily, "font" + read);
}

void TestPreparedReportFile::readsFiles()
{
    QTemporaryDir dir;
    QCOMPARE(readPreparedReportFile(dir.filePath("absent.kvtreport")).status, PreparedReportStatus::CannotOpen);
    QCOMPARE(readPreparedReportFile(dir.path()).status, PreparedReportStatus::CannotOpen);
#ifdef Q_OS_UNIX
    // A device never ends; it is not read at all.
    QCOMPARE(readPreparedReportFile("/dev/zero").status, PreparedReportStatus::CannotOpen);
#endif

    QFile file(dir.filePath("report.kvtreport"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodePreparedReport(sampleReport()));
    file.close();
    const PreparedReportFile read = readPreparedReportFile(file.fileName());
    QCOMPARE(read.status, PreparedReportStatus::Read);
    QCOMPARE(read.report.pages.size(), 2);

    // A file larger than any report is refused without reading it all.
    QVERIFY(file.resize(limits::FileBytes + 1024));
    QCOMPARE(readPreparedReportFile(file.fileName()).status, PreparedReportStatus::Damaged);
}

void TestPreparedReportFile::failureTexts_data()
{
    QTest::addColumn<PreparedReportStatus>("status");
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text");

    QTest::newRow("cannot open") << PreparedReportStatus::CannotOpen << Language::English
                                 << "Can't open file /data/Отчёт.kvtreport";
    QTest::newRow("cannot open, Russian") << PreparedReportStatus::CannotOpen << Language::Russian
                                          << "Не удается открыть файл /data/Отчёт.kvtreport";
    QTest::newRow("damaged") << PreparedReportStatus::Damaged << Language::English
                             << "File is not a KVT-1.0 report or is damaged: Отчёт.kvtreport";
    QTest::newRow("damaged, Russian") << PreparedReportStatus::Damaged << Language::Russian
                                      << "Файл не является отчётом КВТ-1.0 или испорчен: Отчёт.kvtreport";
    QTest::newRow("newer") << PreparedReportStatus::Newer << Language::English
                           << "The report was saved by a newer version of the program; this version cannot read "
                              "it: Отчёт.kvtreport";
    QTest::newRow("newer, Russian")
        << PreparedReportStatus::Newer << Language::Russian
        << "Отчёт сохранён более новой версией программы, эта версия его не прочтёт: Отчёт.kvtreport";
}

void TestPreparedReportFile::failureTexts()
{
    QFETCH(PreparedReportStatus, status);
    QFETCH(Language, language);
    QFETCH(QString, text);
    QCOMPARE(preparedReportFailure(status, QStringLiteral("/data/Отчёт.kvtreport"), language), text);
}

QTEST_GUILESS_MAIN(TestPreparedReportFile)
#include "tst_prepared_report_file.moc"
