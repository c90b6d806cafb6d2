#include "exports/export_commands.h"
#include "file_size_limit.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kvt;

Q_DECLARE_METATYPE(kvt::ExportFormat)

class TestExportCommands : public QObject {
    Q_OBJECT
private slots:
    void init();

    void noData();
    void proposesNameInLastFolder();
    void extensionCorrected_data();
    void extensionCorrected();
    void retryAfterCreationFailure();
    void allWavWithoutDialog();
    void fullDeviceKeepsExistingFile();

private:
    FileCommandContext context() { return {prompts, *settings, tmp->filePath("program"), Language::English}; }
    QString path(const QString &name) const { return tmp->filePath(name); }
    QString lastReadPath() const { return settings->readString(u"Config", u"LastReadPath", "<none>", 256); }

    std::unique_ptr<QTemporaryDir> tmp;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MeasurementStore> store;
    ScriptedPrompts prompts;
};

void TestExportCommands::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QDir(tmp->path()).mkpath("program");
    QDir(tmp->path()).mkpath("data");
    settings = std::make_unique<SettingsFile>(path("program/KVT10.ini"));
    settings->writeString(u"Config", u"LastReadPath", path("data/"));
    store = std::make_unique<MeasurementStore>();
    testing::fillStoreWithSeries(*store, {2, 3});
    store->records()[3].setImpactId(12, 3);
    store->setDisplayedImpact(3); // the impact the chart shows
    prompts = ScriptedPrompts();
}

void TestExportCommands::noData()
{
    store = std::make_unique<MeasurementStore>();
    auto ctx = context();
    QCOMPARE(exportDisplayedImpact(*store, ctx, ExportFormat::Wav, ExportCurve::Force, false), ExportResult::NoData);
    QCOMPARE(exportAllWav(*store, ctx, false), ExportResult::NoData);
    QCOMPARE(prompts.messages().size(), size_t(2));
    QCOMPARE(prompts.messages()[0].text, QString("No Data"));
    QVERIFY(prompts.saveRequests().empty());
}

void TestExportCommands::proposesNameInLastFolder()
{
    prompts.answerFileName(path("out.wav"));
    auto ctx = context();
    const QByteArray recordBefore = QByteArray(reinterpret_cast<const char *>(store->record(3).bytes.data()), 2196);
    QCOMPARE(exportDisplayedImpact(*store, ctx, ExportFormat::Wav, ExportCurve::Velocity, false),
             ExportResult::Written);
    QCOMPARE(prompts.saveRequests()[0].proposedName, path("data/Velocity_12_3.wav"));
    QCOMPARE(prompts.saveRequests()[0].title, QString("Save as..."));
    QCOMPARE(prompts.saveRequests()[0].filter, QString("wav-files (*.wav);;All files (*.*)"));
    QCOMPARE(QFileInfo(path("out.wav")).size(), 1068);
    QCOMPARE(lastReadPath(), tmp->path() + "/");
    // Exporting changes nothing in the store.
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(store->record(3).bytes.data()), 2196), recordBefore);
}

void TestExportCommands::extensionCorrected_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("proposedAgain");

    QTest::newRow("upper-case WAV") << ExportFormat::Wav << "s.WAV" << "s.wav";
    QTest::newRow("upper-case CSV") << ExportFormat::Csv << "data.CSV" << "data.csv";
    QTest::newRow("no extension") << ExportFormat::Wav << "s" << "s.wav";
    QTest::newRow("another extension") << ExportFormat::Csv << "s.txt" << "s.csv";
}

void TestExportCommands::extensionCorrected()
{
    QFETCH(ExportFormat, format);
    QFETCH(QString, chosen);
    QFETCH(QString, proposedAgain);

    prompts.answerFileName(path(chosen));
    prompts.answerFileName(std::nullopt); // cancelled when it comes back
    auto ctx = context();
    QCOMPARE(exportDisplayedImpact(*store, ctx, format, ExportCurve::Force, false), ExportResult::Cancelled);
    QCOMPARE(prompts.saveRequests().size(), size_t(2));
    QCOMPARE(prompts.saveRequests()[1].proposedName, path(proposedAgain));
    QVERIFY(!QFile::exists(path(chosen)));
    QCOMPARE(lastReadPath(), tmp->path() + "/"); // remembered on every OK
}

void TestExportCommands::retryAfterCreationFailure()
{
    QDir(tmp->path()).mkpath("taken.csv"); // a folder where the file should go
    prompts.answerFileName(path("taken.csv"));
    prompts.answerButton(PromptButton::Retry);
    prompts.answerFileName(path("free.csv"));
    auto ctx = context();
    QCOMPARE(exportDisplayedImpact(*store, ctx, ExportFormat::Csv, std::nullopt, true), ExportResult::Written);
    QCOMPARE(prompts.saveRequests()[0].proposedName, path("data/All_12_3.csv"));
    QCOMPARE(prompts.saveRequests()[1].proposedName, path("taken.csv"));
    QCOMPARE(prompts.messages()[0].defaultButton, PromptButton::Retry);
    QCOMPARE(QFile(path("free.csv")).size() > 0, true);
}

void TestExportCommands::allWavWithoutDialog()
{
    QFile old(path("data/Force_12_3.wav"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    settings->writeString(u"Config", u"LastReadPath", path("data/"));
    auto ctx = context();
    QCOMPARE(exportAllWav(*store, ctx, false), ExportResult::Written);
    QVERIFY(prompts.saveRequests().empty());
    QCOMPARE(QDir(path("data")).entryList({"*.wav"}), (QStringList{"Displacement_12_3.wav", "Force_12_3.wav"}));
    QCOMPARE(QFileInfo(path("data/Force_12_3.wav")).size(), 1068); // overwritten without asking
    QCOMPARE(lastReadPath(), path("data/"));
}

void TestExportCommands::fullDeviceKeepsExistingFile()
{
    // A file size limit stands in for a full disk: the write fails part-way.
    QFile existing(path("kept.csv"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("yesterday's export");
    existing.close();
    prompts.answerFileName(path("kept.csv"));

    auto ctx = context();
    ExportResult result;
    {
        const testing::FileSizeLimit fullDisk(4096);
        SKIP_UNLESS_DISK_CAN_FILL(fullDisk);
        result = exportDisplayedImpact(*store, ctx, ExportFormat::Csv, std::nullopt, true);
    }

    QCOMPARE(result, ExportResult::Failed);
    QCOMPARE(prompts.messages().back().buttons, QList<PromptButton>{PromptButton::Ok});
    QVERIFY(prompts.messages().back().text.startsWith("Can't create data file " + path("kept.csv")));
    QFile kept(path("kept.csv"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("yesterday's export"));
}

QTEST_GUILESS_MAIN(TestExportCommands)
#include "tst_export_commands.moc"
