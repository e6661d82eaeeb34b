// korval-device's command line: accepted forms, and every refusal naming what is wrong.
#include <gtest/gtest.h>

#include <vector>

#include "DeviceCommandLine.h"

namespace {

DeviceCommandLineResult parse(std::vector<std::string_view> args) {
    return parseDeviceCommandLine(args);
}

TEST(DeviceCommandLineTest, DefaultsAndEveryOptionTogether) {
    const auto none = parse({});
    EXPECT_TRUE(none.error.empty());
    EXPECT_EQ(none.options.address, 1);
    EXPECT_EQ(none.options.paceBaud, 0);
    EXPECT_LT(none.options.records, 0);
    EXPECT_EQ(none.options.probeDelayMs, 3000);
    EXPECT_TRUE(none.options.linkPath.empty());
    EXPECT_FALSE(none.options.help);

    const auto all = parse({"--address", "247", "--pace", "19200", "--records", "0",
                            "--probe-delay", "0", "--link", "/tmp/dev", "--help"});
    EXPECT_TRUE(all.error.empty()) << all.error;
    EXPECT_EQ(all.options.address, 247);
    EXPECT_EQ(all.options.paceBaud, 19200);
    EXPECT_EQ(all.options.records, 0);
    EXPECT_EQ(all.options.probeDelayMs, 0);
    EXPECT_EQ(all.options.linkPath, "/tmp/dev");
    EXPECT_TRUE(all.options.help);
    EXPECT_EQ(parse({"--probe-delay", "600000"}).options.probeDelayMs, 600000);
    EXPECT_EQ(none.options.faultRatePercent, 0);
    const auto faults = parse({"--fault-rate", "100", "--fault-seed", "2147483647"});
    EXPECT_TRUE(faults.error.empty()) << faults.error;
    EXPECT_EQ(faults.options.faultRatePercent, 100);
    EXPECT_EQ(faults.options.faultSeed, 2147483647);
    EXPECT_EQ(none.options.weakCell, 0);
    EXPECT_EQ(parse({"--weak-cell", "40"}).options.weakCell, 40);
    EXPECT_FALSE(parse({"--weak-cell", "41"}).error.empty());
}

TEST(DeviceCommandLineTest, ABusOfAddressesAndTheirSilences) {
    const auto bus =
        parse({"--bus", "2,3,247", "--silence-after", "3:20", "--silence-after", "2:0"});
    ASSERT_TRUE(bus.error.empty()) << bus.error;
    EXPECT_EQ(bus.options.busAddresses, (std::vector<int>{2, 3, 247}));
    ASSERT_EQ(bus.options.silences.size(), 2u);
    EXPECT_EQ(bus.options.silences[0].address, 3);
    EXPECT_EQ(bus.options.silences[0].afterSeconds, 20);
    EXPECT_EQ(bus.options.silences[1].address, 2);
    EXPECT_EQ(bus.options.silences[1].afterSeconds, 0);
}

TEST(DeviceCommandLineTest, BadValuesAndUnknownOptionsAreRefusedWithTheirName) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{"--address", "0"}, "--address"},
        {{"--address", "248"}, "--address"},
        {{"--address", "1x"}, "--address"},
        {{"--address", " 5"}, "--address"},
        {{"--address", "-3"}, "--address"},
        {{"--address", "99999999999"}, "--address"},
        {{"--pace", "0"}, "--pace"},
        {{"--pace", ""}, "--pace"},
        {{"--records", "-1"}, "--records"},
        {{"--records", "70000"}, "--records"},
        {{"--link", ""}, "--link"},
        {{"--address"}, "--address"},
        {{"--probe-delay", "-1"}, "--probe-delay"},
        {{"--probe-delay", "600001"}, "--probe-delay"},
        {{"--probe-delay", "3s"}, "--probe-delay"},
        {{"--probe-delay"}, "--probe-delay"},
        {{"--fault-rate", "101"}, "--fault-rate"},
        {{"--fault-rate", "-1"}, "--fault-rate"},
        {{"--fault-rate", "5%"}, "--fault-rate"},
        {{"--fault-seed", "2147483648"}, "--fault-seed"},
        {{"--verbose"}, "--verbose"},
        {{"extra"}, "extra"},
        {{"--link", "/tmp/x", "-x"}, "-x"},
        {{"--bus", ""}, "--bus"},
        {{"--bus", "2,,3"}, "--bus"},
        {{"--bus", "2,248"}, "--bus"},
        {{"--bus", "2,"}, "--bus"},
        {{"--silence-after", "2"}, "--silence-after"},
        {{"--silence-after", "2:"}, "--silence-after"},
        {{"--silence-after", "0:5"}, "--silence-after"},
        {{"--silence-after", "2:-1"}, "--silence-after"},
    };
    for (const auto& [args, named] : cases) {
        const auto result = parse(args);
        EXPECT_NE(result.error.find(named), std::string::npos)
            << "args starting " << args.front() << ": '" << result.error << "'";
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << "one line";
    }
}

}  // namespace
