// Parses `korval serve`'s options; every value is checked here, so a gateway that starts has
// devices it can name in metrics and topics, and a listen address and broker it can use.
#include "ServeOptions.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "PortAssignment.h"

const char* const kServeUsage =
    "usage: korval serve [--com N=PATH]... [--baud B] [--address A]\n"
    "                    [--device com=N,address=A[,baud=B][,site=S][,string=T]]...\n"
    "                    [--interval SECONDS] [--limits-every POLLS]\n"
    "                    [--listen HOST:PORT|none] [--mqtt HOST[:PORT]]\n"
    "                    [--mqtt-prefix P] [--discovery-prefix P]\n"
    "  polls the devices every SECONDS (default 10) and serves their values on\n"
    "  http://HOST:PORT/metrics (default 127.0.0.1:9105) for Prometheus, and publishes\n"
    "  them to an MQTT broker (port 1883 unless given) with Home Assistant discovery.\n"
    "  --device        one device (repeatable): its COMn (default: the lowest --com),\n"
    "                  address (default 1), rate (default --baud) and its site and\n"
    "                  string names (letters, digits, '_' and '-'; default site 'site',\n"
    "                  string 'comN-A'); without --device: the one device of --address\n"
    "  --limits-every  read the alarm limits and channel masks again every POLLS polls\n"
    "                  (default 60; also when a device answers again)\n"
    "  --mqtt-prefix   state and availability topics under P (default korval)\n"
    "  --discovery-prefix  Home Assistant discovery topics under P (default homeassistant)\n"
    "Stops on SIGINT or SIGTERM.\n";

namespace {

constexpr int kMaxInterval = 86'400;
constexpr int kMaxPort = 65'535;

// A name that can stand in a label, a topic level and a Home Assistant object id as it is.
bool isName(std::string_view text) {
    return !text.empty() && text.size() <= 64 && std::ranges::all_of(text, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

// An MQTT topic prefix: levels of names separated by '/'.
bool isPrefix(std::string_view text) {
    while (true) {
        const size_t slash = text.find('/');
        if (!isName(text.substr(0, slash))) {
            return false;
        }
        if (slash == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(slash + 1);
    }
}

// HOST:PORT with a port number; the host may be empty (every address).
bool isListenAddress(std::string_view text) {
    const size_t colon = text.rfind(':');
    return colon != std::string_view::npos && wholeNumber(text.substr(colon + 1), 0, kMaxPort);
}

std::optional<BrokerAddress> broker(std::string_view text) {
    const size_t colon = text.rfind(':');
    BrokerAddress result{std::string(text.substr(0, colon)), 1883};
    if (colon != std::string_view::npos) {
        const auto port = wholeNumber(text.substr(colon + 1), 1, kMaxPort);
        if (!port) {
            return std::nullopt;
        }
        result.port = *port;
    }
    return result.host.empty() ? std::nullopt : std::optional(result);
}

// A --device value as key=value pairs; the error names the key.
struct DeviceArg {
    std::optional<int> port;
    int address = 1;
    std::optional<int> baudRate;
    std::string site = "site";
    std::string string;
};

std::string parseDeviceKey(std::string_view key, std::string_view value, DeviceArg& arg) {
    if (key == "com") {
        arg.port = wholeNumber(value, 1, kMaxComPort);
        return arg.port ? "" : "com= 应为 1 到 12";
    }
    if (key == "address") {
        const auto address = wholeNumber(value, 1, kMaxDeviceAddress);
        arg.address = address.value_or(0);
        return address ? "" : "address= 应为 1 到 247";
    }
    if (key == "baud") {
        arg.baudRate = lineBaudRate(value);
        return arg.baudRate ? "" : "baud= 应为 1200、2400、4800、9600 或 19200";
    }
    if (key == "site" || key == "string") {
        (key == "site" ? arg.site : arg.string) = std::string(value);
        return isName(value) ? "" : std::string(key) + "= 只能由字母、数字、'_' 和 '-' 组成";
    }
    return "不认识的项 '" + std::string(key) + "'（可用 com、address、baud、site、string）";
}

std::string parseDevice(std::string_view text, DeviceArg& arg) {
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        const size_t equals = pair.find('=');
        if (equals == std::string_view::npos) {
            return "'" + std::string(pair) + "' 应写成 项=值";
        }
        if (auto error = parseDeviceKey(pair.substr(0, equals), pair.substr(equals + 1), arg);
            !error.empty()) {
            return error;
        }
        text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
    }
    return {};
}

struct Parser {
    ServeParse result;
    std::vector<DeviceArg> deviceArgs;
    std::optional<int> address;

    // Each gives nullopt for an option that is not its own, else the error (empty: good).
    std::optional<std::string> linkOption(const std::string& name, const std::string& value);
    std::optional<std::string> outputOption(const std::string& name, const std::string& value);
    std::string option(const std::string& name, const std::string& value);
    std::string finish();
};

std::string refused(const std::string& name, const std::string& wanted, const std::string& value) {
    return name + "：" + wanted + "，而不是 '" + value + "'";
}

// The ports, devices and the schedule.
std::optional<std::string> Parser::linkOption(const std::string& name, const std::string& value) {
    ServeOptions& o = result.options;
    if (name == "--com") {
        PortAssignment assignment;
        if (const std::string error = parsePortAssignment(value, assignment); !error.empty()) {
            return "--com：" + error;
        }
        o.ports[assignment.number] = assignment.path;
        return "";
    }
    if (name == "--baud") {
        o.baudRate = lineBaudRate(value).value_or(0);
        return o.baudRate ? "" : refused(name, "应为 1200、2400、4800、9600 或 19200", value);
    }
    if (name == "--address") {
        address = wholeNumber(value, 1, kMaxDeviceAddress);
        return address ? "" : refused(name, "应为 1 到 247", value);
    }
    if (name == "--device") {
        const std::string error = parseDevice(value, deviceArgs.emplace_back());
        return error.empty() ? "" : "--device：" + error;
    }
    if (name == "--interval" || name == "--limits-every") {
        const auto n = wholeNumber(value, 1, kMaxInterval);
        (name == "--interval" ? o.intervalSeconds : o.limitsEvery) = n.value_or(0);
        return n ? "" : refused(name, "应为 1 到 86400", value);
    }
    return std::nullopt;
}

// Where the values go.
std::optional<std::string> Parser::outputOption(const std::string& name, const std::string& value) {
    ServeOptions& o = result.options;
    if (name == "--listen") {
        o.listen = value == "none" ? "" : value;
        return value == "none" || isListenAddress(value)
                   ? ""
                   : refused(name, "应写成 地址:端口（例如 127.0.0.1:9105）或 none", value);
    }
    if (name == "--mqtt") {
        o.mqtt = broker(value);
        return o.mqtt ? "" : refused(name, "应写成 主机[:端口]", value);
    }
    if (name == "--mqtt-prefix" || name == "--discovery-prefix") {
        (name == "--mqtt-prefix" ? o.mqttPrefix : o.discoveryPrefix) = value;
        return isPrefix(value)
                   ? ""
                   : refused(name, "主题前缀只能由字母、数字、'_'、'-' 和 '/' 组成", value);
    }
    return std::nullopt;
}

std::string Parser::option(const std::string& name, const std::string& value) {
    if (auto error = linkOption(name, value)) {
        return *error;
    }
    if (auto error = outputOption(name, value)) {
        return *error;
    }
    return "不认识的选项 '" + name + "'（korval serve --help 列出全部选项）";
}

// Devices from their --device arguments, defaults filled in; no two share a port and address or a
// name.
std::string Parser::finish() {
    ServeOptions& o = result.options;
    const int lowestPort = o.ports.empty() ? 1 : o.ports.begin()->first;
    if (deviceArgs.empty()) {
        deviceArgs.push_back(DeviceArg{lowestPort, address.value_or(1), std::nullopt, "site", ""});
    } else if (address) {
        return "--address 与 --device 不能同时使用：请在 --device 里写 address=";
    }
    std::set<std::pair<int, int>> links;
    std::set<std::pair<std::string, std::string>> names;
    std::set<std::string> objectIds;
    for (const DeviceArg& arg : deviceArgs) {
        ServedDevice device{arg.port.value_or(lowestPort), arg.address,
                            arg.baudRate.value_or(o.baudRate), arg.site, arg.string};
        if (device.string.empty()) {
            device.string =
                "com" + std::to_string(device.port) + "-" + std::to_string(device.address);
        }
        if (!links.insert({device.port, device.address}).second) {
            return "--device：COM" + std::to_string(device.port) + " 上的地址 " +
                   std::to_string(device.address) + " 出现了两次";
        }
        if (!names.insert({device.site, device.string}).second) {
            return "--device：site=" + device.site + ",string=" + device.string + " 出现了两次";
        }
        // Home Assistant knows a device by site and string joined with '_', which the names
        // may hold themselves: a_b + c and a + b_c would be one device there.
        if (!objectIds.insert(device.site + "_" + device.string).second) {
            return "--device：site=" + device.site + ",string=" + device.string +
                   " 与另一台设备的名字连起来相同（" + device.site + "_" + device.string +
                   "），Home Assistant 会把它们当成一台";
        }
        o.devices.push_back(device);
    }
    return {};
}

}  // namespace

ServeParse parseServeOptions(const std::vector<std::string>& args) {
    Parser parser;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            parser.result.options.help = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            parser.result.error =
                args[i].starts_with("--")
                    ? args[i] + " 后面缺少值"
                    : "不认识的选项 '" + args[i] + "'（korval serve --help 列出全部选项）";
            return parser.result;
        }
        parser.result.error = parser.option(args[i], args[i + 1]);
        ++i;
        if (!parser.result.error.empty()) {
            return parser.result;
        }
    }
    parser.result.error = parser.finish();
    return parser.result;
}
