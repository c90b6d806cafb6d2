// The program's start with a full store: the time from starting the process to
// the first paint of its window, with a file of 3557 impacts named on the
// command line (3557 one-impact series, the longest Table 1), and the peak
// memory of such a start as /usr/bin/time -v reports it.
//
// Each start is this program again as a child (--child FOLDER FILE): it starts
// the program as kvt10's main() does (ProgramStart: settings, window, device
// worker, shown, then the file opened), prints the monotonic clock at the end of
// the first paint and quits. Goals on this machine: at most 300 ms to the window
// shown, at most 80 MB.

#include "files/kvt_file.h"
#include "goal_reporter.h"
#include "mainwindow/program_start.h"
#include "store_fixture.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <vector>

namespace {

constexpr double StartGoalSeconds = 0.3;
constexpr double MemoryGoalMegabytes = 80;
constexpr int ChildTimeoutMs = 60000;

qint64 monotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// In the child: once the first paint pass is over, the time is printed and the
// program quits; the file must have been opened, or the start did not count.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(kvt::ProgramStart *&program) : m_program(program) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QMetaObject::invokeMethod(this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const qint64 shown = monotonicNanoseconds();
        const auto *count = m_program->window().findChild<QLabel *>(QStringLiteral("StatusPanel1"));
        const bool loaded = count && count->text() == QStringLiteral("Data Readed (%1)").arg(kvt::MaxImpacts);
        if (loaded)
            std::printf("shown_ns=%lld\n", static_cast<long long>(shown));
        QCoreApplication::exit(loaded ? 0 : 2);
    }

    kvt::ProgramStart *&m_program;
    bool m_painted = false;
};

int runChild(int argc, char **argv)
{
    QApplication application(argc, argv);
    kvt::ProgramStart *started = nullptr;
    FirstPaint firstPaint(started);
    application.installEventFilter(&firstPaint);
    kvt::ProgramStart program(QString::fromLocal8Bit(argv[2]), {QString::fromLocal8Bit(argv[3])});
    started = &program;
    return QApplication::exec();
}

// The folder the child takes as the program's (its settings name the language,
// so no question is asked) and the full file.
struct StartFixture {
    QTemporaryDir folder;
    QString file;
};
StartFixture *fixture = nullptr;
double peakMegabytes = 0;

bool makeFixture(StartFixture &made)
{
    if (!made.folder.isValid())
        return false;
    QFile settings(made.folder.filePath(QStringLiteral("KVT10.ini")));
    if (!settings.open(QIODevice::WriteOnly) || settings.write("[Config]\nLangId=Eng\n") < 0 || !settings.flush())
        return false;
    kvt::MeasurementStore store;
    kvt::testing::fillStoreWithSeries(store, std::vector<quint32>(kvt::MaxImpacts, 1));
    made.file = made.folder.filePath(QStringLiteral("full.kvt"));
    return kvt::saveKvtFile(made.file, store) == kvt::KvtSaveStatus::Saved;
}

// The child on the offscreen platform with no instrument to find; under
// /usr/bin/time -v when wrapped.
void startChild(QProcess &child, bool underTime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("KVT10_LIBUSB"), fixture->folder.filePath(QStringLiteral("no-libusb.so")));
    child.setProcessEnvironment(environment);
    QStringList arguments{QStringLiteral("--child"), fixture->folder.path(), fixture->file};
    if (underTime) {
        arguments.prepend(QCoreApplication::applicationFilePath());
        arguments.prepend(QStringLiteral("-v"));
        child.start(QStringLiteral("/usr/bin/time"), arguments);
    } else {
        child.start(QCoreApplication::applicationFilePath(), arguments);
    }
}

void BM_StartToWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        QProcess child;
        const qint64 started = monotonicNanoseconds();
        startChild(child, false);
        if (!child.waitForFinished(ChildTimeoutMs) || child.exitCode() != 0) {
            state.SkipWithError("the child did not show the window with the file opened");
            return;
        }
        const QByteArray output = child.readAllStandardOutput();
        const qint64 shown = output.mid(output.indexOf("shown_ns=") + 9).trimmed().toLongLong();
        state.SetIterationTime(double(shown - started) * 1e-9);
    }
}

// Peak resident memory of one start, in MB, from /usr/bin/time -v; 0 on failure.
double measurePeakMegabytes()
{
    QProcess child;
    startChild(child, true);
    if (!child.waitForFinished(ChildTimeoutMs) || child.exitCode() != 0)
        return 0;
    const QString report = QString::fromLocal8Bit(child.readAllStandardError());
    const auto match = QRegularExpression(QStringLiteral("Maximum resident set size \\(kbytes\\): (\\d+)")).match(report);
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : 0;
}

BENCHMARK(BM_StartToWindowShown)->UseManualTime()->Iterations(1)->Repetitions(11)->Unit(benchmark::kMillisecond);

class StartGoalReporter : public kvt::bench::GoalReporter {
protected:
    void reportGoals() override
    {
        using kvt::bench::format;
        if (const double start = seconds("BM_StartToWindowShown"); start > 0)
            goalLine(format("start to window shown, %u impacts opened: %.0f ms (goal <= %.0f ms)", kvt::MaxImpacts,
                            start * 1e3, StartGoalSeconds * 1e3),
                     start <= StartGoalSeconds);
        if (peakMegabytes > 0)
            goalLine(format("peak memory of that start (/usr/bin/time -v): %.1f MB (goal <= %.0f MB)", peakMegabytes,
                            MemoryGoalMegabytes),
                     peakMegabytes <= MemoryGoalMegabytes);
        else
            goalLine("peak memory: /usr/bin/time -v gave no figure", false);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--child")
        return runChild(argc, argv);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QCoreApplication application(argc, argv);
    StartFixture made;
    if (!makeFixture(made)) {
        std::cerr << "cannot write the settings or the full measurement file\n";
        return 1;
    }
    fixture = &made;
    peakMegabytes = measurePeakMegabytes();

    StartGoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
