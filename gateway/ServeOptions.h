// The command line of `korval serve`: which devices on which ports, how often, and where the
// values go (a Prometheus endpoint, an MQTT broker). Pure parsing, no I/O.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// One device the gateway polls: its port and address, and the names it is known by.
struct ServedDevice {
    int port = 1;  // COMn
    int address = 1;
    int baudRate = 9600;
    std::string site;    // label `site`; letters, digits, '_' and '-'
    std::string string;  // label `string` (the battery string); the same characters
};

struct BrokerAddress {
    std::string host;
    int port = 1883;
};

struct ServeOptions {
    std::map<int, std::string> ports;  // COMn -> device path, from --com N=PATH
    int baudRate = 9600;
    std::vector<ServedDevice> devices;  // at least one after a good parse
    int intervalSeconds = 10;
    // How many polls of a device pass between two reads of its limits and masks.
    int limitsEvery = 60;
    std::string listen = "127.0.0.1:9105";  // empty: no Prometheus endpoint
    std::optional<BrokerAddress> mqtt;
    std::string mqttPrefix = "korval";
    std::string discoveryPrefix = "homeassistant";
    bool help = false;
};

struct ServeParse {
    ServeOptions options;
    std::string error;  // one line, in Chinese; empty when the arguments are good
};

// `args` follows the word `serve`.
ServeParse parseServeOptions(const std::vector<std::string>& args);

extern const char* const kServeUsage;
