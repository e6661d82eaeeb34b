// The COMn to device path table; the launcher fills it from its --com options.
#include <map>
#include <string>

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
