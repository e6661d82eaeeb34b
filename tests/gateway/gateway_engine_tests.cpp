// korval serve's engine against the real engines on localhost: three simulated devices on
// one bus polled through the real serial layer, the endpoint scraped over HTTP and checked
// by promtool, a mosquitto broker with a subscriber, and a Prometheus server scraping it.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "DeviceServer.h"
#include "EngineSupport.h"
#include "Gateway.h"
#include "MetricsExporter.h"
#include "MqttPublisher.h"
#include "MqttSubscriber.h"

namespace {

using namespace engine;

const std::string kCellOfS2 = "korval_cell_voltage_volts{cell=\"7\",site=\"a\",string=\"s2\"}";

std::string series(const char* name, const std::string& string) {
    return std::string(name) + "{site=\"a\",string=\"" + string + "\"}";
}

// A mosquitto broker of the test's own on 127.0.0.1:port.
class Broker {
  public:
    Broker(int port, const std::filesystem::path& dir) : m_port(port), m_dir(dir) {}
    bool start() {
        const auto conf = m_dir / "mosquitto.conf";
        writeFile(conf, "listener " + std::to_string(m_port) +
                            " 127.0.0.1\nallow_anonymous true\npersistence false\n");
        m_process.start({findProgram("mosquitto"), "-c", conf.string()},
                        (m_dir / "mosquitto.log").string());
        return eventually([this] { return accepts(); });
    }
    void stop() { m_process.stop(); }
    bool accepts() const {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(m_port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
        close(fd);
        return ok;
    }

  private:
    int m_port;
    std::filesystem::path m_dir;
    Process m_process;
};

DeviceServer::Options bus() {
    DeviceServer::Options o;
    o.busAddresses = {2, 3};
    return o;
}

class GatewayBusTest : public ::testing::Test {
  protected:
    GatewayBusTest() : m_bus(bus()) {}

    void SetUp() override {
        ASSERT_TRUE(m_bus.start());
        m_options.ports = {{1, m_bus.path()}};
        m_options.intervalSeconds = 1;
        m_options.listen = "127.0.0.1:0";
        for (int address = 1; address <= 3; ++address) {
            m_options.devices.push_back({1, address, 9600, "a", "s" + std::to_string(address)});
        }
    }

    std::string scrape() const {
        return httpGet(m_gateway->metricsPort(), "/metrics").value_or("");
    }
    double value(const std::string& s) const { return sampleValue(scrape(), s).value_or(-1); }
    bool allUp() const {
        const std::string text = scrape();
        for (const char* s : {"s1", "s2", "s3"}) {
            if (sampleValue(text, series("korval_up", s)) != 1.0) {
                return false;
            }
        }
        return true;
    }
    // The polls of `string` go on: its counter grows by `more`.
    bool keepsPolling(const std::string& string, int more = 2) const {
        const double before = value(series("korval_polls_total", string));
        return eventually(
            [&] { return value(series("korval_polls_total", string)) >= before + more; });
    }

    void startGateway() {
        m_gateway = std::make_unique<Gateway>(m_options, m_log);
        ASSERT_EQ(m_gateway->start(), "");
        ASSERT_NE(m_gateway->metricsPort(), 0);
    }

    DeviceServer m_bus;
    ServeOptions m_options;
    std::ostringstream m_log;
    std::unique_ptr<Gateway> m_gateway;
};

TEST_F(GatewayBusTest, TheScrapeCarriesEveryDeviceAndPassesPromtool) {
    startGateway();
    ASSERT_TRUE(eventually([this] { return allUp(); })) << scrape();
    const std::string text = scrape();
    for (const char* s : {"s1", "s2", "s3"}) {
        const std::string cell40 = "{cell=\"40\",site=\"a\",string=\"" + std::string(s) + "\"}";
        EXPECT_TRUE(sampleValue(text, "korval_cell_voltage_volts" + cell40)) << s;
        // in ohms, as korval read gives them: a few milliohms
        EXPECT_LT(sampleValue(text, "korval_cell_resistance_ohms" + cell40).value_or(1), 0.1) << s;
        EXPECT_TRUE(sampleValue(text, "korval_cell_temperature_celsius" + cell40)) << s;
        EXPECT_TRUE(sampleValue(text, series("korval_bank_current_amperes", s))) << s;
        EXPECT_GE(sampleValue(text, series("korval_bank_verdict", s)).value_or(-1), 0) << s;
        EXPECT_EQ(sampleValue(text, series("korval_bank_limits_known", s)), 1.0) << s;
        EXPECT_GT(sampleValue(text, series("korval_last_success_timestamp_seconds", s)).value_or(0),
                  1.6e9);
    }
    if (findProgram("promtool").empty()) {
        GTEST_SKIP() << "promtool is not installed (Debian package prometheus)";
    }
    const auto dir = scratchDir("promtool");
    writeFile(dir / "metrics.txt", text);
    std::string output;
    EXPECT_EQ(shell("promtool check metrics < " + (dir / "metrics.txt").string(), output), 0)
        << output;
    std::filesystem::remove_all(dir);
}

TEST(MetricsEndpoint, AnEmptyHostListensOnEveryAddress) {
    MetricsExporter exporter({ServedDevice{1, 1, 9600, "a", "s1"}});
    const int port = freePort();
    ASSERT_EQ(exporter.listen(":" + std::to_string(port)), "");
    const auto text = httpGet(port, "/metrics");
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find("korval_up{site=\"a\",string=\"s1\"}"), std::string::npos) << *text;
}

TEST_F(GatewayBusTest, ASilencedDeviceGoesDownAndStaleWhileTheOthersKeepComing) {
    if (findProgram("mosquitto").empty()) {
        GTEST_SKIP() << "mosquitto is not installed (Debian package mosquitto)";
    }
    const auto dir = scratchDir("silenced");
    const int port = freePort();
    Broker broker(port, dir);
    ASSERT_TRUE(broker.start());
    MqttSubscriber mqtt(port);
    m_options.mqtt = BrokerAddress{"127.0.0.1", port};
    startGateway();
    // The discovery configs go out beside the first states, not before them: wait for all.
    ASSERT_TRUE(eventually([&] {
        return allUp() && mqtt.count("korval/a/s2/state") > 0 &&
               mqtt.last("korval/a/s2/availability") == "online" &&
               mqtt.topicsUnder("homeassistant/sensor/korval_a_s2/") >= 122;
    })) << m_log.str();
    EXPECT_EQ(mqtt.last("korval/status"), "online");
    EXPECT_EQ(mqtt.topicsUnder("homeassistant/sensor/korval_a_s2/"), 122);
    EXPECT_NE(mqtt.last("homeassistant/sensor/korval_a_s2/cell7_voltage/config")
                  .find("\"state_topic\":\"korval/a/s2/state\""),
              std::string::npos);
    EXPECT_TRUE(sampleValue(scrape(), kCellOfS2));

    m_bus.silence(2);
    ASSERT_TRUE(eventually([this] { return value(series("korval_up", "s2")) == 0; }));
    const std::string down = scrape();
    EXPECT_FALSE(sampleValue(down, kCellOfS2)) << "a silent device's cells are not frozen";
    EXPECT_EQ(down.find("string=\"s2\"}", down.find("korval_cell_")), std::string::npos);
    EXPECT_FALSE(sampleValue(down, series("korval_bank_verdict", "s2")));
    EXPECT_TRUE(sampleValue(down, series("korval_last_success_timestamp_seconds", "s2")));
    EXPECT_TRUE(eventually([&] { return mqtt.last("korval/a/s2/availability") == "offline"; }));
    EXPECT_TRUE(keepsPolling("s1"));
    EXPECT_TRUE(keepsPolling("s3"));
    EXPECT_EQ(value(series("korval_up", "s1")), 1);
    const int s1States = mqtt.count("korval/a/s1/state");
    EXPECT_TRUE(eventually([&] { return mqtt.count("korval/a/s1/state") > s1States + 1; }));
    EXPECT_EQ(mqtt.last("korval/a/s1/availability"), "online");
    EXPECT_NE(m_log.str().find("a/s2（COM1，地址 2）没有应答"), std::string::npos) << m_log.str();

    m_bus.silence(2, false);
    EXPECT_TRUE(eventually([this] { return sampleValue(scrape(), kCellOfS2).has_value(); }));
    EXPECT_EQ(value(series("korval_up", "s2")), 1);
    EXPECT_TRUE(eventually([&] { return mqtt.last("korval/a/s2/availability") == "online"; }));

    m_gateway->stop();
    EXPECT_TRUE(eventually([&] { return mqtt.last("korval/status") == "offline"; }));
    std::filesystem::remove_all(dir);
}

TEST_F(GatewayBusTest, AnAbsentOrStoppingBrokerNeverHoldsUpTheScrape) {
    if (findProgram("mosquitto").empty()) {
        GTEST_SKIP() << "mosquitto is not installed (Debian package mosquitto)";
    }
    const auto dir = scratchDir("broker");
    const int port = freePort();
    m_options.mqtt = BrokerAddress{"127.0.0.1", port};  // nobody listens there yet
    startGateway();
    ASSERT_TRUE(eventually([this] { return allUp(); }));
    EXPECT_TRUE(keepsPolling("s1", 3));

    Broker broker(port, dir);
    ASSERT_TRUE(broker.start());
    ASSERT_TRUE(eventually([this] { return m_gateway->mqtt()->connected(); })) << m_log.str();
    broker.stop();
    EXPECT_TRUE(keepsPolling("s1", 3));
    EXPECT_TRUE(keepsPolling("s3", 2));
    EXPECT_TRUE(eventually([this] { return !m_gateway->mqtt()->connected(); }));

    ASSERT_TRUE(broker.start());  // and back: the client reconnects by itself
    MqttSubscriber mqtt(port);
    EXPECT_TRUE(eventually([&] { return mqtt.count("korval/a/s1/state") > 0; })) << m_log.str();
    std::filesystem::remove_all(dir);
}

TEST_F(GatewayBusTest, APortThatDoesNotOpenIsToldOnceAndTriedAgainEveryRound) {
    const auto dir = scratchDir("missing-port");
    const auto link = dir / "ttyRS485";
    m_options.ports = {{2, link.string()}};
    m_options.devices = {{2, 3, 9600, "a", "s3"}};
    startGateway();
    ASSERT_TRUE(keepsPolling("s3", 2));
    EXPECT_EQ(value(series("korval_up", "s3")), 0);
    EXPECT_EQ(value(series("korval_poll_failures_total", "s3")),
              value(series("korval_polls_total", "s3")));
    const std::string told = m_log.str();
    const std::string missing = "没有发现此串口或此串口被占用：COM2（" + link.string() + "）";
    EXPECT_NE(told.find(missing), std::string::npos) << told;
    EXPECT_EQ(told.find(missing), told.rfind(missing)) << "told once, not every round";

    std::filesystem::create_symlink(m_bus.path(), link);  // the adapter is plugged in
    EXPECT_TRUE(eventually([this] { return value(series("korval_up", "s3")) == 1; }));
    EXPECT_TRUE(
        sampleValue(scrape(), "korval_cell_voltage_volts{cell=\"1\",site=\"a\",string=\"s3\"}"));
    EXPECT_NE(m_log.str().find("COM2（" + link.string() + "） 已能打开"), std::string::npos);
    m_gateway->stop();
    std::filesystem::remove_all(dir);
}

// The korval program itself: a bad option refused in Chinese, a run stopped by SIGTERM.
TEST_F(GatewayBusTest, KorvalServeRunsUntilSigtermAndRefusesABadCommandLine) {
    const auto dir = scratchDir("program");
    std::string output;
    EXPECT_EQ(shell(std::string(KORVAL_EXE) + " serve --interval 0", output), 3);
    EXPECT_NE(output.find("--interval：应为 1 到 86400"), std::string::npos) << output;
    const int port = freePort();
    {
        Process serve({KORVAL_EXE, "serve", "--com", "1=" + m_bus.path(), "--device",
                       "address=2,site=a,string=s2", "--interval", "1", "--listen",
                       "127.0.0.1:" + std::to_string(port)},
                      (dir / "serve.log").string());
        EXPECT_TRUE(eventually([&] {
            return sampleValue(httpGet(port, "/metrics").value_or(""), series("korval_up", "s2")) ==
                   1.0;
        }));
    }
    std::ifstream in(dir / "serve.log");
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("Prometheus 接口 http://127.0.0.1:" + std::to_string(port) + "/metrics"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("korval serve: 已停止"), std::string::npos) << log;
    std::filesystem::remove_all(dir);
}

// An instant query of a Prometheus server's HTTP API; the JSON answer, empty on failure.
std::string query(int port, const std::string& expression) {
    std::string encoded;
    for (const unsigned char c : expression) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        encoded += std::isalnum(c) || c == '_' ? std::string(1, static_cast<char>(c)) : hex;
    }
    return httpGet(port, "/api/v1/query?query=" + encoded).value_or("");
}

TEST_F(GatewayBusTest, APrometheusServerSeesTheSilencedDeviceDownAndItsCellsGone) {
    if (findProgram("prometheus").empty()) {
        GTEST_SKIP() << "prometheus is not installed (Debian package prometheus)";
    }
    startGateway();
    const auto dir = scratchDir("prometheus");
    const int port = freePort();
    writeFile(dir / "prometheus.yml",
              "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\nscrape_configs:\n"
              "  - job_name: korval\n    static_configs:\n      - targets: ['127.0.0.1:" +
                  std::to_string(m_gateway->metricsPort()) + "']\n");
    Process prometheus(
        {findProgram("prometheus"), "--config.file=" + (dir / "prometheus.yml").string(),
         "--storage.tsdb.path=" + (dir / "data").string(),
         "--web.listen-address=127.0.0.1:" + std::to_string(port)},
        (dir / "prometheus.log").string());
    const std::string upOfS2 = "korval_up{string=\"s2\"}";
    const std::string cellsOfS2 = "count(korval_cell_voltage_volts{string=\"s2\"})";
    ASSERT_TRUE(
        eventually([&] { return query(port, upOfS2).find(",\"1\"]") != std::string::npos; }, 120s))
        << query(port, upOfS2);
    EXPECT_NE(query(port, cellsOfS2).find(",\"40\"]"), std::string::npos) << query(port, cellsOfS2);

    m_bus.silence(2);
    EXPECT_TRUE(eventually([&] {
        return query(port, upOfS2).find(",\"0\"]") != std::string::npos;
    })) << query(port, upOfS2);
    EXPECT_TRUE(eventually([&] {
        return query(port, cellsOfS2).find("\"result\":[]") != std::string::npos;
    })) << query(port, cellsOfS2);
    EXPECT_NE(query(port, "korval_up{string=\"s1\"}").find(",\"1\"]"), std::string::npos);
    prometheus.stop();
    std::filesystem::remove_all(dir);
}

}  // namespace
