// The COMn to device path table; the launcher fills it from its --com options.
#include <algorithm>
#include <charconv>
#include <map>
#include <string>

#include "PortAssignment.h"
#include "SerialPort.h"

namespace {

std::map<int, std::string>& pathTable() {
    static std::map<int, std::string> table;
    return table;
}

}  // namespace

void setPortPath(int portNumber, const std::string& path) {
    pathTable()[portNumber] = path;
}

void clearPortPaths() {
    pathTable().clear();
}

std::string portPath(int portNumber) {
    const auto& table = pathTable();
    if (const auto it = table.find(portNumber); it != table.end()) {
        return it->second;
    }
    // The usual Linux numbering: COM1 is the first on-board port, /dev/ttyS0.
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::string parsePortAssignment(const std::string& value, PortAssignment& assignment) {
    const auto eq = value.find('=');
    if (eq == std::string::npos) {
        return "--com expects N=PATH, got '" + value + "'";
    }
    const std::string number = value.substr(0, eq);
    const std::string path = value.substr(eq + 1);
    int n = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size() || n < 1 ||
        n > kMaxComPort) {
        return "--com: port number must be 1 to " + std::to_string(kMaxComPort) + ", got '" +
               number + "'";
    }
    if (path.empty()) {
        return "--com " + number + "=: missing device path";
    }
    assignment = {n, path};
    return {};
}

std::optional<int> wholeNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> lineBaudRate(std::string_view text) {
    const auto rate = wholeNumber(text, 1, 1'000'000);
    return rate && std::ranges::find(kLineBaudRates, *rate) != std::end(kLineBaudRates)
               ? rate
               : std::nullopt;
}
