// What goes to the broker: topics, the state JSON with its missing cells, and Home Assistant
// discovery configs that a JSON parser (Python's) accepts.
#include <gtest/gtest.h>

#include "EngineSupport.h"
#include "MqttMessages.h"

namespace {

const ServedDevice kDevice{2, 7, 9600, "north", "A-1"};

DeviceSample sample() {
    DeviceSample s;
    s.up = true;
    s.values.voltages[0] = 2.0456;
    s.values.voltages[39] = 1.9;
    s.values.resistances[0] = 0.305;
    s.values.temperatures[1] = -3.25;
    s.values.current = -12.0;
    s.verdict = analysis::VerdictLevel::Fail;
    s.limitsKnown = true;
    s.time = std::chrono::system_clock::time_point(std::chrono::seconds(1'700'000'000));
    return s;
}

TEST(MqttMessagesTest, TopicsSitUnderThePrefixByDeviceName) {
    EXPECT_EQ(statusTopic("plant/korval"), "plant/korval/status");
    EXPECT_EQ(deviceTopic("korval", kDevice, "state"), "korval/north/A-1/state");
}

TEST(MqttMessagesTest, TheStateHoldsFortyCellsANullForEachMissingOneAndTheVerdict) {
    const std::string json = statePayload(sample());
    EXPECT_NE(json.find("\"voltage\":[2.046,null,"), std::string::npos) << json;
    EXPECT_NE(json.find(",1.900],\"resistance\":[0.30,null"), std::string::npos) << json;
    EXPECT_NE(json.find("\"temperature\":[null,-3.2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"current\":-12.0,\"verdict\":\"fail\",\"limits_known\":true,"
                        "\"time\":1700000000}"),
              std::string::npos)
        << json;
}

TEST(MqttMessagesTest, DiscoveryConfigsAreRetainedValidJsonWithBothAvailabilities) {
    const auto messages = discoveryMessages(kDevice, "korval", "homeassistant");
    ASSERT_EQ(messages.size(), 2u + 3u * 40u);
    const auto dir = engine::scratchDir("discovery");
    std::string lines = statePayload(sample()) + "\n";
    for (const MqttMessage& m : messages) {
        EXPECT_TRUE(m.retain);
        EXPECT_EQ(m.topic.rfind("homeassistant/sensor/korval_north_A-1/", 0), 0u) << m.topic;
        EXPECT_NE(m.payload.find("{\"topic\":\"korval/status\"},{\"topic\":\"korval/north/A-1/"
                                 "availability\"}"),
                  std::string::npos);
        lines += m.payload + "\n";
    }
    EXPECT_EQ(messages[2].topic, "homeassistant/sensor/korval_north_A-1/cell1_voltage/config");
    EXPECT_NE(messages[2].payload.find("\"value_template\":\"{{ value_json.voltage[0] }}\""),
              std::string::npos);
    engine::writeFile(dir / "messages.json", lines);
    std::string output;
    EXPECT_EQ(engine::shell("python3 -c 'import json,sys; [json.loads(l) for l in sys.stdin]' < " +
                                (dir / "messages.json").string(),
                            output),
              0)
        << output;
    std::filesystem::remove_all(dir);
}

}  // namespace
