// Parses --com N=PATH (repeatable), --demo, --list-ports, --version and --help.
#include "LauncherOptions.h"

#include "PortAssignment.h"
#include "SerialPort.h"

namespace {

std::string parseCom(const std::string& value, LauncherOptions& options) {
    PortAssignment assignment;
    std::string error = parsePortAssignment(value, assignment);
    if (error.empty()) {
        options.ports[assignment.number] = assignment.path;
    }
    return error;
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
