// Parses --com N=PATH (repeatable), --demo, --list-ports, --version and --help.
#include "LauncherOptions.h"

#include <charconv>

#include "SerialPort.h"

namespace {

// "N=PATH" with N in 1..12 and a non-empty PATH.
std::string parseCom(const std::string& value, LauncherOptions& options) {
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
    options.ports[n] = path;
    return {};
}

}  // namespace

LauncherParse parseLauncherOptions(const std::vector<std::string>& args, bool acceptFiles,
                                   bool korvalOptions) {
    LauncherParse result;
    for (size_t i = 0; i < args.size() && result.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.options.help = true;
        } else if (arg == "--demo" && korvalOptions) {
            result.options.demo = true;
        } else if (arg == "--list-ports" && korvalOptions) {
            result.options.listPorts = true;
        } else if (arg == "--version" && korvalOptions) {
            result.options.version = true;
        } else if (arg == "--com") {
            if (i + 1 >= args.size()) {
                result.error = "--com: missing N=PATH";
            } else {
                result.error = parseCom(args[++i], result.options);
            }
        } else if (arg.rfind("--com=", 0) == 0) {
            result.error = parseCom(arg.substr(6), result.options);
        } else if (!arg.empty() && arg[0] == '-') {
            result.error = "unknown option '" + arg + "' (try --help)";
        } else if (acceptFiles) {
            result.options.files.push_back(arg);
        } else {
            result.error = "unexpected argument '" + arg + "' (try --help)";
        }
    }
    return result;
}

void applyPortPaths(const LauncherOptions& options) {
    for (const auto& [number, path] : options.ports) {
        setPortPath(number, path);
    }
}
