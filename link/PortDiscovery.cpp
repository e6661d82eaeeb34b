// Port discovery from the device folder and sysfs: names are read, nothing is opened, so a
// port held by another program or closed to this user is still listed.
#include "PortDiscovery.h"

#include <dirent.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <map>
#include <string_view>

namespace {

// The kinds in the order they are listed: adapters first, as they are what a technician
// plugs in for the device.
constexpr std::string_view kPrefixes[] = {"ttyUSB", "ttyACM", "ttyS"};
constexpr std::size_t kUartKind = 2;

struct Candidate {
    std::size_t kind;
    unsigned long number;
    std::string name;
};

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    closedir(dir);
    return names;
}

// "ttyUSB12" -> kind of ttyUSB, number 12; nothing for other names ("ttyS", "ttyUSB1a").
bool parsePortName(std::string_view name, Candidate& out) {
    for (std::size_t kind = 0; kind < std::size(kPrefixes); ++kind) {
        const std::string_view prefix = kPrefixes[kind];
        if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) {
            continue;
        }
        const std::string_view digits = name.substr(prefix.size());
        unsigned long number = 0;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (ec != std::errc() || end != digits.data() + digits.size()) {
            return false;
        }
        out = {kind, number, std::string(name)};
        return true;
    }
    return false;
}

bool isDeviceEntry(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// The serial core gives every ttyS a "type"; 0 is "unknown", that is, no UART answered
// when the driver probed the port.
bool hasUart(const DiscoveryRoots& roots, const std::string& name) {
    std::ifstream type(roots.sys + "/class/tty/" + name + "/type");
    long value = 0;
    return static_cast<bool>(type >> value) && value != 0;
}

// Port name -> its by-id link. udev makes the links relative ("../../ttyUSB0"); only the
// last part of the target names the port. When several links lead to one port, the first
// in name order is kept, so the answer does not depend on the folder's order.
std::map<std::string, std::string> byIdLinks(const DiscoveryRoots& roots) {
    const std::string folder = roots.dev + "/serial/by-id";
    std::vector<std::string> links = folderEntries(folder);
    std::sort(links.begin(), links.end());
    std::map<std::string, std::string> byName;
    std::array<char, PATH_MAX> target{};
    for (const std::string& link : links) {
        const std::string path = folder + "/" + link;
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            continue;  // not a link, or a target too long to be a device name
        }
        std::string_view to(target.data(), static_cast<std::size_t>(length));
        if (const auto slash = to.rfind('/'); slash != std::string_view::npos) {
            to.remove_prefix(slash + 1);
        }
        byName.emplace(std::string(to), path);
    }
    return byName;
}

}  // namespace

std::vector<DiscoveredPort> discoverSerialPorts(const DiscoveryRoots& roots) {
    std::vector<Candidate> found;
    for (const std::string& name : folderEntries(roots.dev)) {
        Candidate candidate;
        if (!parsePortName(name, candidate) || !isDeviceEntry(roots.dev + "/" + name)) {
            continue;
        }
        if (candidate.kind == kUartKind && !hasUart(roots, name)) {
            continue;
        }
        found.push_back(std::move(candidate));
    }
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.number < b.number;
    });
    const auto links = byIdLinks(roots);
    std::vector<DiscoveredPort> ports;
    for (const Candidate& candidate : found) {
        const auto link = links.find(candidate.name);
        ports.push_back(
            {roots.dev + "/" + candidate.name, link != links.end() ? link->second : std::string()});
    }
    return ports;
}

std::string formatPortList(const std::vector<DiscoveredPort>& ports) {
    std::string text;
    for (const DiscoveredPort& port : ports) {
        text += port.path;
        if (!port.byId.empty()) {
            text += '\t' + port.byId;
        }
        text += '\n';
    }
    return text;
}
