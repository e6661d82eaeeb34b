// Command-line options of the launcher.
#include <gtest/gtest.h>

#include "LauncherOptions.h"
#include "SerialPort.h"

namespace {
LauncherParse parse(std::vector<std::string> args, bool files = false, bool demo = true) {
    return parseLauncherOptions(args, files, demo);
}
}  // namespace

TEST(LauncherOptions, ComAssignmentsAndDemo) {
    const auto r = parse({"--demo", "--com", "1=/dev/ttyUSB0", "--com=12=/dev/serial/by-id/x=y"});
    ASSERT_EQ(r.error, "");
    EXPECT_TRUE(r.options.demo);
    EXPECT_EQ(r.options.ports.at(1), "/dev/ttyUSB0");
    EXPECT_EQ(r.options.ports.at(12), "/dev/serial/by-id/x=y");  // only the first '=' splits

    applyPortPaths(r.options);
    EXPECT_EQ(portPath(1), "/dev/ttyUSB0");
    EXPECT_EQ(portPath(3), "/dev/ttyS2");
    clearPortPaths();
}

TEST(LauncherOptions, BadInputIsOneClearLine) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--com"},
                                               {"--com", "0=/dev/x"},
                                               {"--com", "13=/dev/x"},
                                               {"--com", "x=/dev/x"},
                                               {"--com", "1x=/dev/x"},
                                               {"--com", "1="},
                                               {"--com", "/dev/x"},
                                               {"stray"}}) {
        const auto r = parse(args);
        EXPECT_FALSE(r.error.empty()) << args.back();
        EXPECT_EQ(r.error.find('\n'), std::string::npos);
    }
}

TEST(LauncherOptions, FilesAndDemoDependOnTheProgram) {
    const auto scenario = parse({"a.scn", "--com", "2=/dev/pts/3", "b.scn"}, true, false);
    ASSERT_EQ(scenario.error, "");
    EXPECT_EQ(scenario.options.files, (std::vector<std::string>{"a.scn", "b.scn"}));
    EXPECT_FALSE(parse({"--demo"}, true, false).error.empty());
    EXPECT_TRUE(parse({"--help"}).options.help);
    // korval answers these and ends; korval-scenario has no such options.
    const auto korval = parse({"--list-ports", "--version"});
    EXPECT_TRUE(korval.options.listPorts);
    EXPECT_TRUE(korval.options.version);
    EXPECT_FALSE(parse({"--list-ports"}, true, false).error.empty());
    EXPECT_FALSE(parse({"--version"}, true, false).error.empty());
}
