// korval-scenario: runs scenario files against the program's main window on the offscreen
// platform and reports one line a file.
#include <QApplication>
#include <cstdio>

#include "LauncherOptions.h"
#include "ScenarioRunner.h"

namespace {

constexpr const char* kUsage =
    "usage: korval-scenario [--com N=PATH]... FILE...\n"
    "  Runs each scenario FILE against a fresh main window and prints PASS FILE or\n"
    "  FAIL FILE:LINE: EXPECTATION — found WHAT, then the counts. Each file gets its own\n"
    "  simulated device on COM1. The format is described in scenario/ScenarioParser.h.\n"
    "  --com N=PATH   open PATH for COMn (N = 1..12) instead; with COM1 given, steps\n"
    "                 that need the built-in device fail. May be repeated.\n"
    "  --help         show this text\n"
    "  Exit status: 0 all passed, 1 some failed, 2 bad usage.\n";

}  // namespace

int main(int argc, char** argv) {
    // No display is needed unless the caller asks for a platform.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication qapp(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const LauncherParse parsed = parseLauncherOptions(args, true, false);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "korval-scenario: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parsed.options.files.empty()) {
        std::fprintf(stderr, "korval-scenario: no scenario file given (try --help)\n");
        return 2;
    }
    int passed = 0;
    int failed = 0;
    for (const std::string& file : parsed.options.files) {
        const FileResult result = runScenarioFile(file, parsed.options.ports);
        (result.passed ? passed : failed) += 1;
        std::printf("%s\n", reportLine(file, result).c_str());
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed > 0 ? 1 : 0;
}
