#include "../device/inline_worker.h"

#include "device/device_worker.h"
#include "files/file_texts.h"
#include "namelists/name_list_editing.h"
#include "namelists/name_list_file.h"
#include "namelists/name_table.h"
#include "support/scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvt;
using namespace kvt::testing;

namespace {

class ListFields final : public NameFields {
public:
    QStringList names() const override { return list; }
    void setNames(const QStringList &names) override { list = names; }
    QStringList list = QStringList(NameCount);
};

QStringList numberedNames(const QString &prefix)
{
    QStringList names;
    for (int slot = 0; slot < NameCount; ++slot)
        names << prefix + QString::number(slot);
    return names;
}

} // namespace

// An editor's transfers against the simulated instrument, the worker running
// one pass whenever the editor lets the window process its events.
class TestNameListEditing : public QObject {
    Q_OBJECT
private slots:
    void init();

    void noInstrumentLeavesTheListEmpty();
    void fromDeviceFillsTheFields();
    void unansweredReadIsWithdrawn();
    void roundTripThroughTheInstrument_data();
    void roundTripThroughTheInstrument();
    void unansweredWriteIsWithdrawn();
    void closeQuestion_data();
    void closeQuestion();
    void fromFile_data();
    void fromFile();
    void toFileExtensions_data();
    void toFileExtensions();
    void toFileAsksBeforeReplacingTheCorrectedName();
    void fileButtonsWaitForTheWorker();
    void writeThatFailedIsNotTakenForDone();

private:
    NameListEditing &editor(const NameListKind &kind = materialsKind());
    void runWorkerUntilIdle();

    QTemporaryDir dir;
    LinkShared shared;
    RecordingDisplay display;
    InlineHost host;
    std::unique_ptr<DeviceWorker> worker;
    bool workerServes = true;
    FakeClock editorClock;
    ScriptedPrompts prompts;
    std::unique_ptr<SettingsFile> settings;
    NameListState state;
    ListFields fields;
    std::unique_ptr<NameListEditing> editing;
    std::function<void()> duringWait;
};

void TestNameListEditing::init()
{
    shared.linkState = StateStartup;
    shared.deviceDataRead = false;
    shared.materialNamesBuffer.fill(0);
    shared.objectNamesBuffer.fill(0);
    display = RecordingDisplay();
    qunsetenv("KVT10_PIPE_DEVICE");
    worker.reset();
    simulatorRunsOn(host.fakeClock);
    resetSimulator({}, "3");
    worker = std::make_unique<DeviceWorker>(shared, display, QStringLiteral(KVT10_SIM_LIBRARY));
    workerServes = true;
    editorClock = FakeClock();
    prompts = ScriptedPrompts();
    settings = std::make_unique<SettingsFile>(dir.filePath("KVT10.ini"));
    QFile::remove(settings->path());
    state = NameListState();
    fields = ListFields();
    editing.reset();
    duringWait = nullptr;
}

NameListEditing &TestNameListEditing::editor(const NameListKind &kind)
{
    NameListLink link{shared, editorClock, [this] {
                          if (workerServes)
                              worker->pass(host);
                          if (duringWait)
                              duringWait();
                      }};
    editing = std::make_unique<NameListEditing>(kind, state, fields, link, [this] {
        return FileCommandContext{prompts, *settings, dir.path(), Language::English};
    });
    editing->setNow([] { return QDateTime(QDate(2013, 11, 6), QTime(15, 30)); });
    return *editing;
}

void TestNameListEditing::runWorkerUntilIdle()
{
    for (int pass = 0; pass < 1000 && shared.linkState != StateIdle; ++pass)
        worker->pass(host);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
}

void TestNameListEditing::noInstrumentLeavesTheListEmpty()
{
    // The worker is still looking for the instrument: nothing is posted.
    shared.linkState = StateSearch;
    NameListEditing &materials = editor();
    materials.fillFields();
    materials.fromDevice();
    QCOMPARE(fields.list, QStringList(NameCount));
    QVERIFY(state.listEmpty);
    QVERIFY(editorClock.pauses().isEmpty());

    fields.list[1] = QStringLiteral("typed");
    materials.toDevice();
    materials.toFile();
    QCOMPARE(shared.linkState.load(), quint8(StateSearch));
    QCOMPARE(namesFromTable(shared.materialNamesBuffer), QStringList(NameCount));
    QVERIFY(prompts.saveRequests().empty());
}

void TestNameListEditing::fromDeviceFillsTheFields()
{
    runWorkerUntilIdle();
    state.listChanged = true;
    NameListEditing &objects = editor(objectsKind());
    objects.fromDevice();
    QCOMPARE(fields.list, defaultNames(objectsKind(), Language::Russian));
    QVERIFY(!state.listEmpty);
    QVERIFY(!state.listChanged);
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QCOMPARE(display.statuses.last(), "Param Readed");
}

void TestNameListEditing::unansweredReadIsWithdrawn()
{
    runWorkerUntilIdle();
    storeNames(shared.materialNamesBuffer, numberedNames("kept "));
    workerServes = false;
    state.listChanged = true;
    editor().fromDevice();
    QCOMPARE(editorClock.pauses(), QList<int>(20, 100));
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QCOMPARE(fields.list, numberedNames("kept "));
    QVERIFY(!state.listChanged);
}

void TestNameListEditing::roundTripThroughTheInstrument_data()
{
    QTest::addColumn<bool>("objects");
    QTest::newRow("materials") << false;
    QTest::newRow("objects") << true;
}

void TestNameListEditing::roundTripThroughTheInstrument()
{
    QFETCH(bool, objects);
    const NameListKind &kind = objects ? objectsKind() : materialsKind();
    runWorkerUntilIdle();

    NameListEditing &list = editor(kind);
    list.setDefaults();
    fields.list[5] = QStringLiteral("Участок у моста №12 северный"); // 28 characters
    list.toDevice();
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(!state.listChanged);
    QCOMPARE(display.statuses.last(), "Param Writed");

    // Read back into an empty table: the instrument kept what was written.
    (shared.*kind.table).fill(0);
    list.fromDevice();
    QStringList expected = defaultNames(kind, Language::English);
    expected[5] = QStringLiteral("Участок у моста №12");
    QCOMPARE(fields.list, expected);
}

void TestNameListEditing::unansweredWriteIsWithdrawn()
{
    runWorkerUntilIdle();
    workerServes = false;
    NameListEditing &materials = editor();
    materials.setDefaults();
    materials.toDevice();
    QCOMPARE(editorClock.pauses(), QList<int>(50, 100));
    QCOMPARE(shared.linkState.load(), quint8(StateIdle));
    QVERIFY(state.listChanged);
    // The table holds what was to be written.
    QCOMPARE(namesFromTable(shared.materialNamesBuffer), defaultNames(materialsKind(), Language::English));
}

void TestNameListEditing::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");

    QTest::newRow("No closes without a transfer") << int(PromptButton::No) << true << false;
    QTest::newRow("Cancel keeps the editor") << int(PromptButton::Cancel) << false << false;
    QTest::newRow("Yes writes, then closes") << int(PromptButton::Yes) << true << true;
}

void TestNameListEditing::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    runWorkerUntilIdle();

    NameListEditing &materials = editor();
    QVERIFY(materials.confirmClose()); // nothing changed: no question
    QVERIFY(prompts.messages().empty());

    materials.setDefaults();
    prompts.answerButton(PromptButton(answer));
    QCOMPARE(materials.confirmClose(), closes);
    QCOMPARE(prompts.messages().size(), size_t(1));
    const MessageRequest &question = prompts.messages().front();
    QCOMPARE(question.caption, "KVT-1.0");
    QCOMPARE(question.text, "Parameters was changed. Save parameters to device?");
    QCOMPARE(question.icon, PromptIcon::Warning);
    QCOMPARE(question.buttons, (QList<PromptButton>{PromptButton::Yes, PromptButton::No, PromptButton::Cancel}));
    QCOMPARE(question.defaultButton, PromptButton::No);
    QCOMPARE(display.statuses.contains("Param Writed"), written);
    QCOMPARE(state.listChanged, !written);
}

void TestNameListEditing::fromFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    QTest::newRow("six names") << QByteArray("[Materials Names]\nName00=a\nName01=b\nName02=c\nName03=d\nName04=e\nName05=f\n")
                               << true;
    QTest::newRow("an object list") << QByteArray("[Objects Names]\nName00=a\nName01=b\n") << false;
}

void TestNameListEditing::fromFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    const QString path = dir.filePath("list.mtkvt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    storeNames(shared.materialNamesBuffer, numberedNames("old "));

    NameListEditing &materials = editor();
    prompts.answerFileName(std::nullopt);
    materials.fromFile();
    prompts.answerFileName(path);
    materials.fromFile();

    QCOMPARE(prompts.openRequests().size(), size_t(2));
    const FileDialogRequest &request = prompts.openRequests().front();
    QCOMPARE(request.title, "Open file...");
    QCOMPARE(request.proposedName, dir.path() + "/File");
    QCOMPARE(request.filter, "Materials (*.mtkvt);;All files (*.*)");
    if (readable) {
        QVERIFY(prompts.messages().empty());
        QCOMPARE(fields.list, (QStringList{"a", "b", "c", "d", "e", "f", "", "", "", "", "", "", ""}));
        QCOMPARE(namesFromTable(shared.materialNamesBuffer), fields.list);
        QVERIFY(state.listChanged);
        QVERIFY(!state.listEmpty);
    } else {
        QCOMPARE(prompts.messages().size(), size_t(1));
        QCOMPARE(prompts.messages().front().text, "File is not readable or damaged: " + path);
        QCOMPARE(prompts.messages().front().icon, PromptIcon::Warning);
        QCOMPARE(namesFromTable(shared.materialNamesBuffer), numberedNames("old "));
        QVERIFY(!state.listChanged);
    }
}

void TestNameListEditing::toFileExtensions_data()
{
    QTest::addColumn<bool>("objects");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("proposedAgain"); // empty: no second dialog
    QTest::addColumn<QString>("written");

    QTest::newRow("the object extension comes back corrected") << false << "x.objkvt" << "x.mtkvt" << "x.mtkvt";
    QTest::newRow(".kvt comes back corrected") << false << "x.kvt" << "x.mtkvt" << "x.mtkvt";
    QTest::newRow("another extension gets it appended") << false << "x.txt" << "" << "x.txt.mtkvt";
    QTest::newRow("a trailing dot") << false << "x." << "" << "x.mtkvt";
    QTest::newRow("no extension") << false << "x" << "" << "x.mtkvt";
    QTest::newRow("its own extension") << false << "x.mtkvt" << "" << "x.mtkvt";
    QTest::newRow("upper case is another extension") << false << "x.MTKVT" << "" << "x.MTKVT.mtkvt";
    QTest::newRow("objects: the material extension") << true << "x.mtkvt" << "x.objkvt" << "x.objkvt";
}

void TestNameListEditing::toFileExtensions()
{
    QFETCH(bool, objects);
    QFETCH(QString, chosen);
    QFETCH(QString, proposedAgain);
    QFETCH(QString, written);
    const NameListKind &kind = objects ? objectsKind() : materialsKind();

    NameListEditing &list = editor(kind);
    list.setDefaults();
    prompts.answerFileName(dir.filePath(chosen));
    if (!proposedAgain.isEmpty())
        prompts.answerFileName(dir.filePath(proposedAgain));
    list.toFile();

    QCOMPARE(prompts.saveRequests().size(), size_t(proposedAgain.isEmpty() ? 1 : 2));
    const FileDialogRequest &first = prompts.saveRequests().front();
    QCOMPARE(first.title, "Save as...");
    QCOMPARE(first.proposedName, dir.path() + "/131106.1530" + kind.extension);
    QCOMPARE(first.filter, kind.filter);
    if (!proposedAgain.isEmpty())
        QCOMPARE(prompts.saveRequests().back().proposedName, dir.filePath(proposedAgain));
    QCOMPARE(readNameListFile(dir.filePath(written), kind.fileSection).value_or(QStringList()),
             defaultNames(kind, Language::English));
    QCOMPARE(namesFromTable(shared.*kind.table), defaultNames(kind, Language::English));
    if (written != chosen)
        QVERIFY(!QFile::exists(dir.filePath(chosen)));
    QFile::remove(dir.filePath(written));
}

void TestNameListEditing::toFileAsksBeforeReplacingTheCorrectedName()
{
    // "site" typed where site.mtkvt holds another list: the program asks
    // before it replaces that file, and No keeps it.
    QStringList kept = defaultNames(materialsKind(), Language::Russian);
    kept[3] = QStringLiteral("Щебень с объекта 7");
    QFile existing(dir.filePath("site.mtkvt"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write(nameListFileBytes({}, materialsKind().fileSection, kept));
    existing.close();

    NameListEditing &list = editor();
    list.setDefaults();
    prompts.answerFileName(dir.filePath("site"));
    prompts.answerButton(PromptButton::No);
    list.toFile();

    QCOMPARE(prompts.messages().size(), size_t(1));
    QCOMPARE(prompts.messages()[0].text, "File " + dir.filePath("site.mtkvt") + " already exists.\nReplace it?");
    QCOMPARE(prompts.saveRequests().size(), size_t(2));
    QCOMPARE(prompts.saveRequests()[1].proposedName, dir.filePath("site.mtkvt"));
    QCOMPARE(readNameListFile(dir.filePath("site.mtkvt"), materialsKind().fileSection).value_or(QStringList()), kept);
    QFile::remove(dir.filePath("site.mtkvt"));
}

void TestNameListEditing::fileButtonsWaitForTheWorker()
{
    // While a write is posted the table is the worker's: From file and To
    // file pressed meanwhile are refused.
    runWorkerUntilIdle();
    workerServes = false;
    NameListEditing &materials = editor();
    materials.setDefaults();
    int rounds = 0;
    duringWait = [&] {
        if (++rounds == 1) {
            materials.fromFile();
            materials.toFile();
            materials.fromDevice();
        }
    };
    materials.toDevice();
    QCOMPARE(rounds, 50);
    QVERIFY(prompts.openRequests().empty());
    QVERIFY(prompts.saveRequests().empty());
    QCOMPARE(editorClock.pauses().size(), 50);
}

void TestNameListEditing::writeThatFailedIsNotTakenForDone()
{
    // Before the measurements were first read, a failed exchange sends the
    // worker searching; it is idle again after a new read. That idle state is
    // not the instrument's confirmation.
    runWorkerUntilIdle();
    workerServes = false;
    NameListEditing &objects = editor(objectsKind());
    objects.setDefaults();
    int rounds = 0;
    duringWait = [&] {
        shared.linkState = ++rounds == 1 ? StateSearch : StateIdle;
    };
    objects.toDevice();
    QVERIFY(state.listChanged);
    QCOMPARE(rounds, 1);
}

QTEST_GUILESS_MAIN(TestNameListEditing)
#include "tst_name_list_editing.moc"
