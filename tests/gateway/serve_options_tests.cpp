// korval serve's command line: devices with their defaults, and every refusal in one line.
#include <gtest/gtest.h>

#include "ServeOptions.h"

namespace {

TEST(ServeOptionsTest, WithoutDevicesTheOneOfTheLinkOptionsIsServed) {
    const auto parsed = parseServeOptions({"--com", "2=/dev/ttyUSB0", "--address", "5"});
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.options.devices.size(), 1u);
    const ServedDevice& d = parsed.options.devices[0];
    EXPECT_EQ(d.port, 2);
    EXPECT_EQ(d.address, 5);
    EXPECT_EQ(d.baudRate, 9600);
    EXPECT_EQ(d.site, "site");
    EXPECT_EQ(d.string, "com2-5");
    EXPECT_EQ(parsed.options.intervalSeconds, 10);
    EXPECT_EQ(parsed.options.listen, "127.0.0.1:9105");
    EXPECT_FALSE(parsed.options.mqtt);
}

TEST(ServeOptionsTest, DevicesOnSeveralPortsAndOneBusWithTheirNames) {
    const auto parsed = parseServeOptions({"--com",
                                           "1=/dev/a",
                                           "--com",
                                           "3=/dev/b",
                                           "--baud",
                                           "19200",
                                           "--device",
                                           "com=1,address=3,site=north,string=A-1",
                                           "--device",
                                           "address=4,baud=2400",
                                           "--device",
                                           "com=3,site=south_2",
                                           "--interval",
                                           "30",
                                           "--listen",
                                           ":9200",
                                           "--mqtt",
                                           "broker.local:1884",
                                           "--mqtt-prefix",
                                           "plant/korval",
                                           "--discovery-prefix",
                                           "ha"});
    ASSERT_EQ(parsed.error, "");
    const auto& o = parsed.options;
    ASSERT_EQ(o.devices.size(), 3u);
    EXPECT_EQ(o.devices[0].string, "A-1");
    EXPECT_EQ(o.devices[0].baudRate, 19200);
    EXPECT_EQ(o.devices[1].port, 1);  // the lowest --com
    EXPECT_EQ(o.devices[1].baudRate, 2400);
    EXPECT_EQ(o.devices[2].port, 3);
    EXPECT_EQ(o.devices[2].address, 1);
    EXPECT_EQ(o.devices[2].string, "com3-1");
    EXPECT_EQ(o.intervalSeconds, 30);
    EXPECT_EQ(o.listen, ":9200");
    ASSERT_TRUE(o.mqtt);
    EXPECT_EQ(o.mqtt->host, "broker.local");
    EXPECT_EQ(o.mqtt->port, 1884);
    EXPECT_EQ(o.mqttPrefix, "plant/korval");
    EXPECT_EQ(o.discoveryPrefix, "ha");
    EXPECT_EQ(parseServeOptions({"--mqtt", "localhost"}).options.mqtt->port, 1883);
    EXPECT_EQ(parseServeOptions({"--listen", "none"}).options.listen, "");
    EXPECT_TRUE(parseServeOptions({"--help"}).options.help);
}

TEST(ServeOptionsTest, BadValuesAreRefusedNamingWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--interval", "0"}, "--interval"},
        {{"--interval", "10s"}, "--interval"},
        {{"--limits-every", "-1"}, "--limits-every"},
        {{"--baud", "115200"}, "--baud"},
        {{"--address", "248"}, "--address"},
        {{"--com", "13=/dev/x"}, "--com"},
        {{"--device", "com=0"}, "com="},
        {{"--device", "address=1,site=a b"}, "site="},
        {{"--device", "string=a/b"}, "string="},
        {{"--device", "string=a+#"}, "string="},
        {{"--device", "colour=red"}, "colour"},
        {{"--device", "address"}, "address"},
        {{"--device", "address=2", "--device", "address=2,string=x"}, "两次"},
        {{"--device", "address=2,string=x", "--device", "address=3,string=x"}, "两次"},
        {{"--device", "address=2,site=a_b,string=c", "--device", "address=3,site=a,string=b_c"},
         "Home Assistant"},
        {{"--device", "address=2", "--address", "3"}, "--address"},
        {{"--listen", "9105"}, "--listen"},
        {{"--listen", "127.0.0.1:70000"}, "--listen"},
        {{"--mqtt", ":1883"}, "--mqtt"},
        {{"--mqtt", "host:0"}, "--mqtt"},
        {{"--mqtt-prefix", "a/#"}, "--mqtt-prefix"},
        {{"--mqtt-prefix", "/a"}, "--mqtt-prefix"},
        {{"--discovery-prefix", ""}, "--discovery-prefix"},
        {{"--interval"}, "--interval"},
        {{"--verbose", "1"}, "--verbose"},
        {{"extra"}, "extra"},
    };
    for (const auto& [args, named] : cases) {
        const auto parsed = parseServeOptions(args);
        EXPECT_NE(parsed.error.find(named), std::string::npos)
            << args.front() << ": '" << parsed.error << "'";
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

}  // namespace
