// Topics, the state JSON and the Home Assistant discovery configs.
#include "MqttMessages.h"

#include <cstdio>

namespace {

std::string number(const std::optional<double>& value, const char* format) {
    if (!value) {
        return "null";
    }
    char text[48];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

std::string array(const analysis::OptionalCells& cells, const char* format) {
    std::string out = "[";
    for (size_t k = 0; k < cells.size(); ++k) {
        out += (k ? "," : "") + number(cells[k], format);
    }
    return out + "]";
}

const char* verdictName(analysis::VerdictLevel level) {
    switch (level) {
        case analysis::VerdictLevel::Ok:
            return "ok";
        case analysis::VerdictLevel::Warning:
            return "warning";
        case analysis::VerdictLevel::Fail:
            return "fail";
    }
    return "fail";
}

// One sensor's discovery config; names and units are the only things entities differ in.
struct Entity {
    std::string id;         // object id within the device
    std::string name;       // shown in Home Assistant
    std::string template_;  // value template
    std::string extra;      // unit, device class, ...: JSON members with a leading comma
};

std::string objectId(const ServedDevice& d) {
    return "korval_" + d.site + "_" + d.string;
}

MqttMessage config(const ServedDevice& d, const Entity& e, const std::string& prefix,
                   const std::string& discoveryPrefix) {
    const std::string device = objectId(d);
    const std::string payload =
        "{\"name\":\"" + e.name + "\",\"unique_id\":\"" + device + "_" + e.id +
        "\",\"object_id\":\"" + device + "_" + e.id + "\",\"state_topic\":\"" +
        deviceTopic(prefix, d, "state") + "\",\"value_template\":\"" + e.template_ +
        "\",\"availability\":[{\"topic\":\"" + statusTopic(prefix) + "\"},{\"topic\":\"" +
        deviceTopic(prefix, d, "availability") +
        "\"}],\"availability_mode\":\"all\",\"device\":{\"identifiers\":[\"" + device +
        "\"],\"name\":\"KORVAL " + d.site + " " + d.string +
        "\",\"manufacturer\":\"KORVAL\",\"model\":\"电池巡检仪（COM" + std::to_string(d.port) +
        "，地址 " + std::to_string(d.address) + "）\"}" + e.extra + "}";
    return {discoveryPrefix + "/sensor/" + device + "/" + e.id + "/config", payload, true};
}

constexpr const char* kMeasurement = ",\"state_class\":\"measurement\"";

}  // namespace

std::string statusTopic(const std::string& prefix) {
    return prefix + "/status";
}

std::string deviceTopic(const std::string& prefix, const ServedDevice& device,
                        const std::string& leaf) {
    return prefix + "/" + device.site + "/" + device.string + "/" + leaf;
}

std::string statePayload(const DeviceSample& sample) {
    const auto& v = sample.values;
    const long long time =
        std::chrono::duration_cast<std::chrono::seconds>(sample.time.time_since_epoch()).count();
    return "{\"voltage\":" + array(v.voltages, "%.3f") +
           ",\"resistance\":" + array(v.resistances, "%.2f") +
           ",\"temperature\":" + array(v.temperatures, "%.1f") +
           ",\"current\":" + number(v.current, "%.1f") + ",\"verdict\":\"" +
           verdictName(sample.verdict.value_or(analysis::VerdictLevel::Warning)) +
           "\",\"limits_known\":" + (sample.limitsKnown ? "true" : "false") +
           ",\"time\":" + std::to_string(time) + "}";
}

std::vector<MqttMessage> discoveryMessages(const ServedDevice& device, const std::string& prefix,
                                           const std::string& discoveryPrefix) {
    std::vector<Entity> entities = {
        {"current", "总电流", "{{ value_json.current }}",
         std::string(",\"unit_of_measurement\":\"A\",\"device_class\":\"current\"") + kMeasurement},
        {"verdict", "判定", "{{ value_json.verdict }}",
         ",\"device_class\":\"enum\",\"options\":[\"ok\",\"warning\",\"fail\"]"},
    };
    for (int cell = 1; cell <= kCellCount; ++cell) {
        const std::string n = std::to_string(cell);
        const std::string at = "[" + std::to_string(cell - 1) + "] }}";
        entities.push_back({"cell" + n + "_voltage", "第" + n + "节电压",
                            "{{ value_json.voltage" + at,
                            std::string(",\"unit_of_measurement\":\"V\",\"device_class\":"
                                        "\"voltage\"") +
                                kMeasurement});
        entities.push_back({"cell" + n + "_resistance", "第" + n + "节内阻",
                            "{{ value_json.resistance" + at,
                            std::string(",\"unit_of_measurement\":\"mΩ\"") + kMeasurement});
        entities.push_back({"cell" + n + "_temperature", "第" + n + "节温度",
                            "{{ value_json.temperature" + at,
                            std::string(",\"unit_of_measurement\":\"°C\",\"device_class\":"
                                        "\"temperature\"") +
                                kMeasurement});
    }
    std::vector<MqttMessage> messages;
    messages.reserve(entities.size());
    for (const Entity& e : entities) {
        messages.push_back(config(device, e, prefix, discoveryPrefix));
    }
    return messages;
}
