#include "files/last_folder.h"
#include "files/measurement_file_commands.h"
#include "files/save_name.h"
#include "files/kvt_file.h"
#include "read_only_path.h"
#include "store_fixture.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace kvt;
using kvt::testing::fillStoreWithSeries;

namespace {

// The user's home (and the user folders found below it) moved into a test's
// own folder while this lives. Only Unix takes the documents folder from HOME.
class MovedHome {
public:
    explicit MovedHome(const QString &home) : m_home(saved("HOME")), m_config(saved("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
    }
    ~MovedHome()
    {
        restore("HOME", m_home);
        restore("XDG_CONFIG_HOME", m_config);
    }

private:
    static std::optional<QByteArray> saved(const char *name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    static void restore(const char *name, const std::optional<QByteArray> &value)
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    std::optional<QByteArray> m_home, m_config;
};

// A folder nobody can write in while this lives, as an installed program's.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(folder), m_locked(kvt::testing::setReadOnly(folder, true))
    {
    }
    ~ReadOnlyFolder()
    {
        if (m_locked)
            kvt::testing::setReadOnly(m_folder, false);
    }
    bool locked() const { return m_locked; }

private:
    QString m_folder;
    bool m_locked;
};

#ifdef Q_OS_UNIX
#define SKIP_WITHOUT_MOVABLE_HOME()
#else
#define SKIP_WITHOUT_MOVABLE_HOME() QSKIP("the user's documents folder follows HOME only on Unix")
#endif

} // namespace

Q_DECLARE_METATYPE(kvt::Language)
Q_DECLARE_METATYPE(kvt::PromptButton)
Q_DECLARE_METATYPE(kvt::SaveResult)
Q_DECLARE_METATYPE(QList<kvt::PromptButton>)

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();

    void defaultFileName();
    void saveNameRules_data();
    void saveNameRules();
    void initialFolder_data();
    void initialFolder();
    void initialFolderOfAnInstalledProgram_data();
    void initialFolderOfAnInstalledProgram();
    void firstSaveOfAnInstalledProgram();
    void rememberFolder_data();
    void rememberFolder();

    void saveEmptyStoreOnlyReports();
    void saveProposesLastFolderAndTimeName();
    void saveCancelled();
    void saveMaterialExtensionAsksAgain();
    void saveAsksBeforeReplacingTheCorrectedName_data();
    void saveAsksBeforeReplacingTheCorrectedName();
    void saveCannotCreate_data();
    void saveCannotCreate();

    void startupFileName_data();
    void startupFileName();
    void openAtStartReportsInStatus_data();
    void openAtStartReportsInStatus();
    void openFromMenuProposesFile();
    void openUnreadableFileAsksAgainSilently();
    void openDamagedFileReportsAndKeepsStore_data();
    void openDamagedFileReportsAndKeepsStore();
    void droppedFileInTheSystemsForm();

private:
    QString path(const QString &name) const { return tmp->filePath(name); }
    FileCommandContext context(Language language = Language::English)
    {
        return {prompts, *settings, programFolder, language};
    }
    QString lastReadPath() const
    {
        return settings->readString(u"Config", u"LastReadPath", "<none>", 256);
    }

    std::unique_ptr<QTemporaryDir> tmp;
    QString programFolder;
    std::unique_ptr<SettingsFile> settings;
    ScriptedPrompts prompts;
    std::unique_ptr<MeasurementStore> store;
};

void TestFileCommands::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QDir(tmp->path()).mkpath("program");
    programFolder = path("program");
    settings = std::make_unique<SettingsFile>(path("program/KVT10.ini"));
    prompts = ScriptedPrompts();
    store = std::make_unique<MeasurementStore>();
}

void TestFileCommands::defaultFileName()
{
    QCOMPARE(defaultKvtFileName(QDateTime(QDate(2013, 11, 6), QTime(14, 7, 45))), QString("131106.1407.kvt"));
    QCOMPARE(defaultKvtFileName(QDateTime(QDate(2009, 1, 2), QTime(3, 4))), QString("090102.0304.kvt"));
}

void TestFileCommands::saveNameRules_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("askAgain");

    QTest::newRow("trailing dot") << "/d/report." << "/d/report.kvt" << false;
    QTest::newRow("other extension") << "/d/report.txt" << "/d/report.txt.kvt" << false;
    QTest::newRow("material list extension") << "/d/report.mtkvt" << "/d/report.kvt" << true;
    QTest::newRow("upper case is another extension") << "/d/report.KVT" << "/d/report.KVT.kvt" << false;
    QTest::newRow("kept") << "/d/report.kvt" << "/d/report.kvt" << false;
    QTest::newRow("no extension") << "/d/report" << "/d/report.kvt" << false;
    QTest::newRow("dot in the folder only") << "/d.old/report" << "/d.old/report.kvt" << false;
}

void TestFileCommands::saveNameRules()
{
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QFETCH(bool, askAgain);

    const SaveNameDecision decision = correctedKvtSaveName(chosen);
    QCOMPARE(decision.name, written);
    QCOMPARE(decision.askAgain, askAgain);
}

void TestFileCommands::initialFolder_data()
{
    QTest::addColumn<QString>("stored"); // "<none>": key absent; %1: the temporary folder
    QTest::addColumn<QString>("expected");

    QTest::newRow("never used") << "<none>" << "%1/program/";
    QTest::newRow("empty") << "" << "%1/program/";
    QTest::newRow("existing folder") << "%1/data/" << "%1/data/";
    QTest::newRow("existing folder without separator") << "%1/data" << "%1/data/";
    QTest::newRow("folder no longer exists") << "%1/gone/" << "%1/program/";
}

void TestFileCommands::initialFolder()
{
    QFETCH(QString, stored);
    QFETCH(QString, expected);

    QDir(tmp->path()).mkpath("data");
    if (stored != u"<none>")
        settings->writeString(u"Config", u"LastReadPath", stored.arg(tmp->path()));
    QCOMPARE(kvt::initialFolder(*settings, programFolder), expected.arg(tmp->path()));
}

void TestFileCommands::initialFolderOfAnInstalledProgram_data()
{
    QTest::addColumn<QString>("stored"); // "<none>": key absent; %1: the temporary folder
    QTest::addColumn<bool>("documents"); // whether the user has a documents folder
    QTest::addColumn<QString>("expected");

    QTest::newRow("never used") << "<none>" << true << "%1/home/Documents/";
    QTest::newRow("never used, no documents folder") << "<none>" << false << "%1/home/";
    QTest::newRow("folder no longer exists") << "%1/gone/" << true << "%1/home/Documents/";
    QTest::newRow("existing folder") << "%1/data/" << true << "%1/data/";
}

// The program installed where the user cannot write (/usr/lib/kvt10, Program
// Files): its settings are elsewhere, and a dialog proposing its folder would
// propose a save that fails. The user's home is the test's own folder.
void TestFileCommands::initialFolderOfAnInstalledProgram()
{
    SKIP_WITHOUT_MOVABLE_HOME();
    QFETCH(QString, stored);
    QFETCH(bool, documents);
    QFETCH(QString, expected);

    QDir(tmp->path()).mkpath("data");
    QDir(tmp->path()).mkpath(documents ? "home/Documents" : "home");
    const MovedHome home(path("home"));
    settings = std::make_unique<SettingsFile>(path("user.ini"));
    if (stored != u"<none>")
        settings->writeString(u"Config", u"LastReadPath", stored.arg(tmp->path()));
    const ReadOnlyFolder installed(programFolder);
    if (!installed.locked())
        QSKIP("a folder cannot be made read-only here");
    QCOMPARE(kvt::initialFolder(*settings, programFolder), expected.arg(tmp->path()));
}

void TestFileCommands::firstSaveOfAnInstalledProgram()
{
    // A hurried user takes the name the dialog proposes: it can be written.
    SKIP_WITHOUT_MOVABLE_HOME();
    fillStoreWithSeries(*store, {2, 1});
    QDir(tmp->path()).mkpath("home/Documents");
    const MovedHome home(path("home"));
    settings = std::make_unique<SettingsFile>(path("user.ini"));
    const ReadOnlyFolder installed(programFolder);
    if (!installed.locked())
        QSKIP("a folder cannot be made read-only here");
    auto ctx = context();
    const QDateTime now(QDate(2026, 12, 9), QTime(23, 45));
    QCOMPARE(saveMeasurements(*store, ctx, now), SaveResult::Cancelled);
    QCOMPARE(prompts.saveRequests().size(), size_t(1));
    const QString proposed = prompts.saveRequests()[0].proposedName;
    QCOMPARE(proposed, path("home/Documents/261209.2345.kvt"));

    prompts.answerFileName(proposed);
    QCOMPARE(saveMeasurements(*store, ctx, now), SaveResult::Saved);
    QCOMPARE(QFileInfo(proposed).size(), 6616);
    QVERIFY(prompts.messages().empty());
}

void TestFileCommands::rememberFolder_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("folder");

    QTest::newRow("full name") << "/home/user/data/131106.1407.kvt" << "/home/user/data/";
    QTest::newRow("no folder") << "report.kvt" << "";
    QTest::newRow("root") << "/report.kvt" << "/";
}

void TestFileCommands::rememberFolder()
{
    QFETCH(QString, fileName);
    QFETCH(QString, folder);
    kvt::rememberFolder(*settings, fileName);
    QCOMPARE(lastReadPath(), folder);
}

void TestFileCommands::saveEmptyStoreOnlyReports()
{
    auto ctx = context(Language::Russian);
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime::currentDateTime()), SaveResult::NothingToSave);
    QVERIFY(prompts.saveRequests().empty());
    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].text, QString("Данных нет"));
    QCOMPARE(prompts.messages()[0].caption, QString("КВТ-1.0"));
}

void TestFileCommands::saveProposesLastFolderAndTimeName()
{
    fillStoreWithSeries(*store, {2, 1});
    QDir(tmp->path()).mkpath("data");
    settings->writeString(u"Config", u"LastReadPath", path("data/"));
    prompts.answerFileName(path("out/report"));
    QDir(tmp->path()).mkpath("out");

    auto ctx = context();
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime(QDate(2026, 12, 9), QTime(23, 45))), SaveResult::Saved);
    QCOMPARE(prompts.saveRequests().size(), size_t(1));
    QCOMPARE(prompts.saveRequests()[0].proposedName, path("data/261209.2345.kvt"));
    QCOMPARE(prompts.saveRequests()[0].title, QString("Save as..."));
    QCOMPARE(QFileInfo(path("out/report.kvt")).size(), 6616);
    QCOMPARE(lastReadPath(), path("out/"));
    QVERIFY(prompts.messages().empty());
}

void TestFileCommands::saveCancelled()
{
    fillStoreWithSeries(*store, {1});
    auto ctx = context();
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime::currentDateTime()), SaveResult::Cancelled);
    QCOMPARE(lastReadPath(), QString("<none>"));
}

void TestFileCommands::saveMaterialExtensionAsksAgain()
{
    fillStoreWithSeries(*store, {1});
    prompts.answerFileName(path("report.mtkvt"));
    prompts.answerFileName(path("report.kvt"));
    auto ctx = context();
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime::currentDateTime()), SaveResult::Saved);
    QCOMPARE(prompts.saveRequests().size(), size_t(2));
    QCOMPARE(prompts.saveRequests()[1].proposedName, path("report.kvt"));
    QVERIFY(!QFile::exists(path("report.mtkvt")));
    QVERIFY(QFile::exists(path("report.kvt")));
}

void TestFileCommands::saveAsksBeforeReplacingTheCorrectedName_data()
{
    // The dialog asks about the name as typed; the program asks about the
    // name it writes when that is another, existing file. No brings the
    // dialog back with the name it would have written.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QList<PromptButton>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("written");

    using B = QList<PromptButton>;
    QTest::newRow("no extension, file exists, keep it") << "site1" << "site1.kvt" << B{PromptButton::No} << 1 << "";
    QTest::newRow("no extension, file exists, replace") << "site1" << "site1.kvt" << B{PromptButton::Yes} << 1
                                                        << "site1.kvt";
    QTest::newRow("trailing dot, file exists") << "site1." << "site1.kvt" << B{PromptButton::No} << 1 << "";
    QTest::newRow("other extension, file exists") << "x.txt" << "x.txt.kvt" << B{PromptButton::No} << 1 << "";
    QTest::newRow("no extension, nothing there") << "site1" << "" << B{} << 0 << "site1.kvt";
    QTest::newRow("typed name exists, corrected does not") << "site1" << "site1" << B{} << 0 << "site1.kvt";
    QTest::newRow("own extension, the dialog asked") << "site1.kvt" << "site1.kvt" << B{} << 0 << "site1.kvt";
}

void TestFileCommands::saveAsksBeforeReplacingTheCorrectedName()
{
    QFETCH(QString, typed);
    QFETCH(QString, existing);
    QFETCH(QList<PromptButton>, answers);
    QFETCH(int, questions);
    QFETCH(QString, written);

    const QByteArray kept = "an earlier site's measurements";
    if (!existing.isEmpty()) {
        QFile file(path(existing));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kept);
    }
    fillStoreWithSeries(*store, {2, 1});
    prompts.answerFileName(path(typed));
    for (PromptButton answer : answers)
        prompts.answerButton(answer);
    // A No brings the dialog back; the user then cancels.

    auto ctx = context(Language::Russian);
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime::currentDateTime()),
             written.isEmpty() ? SaveResult::Cancelled : SaveResult::Saved);
    QCOMPARE(int(prompts.messages().size()), questions);
    if (questions > 0) {
        const MessageRequest &question = prompts.messages()[0];
        QCOMPARE(question.text, "Файл " + path(existing) + " уже существует.\nЗаменить его?");
        QCOMPARE(question.caption, QString("КВТ-1.0"));
        QCOMPARE(question.buttons, (QList<PromptButton>{PromptButton::Yes, PromptButton::No}));
        QCOMPARE(question.defaultButton, PromptButton::No);
    }
    if (written.isEmpty()) {
        QCOMPARE(prompts.saveRequests().size(), size_t(2));
        QCOMPARE(prompts.saveRequests()[1].proposedName, path(existing));
    } else {
        QCOMPARE(QFileInfo(path(written)).size(), 16 + 3 * 2200);
    }
    if (!existing.isEmpty() && existing != written) {
        QFile file(path(existing));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept);
    }
}

void TestFileCommands::saveCannotCreate_data()
{
    QTest::addColumn<PromptButton>("answer");
    QTest::addColumn<SaveResult>("result");

    QTest::newRow("retry and choose another name") << PromptButton::Retry << SaveResult::Saved;
    QTest::newRow("abort") << PromptButton::Abort << SaveResult::Failed;
    QTest::newRow("ignore") << PromptButton::Ignore << SaveResult::Failed;
}

void TestFileCommands::saveCannotCreate()
{
    QFETCH(PromptButton, answer);
    QFETCH(SaveResult, result);

    fillStoreWithSeries(*store, {1});
    QDir(tmp->path()).mkpath("blocked.kvt"); // a folder where the file should go
    prompts.answerFileName(path("blocked.kvt"));
    prompts.answerButton(answer);
    prompts.answerFileName(path("second.kvt"));

    auto ctx = context();
    QCOMPARE(saveMeasurements(*store, ctx, QDateTime::currentDateTime()), result);
    QCOMPARE(prompts.messages().size(), size_t(1));
    const MessageRequest &message = prompts.messages()[0];
    QCOMPARE(message.text, "Can't create data file " + path("blocked.kvt")
                               + ".\nIt may be no free space or disk is write protected");
    QCOMPARE(message.icon, PromptIcon::Warning);
    QCOMPARE(message.buttons, (QList<PromptButton>{PromptButton::Abort, PromptButton::Retry, PromptButton::Ignore}));
    QCOMPARE(message.defaultButton, PromptButton::Retry);
    QCOMPARE(QFile::exists(path("second.kvt")), result == SaveResult::Saved);
    if (result == SaveResult::Saved)
        QCOMPARE(prompts.saveRequests()[1].proposedName, path("blocked.kvt"));
}

void TestFileCommands::startupFileName_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("fileName"); // empty: nothing is opened

    QTest::newRow("none") << QStringList{} << "";
    QTest::newRow("one") << QStringList{"/data/a.kvt"} << "/data/a.kvt";
    QTest::newRow("path split at a space") << QStringList{"C:\\My", "data.kvt"} << "C:\\My data.kvt";
}

void TestFileCommands::startupFileName()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, fileName);
    QCOMPARE(kvt::startupFileName(arguments).value_or(QString()), fileName);
}

void TestFileCommands::openAtStartReportsInStatus_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("fileStatus");
    QTest::addColumn<QString>("countStatus");

    QTest::newRow("English") << Language::English << "File \"my data.kvt\"" << "Data Readed (12)";
    QTest::newRow("Russian") << Language::Russian << "Файл \"my data.kvt\"" << "Данные считаны (12)";
}

void TestFileCommands::openAtStartReportsInStatus()
{
    QFETCH(Language, language);
    QFETCH(QString, fileStatus);
    QFETCH(QString, countStatus);

    MeasurementStore source;
    fillStoreWithSeries(source, {5, 7});
    QFile file(path("my data.kvt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeKvt(source));
    file.close();

    auto ctx = context(language);
    const OpenResult result = openMeasurements(*store, ctx, path("my data.kvt"));
    QVERIFY(result.loaded);
    QCOMPARE(result.fileStatus, fileStatus);
    QCOMPARE(result.countStatus, countStatus);
    QCOMPARE(store->seriesCount(), 2u);
    QVERIFY(prompts.openRequests().empty());
    QCOMPARE(lastReadPath(), tmp->path() + '/');
}

void TestFileCommands::openFromMenuProposesFile()
{
    auto ctx = context(Language::Russian);
    QVERIFY(!openMeasurements(*store, ctx).loaded);
    QCOMPARE(prompts.openRequests().size(), size_t(1));
    QCOMPARE(prompts.openRequests()[0].proposedName, programFolder + "/File");
    QCOMPARE(prompts.openRequests()[0].title, QString("Открыть файл..."));
    QCOMPARE(prompts.openRequests()[0].filter, QString("DataFile (*.kvt);;All files (*.*)"));
}

void TestFileCommands::openUnreadableFileAsksAgainSilently()
{
    fillStoreWithSeries(*store, {2});
    MeasurementStore source;
    fillStoreWithSeries(source, {1, 1, 1});
    QFile file(path("good.kvt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(encodeKvt(source));
    file.close();

    prompts.answerFileName(path("good.kvt"));
    auto ctx = context();
    const OpenResult result = openMeasurements(*store, ctx, path("missing.kvt"));
    QVERIFY(result.loaded);
    QVERIFY(prompts.messages().empty());
    QCOMPARE(prompts.openRequests().size(), size_t(1));
    QCOMPARE(prompts.openRequests()[0].proposedName, path("missing.kvt"));
    QCOMPARE(store->seriesCount(), 3u);

    // Cancelling the dialog that comes back leaves the store alone.
    auto ctx2 = context();
    QVERIFY(!openMeasurements(*store, ctx2, path("missing.kvt")).loaded);
    QCOMPARE(store->seriesCount(), 3u);
}

void TestFileCommands::openDamagedFileReportsAndKeepsStore_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("one byte short") << "damaged";
#ifdef Q_OS_UNIX
    // Opened from the command line or dropped: reading it would wait for ever.
    QTest::newRow("FIFO") << "fifo";
#endif
}

void TestFileCommands::openDamagedFileReportsAndKeepsStore()
{
    QFETCH(QString, kind);
    fillStoreWithSeries(*store, {2, 2});
    const QByteArray before = encodeKvt(*store);
    const QString name = kind + ".kvt";
    if (kind == u"damaged") {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before.chopped(1));
    }
#ifdef Q_OS_UNIX
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path(name)).constData(), 0600), 0);
#endif

    auto ctx = context();
    QVERIFY(!openMeasurements(*store, ctx, path(name)).loaded);
    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].text, "File is not readable or damaged: " + name);
    QCOMPARE(prompts.messages()[0].caption, QString("KVT-1.0"));
    QCOMPARE(prompts.messages()[0].icon, PromptIcon::Warning);
    QVERIFY(prompts.openRequests().empty());
    QCOMPARE(encodeKvt(*store), before);
}

void TestFileCommands::droppedFileInTheSystemsForm()
{
    // As the system's own dialogs give names, "\" on Windows, so that the
    // folder part and the messages read as they do after the Open dialog.
    const QString name = path("site.kvt");
    QCOMPARE(droppedFileName({QUrl::fromLocalFile(name)}), std::optional<QString>(QDir::toNativeSeparators(name)));
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
