// korval: the program. Options choose device paths for COM ports or start the simulated
// device on COM1 (--demo); --list-ports and --version answer and end, and so do the
// subcommands (korval read, info, records, report), which never start a window.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "AppFonts.h"
#include "CommandLine.h"
#include "CompactStyle.h"
#include "DeviceServer.h"
#include "LauncherOptions.h"
#include "MonitorApp.h"
#include "PortDiscovery.h"
#include "QtTranslations.h"
#include "ReportCommand.h"
#include "ReportGui.h"
#include "ReportPdf.h"
#include "SerialPort.h"
#include "Version.h"

namespace {

constexpr const char* kUsage =
    "usage: korval [--demo] [--com N=PATH]...\n"
    "       korval --list-ports | --version | --help\n"
    "       korval read|info|records ... (korval read --help)\n"
    "  --demo         run against the simulated device on COM1 (no hardware needed)\n"
    "  --com N=PATH   open PATH for COMn (N = 1..12); may be repeated.\n"
    "                 Without it COMn opens /dev/ttyS{n-1}.\n"
    "  --list-ports   print the serial ports present, one a line, each with its\n"
    "                 stable /dev/serial/by-id/ name where it has one\n"
    "  --version      print the version\n"
    "  --help         show this text\n";

// Prints the ports for --list-ports; none found is said on stderr, so stdout stays a list.
int listPorts() {
    const std::vector<DiscoveredPort> ports = discoverSerialPorts();
    if (ports.empty()) {
        std::fputs("korval: no serial ports found\n", stderr);
        return 0;
    }
    std::fputs(formatPortList(ports).c_str(), stdout);
    return 0;
}

// The answers that need no window: given before Qt starts, so they work without a display
// (over ssh, in scripts). Returns -1 when the program is to run its window.
int answerWithoutWindow(const LauncherOptions& options) {
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korval %s\n", kProgramVersion);
        return 0;
    }
    if (options.listPorts) {
        return listPorts();
    }
    return -1;
}

// Qt ends the process with an abort when it finds no display; say it plainly instead.
bool hasDisplay(const std::vector<std::string>& args) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
        return arg == "-platform" || arg == "--platform";
    });
}

// korval report draws its PDF with Qt Gui on the offscreen platform: no display needed.
bool writePdfWithoutWindow(const report::ReportContent& content, const std::string& path,
                           std::string& error) {
    const ReportGui gui;
    return writeReportPdf(content, path, chosenCjkFace(), error);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && isCliCommand(argv[1])) {
        setReportPdfWriter(writePdfWithoutWindow);
        return runCommandLine({argv + 1, argv + argc});
    }
    // Without Qt's own options (-platform ...) the arguments can be read before Qt starts.
    const LauncherParse early = parseLauncherOptions({argv + 1, argv + argc}, false, true);
    if (early.error.empty()) {
        if (const int status = answerWithoutWindow(early.options); status >= 0) {
            return status;
        }
    }
    if (!hasDisplay({argv + 1, argv + argc})) {
        if (!early.error.empty()) {
            std::fprintf(stderr, "korval: %s\n", early.error.c_str());
            return 2;
        }
        std::fputs("korval: no display to show the window on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    QApplication qapp(argc, argv);  // takes Qt's own options (-platform ...) out of argv
    std::vector<std::string> args(argv + 1, argv + argc);
    const LauncherParse parsed = parseLauncherOptions(args, false, true);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "korval: %s\n", parsed.error.c_str());
        return 2;
    }
    if (const int status = answerWithoutWindow(parsed.options); status >= 0) {
        return status;
    }
    installQtTranslation();
    substituteTemplateFaces();
    QApplication::setStyle(new CCompactStyle);
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
