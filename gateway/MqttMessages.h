// What the gateway publishes to MQTT, as topics and payloads. Pure, no I/O.
//   <prefix>/status                       "online" / "offline" (retained; the will)
//   <prefix>/<site>/<string>/availability "online" / "offline" (retained)
//   <prefix>/<site>/<string>/state        one JSON object a poll: voltage, resistance and
//                                         temperature arrays of 40 (null: no value),
//                                         current, verdict ("ok", "warning", "fail"), time
//   <discovery>/sensor/korval_<site>_<string>/<entity>/config  Home Assistant discovery
#pragma once

#include <string>
#include <vector>

#include "DevicePoll.h"
#include "ServeOptions.h"

struct MqttMessage {
    std::string topic;
    std::string payload;
    bool retain = false;
};

inline constexpr const char* kOnline = "online";
inline constexpr const char* kOffline = "offline";

std::string statusTopic(const std::string& prefix);
std::string deviceTopic(const std::string& prefix, const ServedDevice& device,
                        const std::string& leaf);

// The state of an answered poll.
std::string statePayload(const DeviceSample& sample);
// The discovery configs of one device: the current, the verdict and every cell's three
// values, each available only while both the gateway and the device are.
std::vector<MqttMessage> discoveryMessages(const ServedDevice& device, const std::string& prefix,
                                           const std::string& discoveryPrefix);
