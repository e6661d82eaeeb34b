// korval: the program. Options choose device paths for COM ports or start the simulated
// device on COM1 (--demo).
#include <QApplication>
#include <cstdio>
#include <memory>

#include "DeviceServer.h"
#include "LauncherOptions.h"
#include "MonitorApp.h"
#include "SerialPort.h"

namespace {

constexpr const char* kUsage =
    "usage: korval [--demo] [--com N=PATH]...\n"
    "  --demo         run against the simulated device on COM1 (no hardware needed)\n"
    "  --com N=PATH   open PATH for COMn (N = 1..12); may be repeated.\n"
    "                 Without it COMn opens /dev/ttyS{n-1}.\n"
    "  --help         show this text\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);  // takes Qt's own options (-platform ...) out of argv
    std::vector<std::string> args(argv + 1, argv + argc);
    const LauncherParse parsed = parseLauncherOptions(args, false, true);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "korval: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    applyPortPaths(parsed.options);

    std::unique_ptr<DeviceServer> device;
    if (parsed.options.demo) {
        device = std::make_unique<DeviceServer>();
        if (!device->start()) {
            std::fprintf(stderr, "korval: cannot start the simulated device\n");
            return 1;
        }
        setPortPath(1, device->path());
        std::printf("korval: simulated device on COM1 (%s)\n", device->path().c_str());
        std::fflush(stdout);
    }
    CMonitorApp app;
    app.initInstance();
    return 0;
}
