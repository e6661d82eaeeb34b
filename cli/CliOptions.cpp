// Parses the subcommands' options; every value is checked here, so a command that runs has
// a port, rate and address the device can have.
#include "CliOptions.h"

#include <algorithm>
#include <charconv>

#include "PortAssignment.h"

const char* const kCliUsage =
    "usage: korval read    [LINK] [--format text|json|csv|prometheus]\n"
    "       korval info    [LINK] [--format text|json|csv|prometheus]\n"
    "       korval records --kind voltage|alarm|resistance [--group G] [LINK]\n"
    "                      [--format text|json|csv]\n"
    "       korval scan    [LINK] [--first] [--format text|json|csv]  (LINK: tried first)\n"
    "       korval report  --pdf FILE [--csv FILE] [--records] [--site S] [--string S]\n"
    "                      [--technician S] [LINK]  (CSV beside the PDF without --csv)\n"
    "       korval serve   ...  (polls devices for Prometheus and MQTT; serve --help)\n"
    "  LINK: [--com N=PATH] [--baud B] [--address A]\n"
    "  --com N=PATH   open PATH for COMn (N = 1..12); the command uses the lowest COMn\n"
    "                 given, COM1 (/dev/ttyS0) without --com\n"
    "  --baud B       1200, 2400, 4800, 9600 (default) or 19200\n"
    "  --address A    the device's address, 1..247 (default 1)\n"
    "  --group G      the voltage record group, 1..8 (default 1)\n"
    "  --first        scan: stop at the first device that answers\n"
    "exit status: 0 ok, 1 warning, 2 fail (the bank judged against the device's own\n"
    "alarm limits: a watched value near or beyond one), 3 no answer (port or device),\n"
    "or a bad command line\n";

namespace {

constexpr std::string_view kCommands[] = {"read", "info", "records", "scan", "report", "serve"};

// The value of `name` in `table`, or nullopt.
template <class Value, size_t N>
std::optional<Value> lookUp(const std::pair<std::string_view, Value> (&table)[N],
                            const std::string& name) {
    for (const auto& [key, value] : table) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::pair<std::string_view, OutputFormat> kFormats[] = {
    {"text", OutputFormat::Text},
    {"json", OutputFormat::Json},
    {"csv", OutputFormat::Csv},
    {"prometheus", OutputFormat::Prometheus}};
constexpr std::pair<std::string_view, RecordKind> kKinds[] = {
    {"voltage", RecordKind::Voltage},
    {"alarm", RecordKind::Alarm},
    {"resistance", RecordKind::Resistance}};

std::string setFormat(const std::string& value, CliOptions& o) {
    const auto format = lookUp(kFormats, value);
    if (!format) {
        return "--format: text, json, csv or prometheus, got '" + value + "'";
    }
    o.format = *format;
    return {};
}

std::string setKind(const std::string& value, CliOptions& o) {
    o.kind = lookUp(kKinds, value);
    return o.kind ? "" : "--kind: voltage, alarm or resistance, got '" + value + "'";
}

std::string setBaud(const std::string& value, CliOptions& o) {
    const auto rate = lineBaudRate(value);
    if (!rate) {
        return "--baud: 1200, 2400, 4800, 9600 or 19200, got '" + value + "'";
    }
    o.baudRate = *rate;
    return {};
}

std::string setNumber(const char* option, const std::string& value, int low, int high, int& into) {
    const auto n = wholeNumber(value, low, high);
    if (!n) {
        return std::string(option) + ": " + std::to_string(low) + " to " + std::to_string(high) +
               ", got '" + value + "'";
    }
    into = *n;
    return {};
}

std::string setPort(const std::string& value, CliOptions& o) {
    PortAssignment assignment;
    std::string error = parsePortAssignment(value, assignment);
    if (error.empty()) {
        o.ports[assignment.number] = assignment.path;
        o.port = o.ports.begin()->first;
    }
    return error;
}

std::string setText(const std::string& value, std::string& into) {
    into = value;
    return {};
}

// What only the report command takes; an empty name when none of it is given.
std::string reportOption(const CliOptions& o) {
    return !o.pdfPath.empty()      ? "--pdf"
           : !o.csvPath.empty()    ? "--csv"
           : o.records             ? "--records"
           : !o.site.empty()       ? "--site"
           : !o.string.empty()     ? "--string"
           : !o.technician.empty() ? "--technician"
                                   : "";
}

// An option that takes a value: its setter, or null for an unknown name.
using Setter = std::string (*)(const std::string&, CliOptions&);
Setter valueOption(std::string_view name) {
    const std::pair<std::string_view, Setter> kOptions[] = {
        {"--com", setPort},
        {"--baud", setBaud},
        {"--format", setFormat},
        {"--kind", setKind},
        {"--address",
         [](const std::string& v, CliOptions& o) {
             return setNumber("--address", v, 1, kMaxDeviceAddress, o.address);
         }},
        {"--pdf", [](const std::string& v, CliOptions& o) { return setText(v, o.pdfPath); }},
        {"--csv", [](const std::string& v, CliOptions& o) { return setText(v, o.csvPath); }},
        {"--site", [](const std::string& v, CliOptions& o) { return setText(v, o.site); }},
        {"--string", [](const std::string& v, CliOptions& o) { return setText(v, o.string); }},
        {"--technician",
         [](const std::string& v, CliOptions& o) { return setText(v, o.technician); }},
        {"--group",
         [](const std::string& v, CliOptions& o) {
             return setNumber("--group", v, 1, kVoltageGroups, o.group);
         }},
    };
    return lookUp(kOptions, std::string(name)).value_or(nullptr);
}

// What the options allow together, once all are read.
std::string checkCombination(const CliOptions& o) {
    if (o.help) {
        return {};
    }
    if (o.command == "report") {
        if (o.pdfPath.empty()) {
            return "report: --pdf FILE is required";
        }
        if (!o.csvPath.empty() && o.csvPath == o.pdfPath) {
            return "report: --csv and --pdf name the same file";
        }
        if (o.kind || o.format != OutputFormat::Text) {
            return "report: writes a PDF and a CSV; --kind and --format do not apply";
        }
        return {};
    }
    if (const std::string option = reportOption(o); !option.empty()) {
        return option + " belongs to report only";
    }
    if (o.command == "records") {
        if (!o.kind) {
            return "records: --kind voltage, alarm or resistance is required";
        }
        if (o.format == OutputFormat::Prometheus) {
            return "records: stored records have no current value for prometheus; use text, "
                   "json or csv";
        }
    } else if (o.kind) {
        return "--kind belongs to records only";
    } else if (o.command == "scan" && o.format == OutputFormat::Prometheus) {
        return "scan: a list of devices has no prometheus form; use text, json or csv";
    }
    if (o.first && o.command != "scan") {
        return "--first belongs to scan only";
    }
    return {};
}

}  // namespace

bool isCliCommand(std::string_view word) {
    return std::find(std::begin(kCommands), std::end(kCommands), word) != std::end(kCommands);
}

CliParse parseCliOptions(const std::vector<std::string>& args) {
    CliParse result;
    if (args.empty() || !isCliCommand(args[0])) {
        result.error = "expected read, info, records, scan or report (try --help)";
        return result;
    }
    result.options.command = args[0];
    for (size_t i = 1; i < args.size() && result.error.empty(); ++i) {
        std::string name = args[i];
        std::string value;
        const bool joined = name.rfind("--", 0) == 0 && name.find('=') != std::string::npos;
        if (joined) {  // --name=value
            value = name.substr(name.find('=') + 1);
            name = name.substr(0, name.find('='));
        }
        if (name == "--help" || name == "-h") {
            result.options.help = true;
        } else if (name == "--first" && !joined) {
            result.options.first = true;
        } else if (name == "--records" && !joined) {
            result.options.records = true;
        } else if (const Setter setter = valueOption(name)) {
            if (!joined && i + 1 >= args.size()) {
                result.error = name + ": missing value";
            } else {
                result.error = setter(joined ? value : args[++i], result.options);
            }
        } else {
            result.error = "unknown " +
                           std::string(!name.empty() && name[0] == '-' ? "option" : "argument") +
                           " '" + args[i] + "' (try --help)";
        }
    }
    if (result.error.empty()) {
        result.error = checkCombination(result.options);
    }
    return result;
}
