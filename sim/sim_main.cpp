// kvt10-sim --pipes DIR: the simulated instrument behind DIR/Pipe00 and
// DIR/Pipe01 for the program's driver-pipe backend (KVT10_PIPE_DEVICE=DIR),
// until SIGTERM or SIGINT, which remove the FIFOs again.
// kvt10-sim --save FILE.kvt: the instrument's impacts as a measurement file,
// for trying the program's file side on the same data.

#include "files/kvt_file.h"
#include "pipe_server.h"
#include "sim_settings.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

void catchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a blocked poll or write must return
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

constexpr char Usage[] =
    "usage: kvt10-sim --pipes DIR\n"
    "       kvt10-sim --save FILE.kvt\n"
    "Serves the simulated KVT-1.0 instrument on the FIFOs DIR/Pipe00 (commands)\n"
    "and DIR/Pipe01 (replies), or saves its impacts as a measurement file.\n"
    "See sim/README.md for the KVT10_SIM_* variables.\n";

int save(const kvt::sim::InstrumentContent &content, const char *path)
{
    auto store = std::make_unique<kvt::MeasurementStore>();
    std::copy(content.directory.begin(), content.directory.end(), store->directory());
    std::copy(content.records.begin(), content.records.end(), store->records());
    store->setImpactCount(quint32(content.records.size()));
    store->rebuildSeriesIndex();
    if (kvt::saveKvtFile(QString::fromLocal8Bit(path), *store) != kvt::KvtSaveStatus::Saved) {
        std::fprintf(stderr, "kvt10-sim: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    const bool pipes = argc == 3 && std::strcmp(argv[1], "--pipes") == 0;
    const bool saving = argc == 3 && std::strcmp(argv[1], "--save") == 0;
    if (!(pipes || saving) || argv[2][0] == '\0') {
        std::fputs(Usage, stderr);
        return 2;
    }

    kvt::sim::SimSettings settings;
    kvt::sim::InstrumentContent content = kvt::sim::contentFromEnvironment("kvt10-sim", settings);
    if (saving)
        return save(content, argv[2]);

    std::error_code ignored;
    std::filesystem::create_directories(argv[2], ignored); // a missing folder shows as mkfifo's error
    catchStopSignals();
    kvt::sim::PipeServer server(argv[2], kvt::sim::Instrument(std::move(content), settings.faults, settings.strictness),
                                settings.faults.replugAfterMs, settings.fullSpeed);
    std::string whyNot;
    if (!server.start(&whyNot)) {
        std::fprintf(stderr, "kvt10-sim: %s\n", whyNot.c_str());
        return 1;
    }
    std::printf("kvt10-sim: serving %s and %s\n", server.commandPipe().c_str(), server.replyPipe().c_str());
    std::fflush(stdout);
    if (!server.run(stopRequested, &whyNot)) {
        std::fprintf(stderr, "kvt10-sim: %s\n", whyNot.c_str());
        return 1;
    }
    return 0;
}
