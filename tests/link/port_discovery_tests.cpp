// Port discovery over a made-up /dev and /sys in a temporary folder: which names count as
// ports, which UARTs are real, how by-id links are matched, and the listing's order.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "PortDiscovery.h"

namespace {

namespace fs = std::filesystem;

class FakeMachine : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "korval-ports-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        roots = {(root / "dev").string(), (root / "sys").string()};
        fs::create_directories(root / "dev" / "serial" / "by-id");
        fs::create_directories(root / "sys" / "class" / "tty");
    }
    void TearDown() override { fs::remove_all(root); }

    // A device node stands in as an empty file: the code only needs the name to be there.
    void node(const std::string& name) { std::ofstream(root / "dev" / name).put('\0'); }
    void uartType(const std::string& name, const std::string& type) {
        fs::create_directories(root / "sys" / "class" / "tty" / name);
        std::ofstream(root / "sys" / "class" / "tty" / name / "type") << type;
    }
    void byId(const std::string& link, const std::string& target) {
        fs::create_symlink(target, root / "dev" / "serial" / "by-id" / link);
    }
    std::string dev(const std::string& name) const { return (root / "dev" / name).string(); }

    fs::path root;
    DiscoveryRoots roots;
};

}  // namespace

TEST_F(FakeMachine, AdaptersThenRealUartsEachInNumericOrder) {
    for (const char* name : {"ttyUSB10", "ttyS1", "ttyUSB2", "ttyACM0", "ttyS0", "ttyUSB0"}) {
        node(name);
    }
    uartType("ttyS0", "4\n");  // a 16550A
    uartType("ttyS1", "4\n");
    const auto ports = discoverSerialPorts(roots);
    ASSERT_EQ(ports.size(), 6u);
    const char* expected[] = {"ttyUSB0", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS1"};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].path, dev(expected[i]));
        EXPECT_EQ(ports[i].byId, "");
    }
}

TEST_F(FakeMachine, OnlyUartsWithAKnownTypeAreListed) {
    for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyS4"}) {
        node(name);
    }
    uartType("ttyS0", "0\n");  // the driver's placeholder: nothing answered
    uartType("ttyS1", "4\n");
    uartType("ttyS2", "");  // unreadable as a number
    uartType("ttyS3", "unknown");
    // ttyS4 has no sysfs entry at all (sysfs not mounted, as in some containers)
    const auto ports = discoverSerialPorts(roots);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].path, dev("ttyS1"));
}

TEST_F(FakeMachine, OtherNamesAndFoldersAreNotPorts) {
    for (const char* name : {"ttyUSB", "ttyUSBx", "ttyUSB1a", "ttyS-1", "ttyprintk", "tty0",
                             "console", "ttyAMA0", "ttySUSB1"}) {
        node(name);
    }
    fs::create_directories(root / "dev" / "ttyUSB7");
    EXPECT_TRUE(discoverSerialPorts(roots).empty());
}

TEST_F(FakeMachine, ByIdLinksAreMatchedByTheirTargetsName) {
    node("ttyUSB0");
    node("ttyUSB1");
    node("ttyACM0");
    byId("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "../../ttyUSB0");
    byId("usb-ZZ_second_name_for_USB0", "../../ttyUSB0");
    byId("usb-Arduino_Uno_1234-if00", dev("ttyACM0"));  // an absolute target works too
    byId("usb-gone-if00-port0", "../../ttyUSB9");       // a stale link names no port
    std::ofstream(root / "dev" / "serial" / "by-id" / "not-a-link") << "x";
    const auto ports = discoverSerialPorts(roots);
    ASSERT_EQ(ports.size(), 3u);
    const std::string byIdDir = (root / "dev" / "serial" / "by-id").string() + "/";
    EXPECT_EQ(ports[0].byId, byIdDir + "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    EXPECT_EQ(ports[1].byId, "");
    EXPECT_EQ(ports[2].byId, byIdDir + "usb-Arduino_Uno_1234-if00");

    EXPECT_EQ(formatPortList(ports), dev("ttyUSB0") + "\t" + ports[0].byId + "\n" + dev("ttyUSB1") +
                                         "\n" + dev("ttyACM0") + "\t" + ports[2].byId + "\n");
}

TEST_F(FakeMachine, MissingFoldersMeanNoPorts) {
    EXPECT_TRUE(discoverSerialPorts({(root / "none").string(), (root / "none").string()}).empty());
    node("ttyUSB3");
    fs::remove_all(root / "dev" / "serial");
    fs::remove_all(root / "sys");
    const auto ports = discoverSerialPorts(roots);
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].byId, "");
    EXPECT_EQ(formatPortList({}), "");
}
