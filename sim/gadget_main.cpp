// kvt10-gadget --udc CONTROLLER: the simulated instrument as a real USB device
// through Linux's gadget stack, for a host on the other side of the controller
// (with dummy_hcd, the same machine's own USB host). Makes the configfs gadget,
// mounts its FunctionFS function, binds it to the controller and serves until
// SIGTERM or SIGINT, which take it all down again. Needs root, configfs
// mounted and the libcomposite and usb_f_fs modules.

#include "gadget_configfs.h"
#include "gadget_server.h"
#include "sim_settings.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

constexpr char Usage[] =
    "usage: kvt10-gadget --udc CONTROLLER [--configfs DIR] [--mount DIR]\n"
    "Serves the simulated KVT-1.0 instrument as USB device 03EB:0120 on the\n"
    "controller named (a name in /sys/class/udc, e.g. dummy_udc.0). DIR: the\n"
    "configfs mount (/sys/kernel/config), the function's mount point\n"
    "(/dev/kvt10-ffs). See sim/README.md for the KVT10_SIM_* variables.\n";

} // namespace

int main(int argc, char **argv)
{
    std::string controller, configfs = "/sys/kernel/config", mountPoint = "/dev/kvt10-ffs";
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        }
        std::string *value = option == "--udc" ? &controller : option == "--configfs" ? &configfs
                           : option == "--mount"                                    ? &mountPoint
                                                                                    : nullptr;
        if (!value || i + 1 == argc) {
            std::fputs(Usage, stderr);
            return 2;
        }
        *value = argv[++i];
    }
    if (controller.empty()) {
        std::fputs(Usage, stderr);
        return 2;
    }

    kvt::sim::SimSettings settings;
    kvt::sim::InstrumentContent content = kvt::sim::contentFromEnvironment("kvt10-gadget", settings);

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    std::string whyNot;
    kvt::sim::GadgetConfig gadget(configfs + "/usb_gadget", "kvt10");
    const std::optional<int> replugAfterMs = settings.faults.replugAfterMs;
    kvt::sim::GadgetServer server(gadget, controller, mountPoint,
                                  kvt::sim::Instrument(std::move(content), settings.faults, settings.strictness), replugAfterMs);
    if (!gadget.create(&whyNot) || !server.start(&whyNot) || !server.run(stopRequested, &whyNot)) {
        std::fprintf(stderr, "kvt10-gadget: %s\n", whyNot.c_str());
        return 1;
    }
    return 0;
}
