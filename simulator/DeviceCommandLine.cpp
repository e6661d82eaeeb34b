// Command-line parsing for korval-device.
#include "DeviceCommandLine.h"

#include <charconv>
#include <limits>
#include <optional>

namespace {

constexpr int kMaxPaceBaud = 4'000'000;
constexpr int kMaxRecords = 65535;
constexpr int kMaxProbeDelayMs = 600'000;

// A whole decimal number in [low, high]; nothing else (no sign, blanks or trailing text).
std::optional<int> parseBounded(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

struct NumberOption {
    std::string_view name;
    int low;
    int high;
    int DeviceCommandLine::*field;
};

constexpr NumberOption kNumberOptions[] = {
    {"--address", 1, 247, &DeviceCommandLine::address},
    {"--pace", 1, kMaxPaceBaud, &DeviceCommandLine::paceBaud},
    {"--records", 0, kMaxRecords, &DeviceCommandLine::records},
    {"--probe-delay", 0, kMaxProbeDelayMs, &DeviceCommandLine::probeDelayMs},
    {"--fault-rate", 0, 100, &DeviceCommandLine::faultRatePercent},
    {"--fault-seed", 0, std::numeric_limits<int>::max(), &DeviceCommandLine::faultSeed},
    {"--weak-cell", 0, 40, &DeviceCommandLine::weakCell},
};

constexpr int kMaxAddress = 247;
constexpr int kMaxSilenceSeconds = 86'400;

// "A,B,C": addresses 1..247, at least one.
std::string parseBus(std::string_view value, std::vector<int>& into) {
    while (true) {
        const size_t comma = value.find(',');
        const auto address = parseBounded(value.substr(0, comma), 1, kMaxAddress);
        if (!address) {
            return "korval-device: --bus wants addresses from 1 to 247 separated by commas";
        }
        into.push_back(*address);
        if (comma == std::string_view::npos) {
            return {};
        }
        value.remove_prefix(comma + 1);
    }
}

// "ADDRESS:SECONDS".
std::string parseSilence(std::string_view value, std::vector<DeviceCommandLine::Silence>& into) {
    const size_t colon = value.find(':');
    const auto address = parseBounded(value.substr(0, colon), 1, kMaxAddress);
    const auto seconds = colon == std::string_view::npos
                             ? std::nullopt
                             : parseBounded(value.substr(colon + 1), 0, kMaxSilenceSeconds);
    if (!address || !seconds) {
        return "korval-device: --silence-after wants ADDRESS:SECONDS (1..247, 0..86400)";
    }
    into.push_back({*address, *seconds});
    return {};
}

// The options that take text rather than one number; an error text, empty when good.
std::optional<std::string> parseTextOption(std::string_view arg, std::string_view value,
                                           DeviceCommandLine& options) {
    if (arg == "--link") {
        options.linkPath = std::string(value);
        return value.empty() ? "korval-device: --link needs a path" : "";
    }
    if (arg == "--bus") {
        return parseBus(value, options.busAddresses);
    }
    if (arg == "--silence-after") {
        return parseSilence(value, options.silences);
    }
    return std::nullopt;
}

bool isTextOption(std::string_view arg) {
    return arg == "--link" || arg == "--bus" || arg == "--silence-after";
}

std::string rangeError(const NumberOption& option, std::string_view value) {
    return "korval-device: " + std::string(option.name) + " wants a number from " +
           std::to_string(option.low) + " to " + std::to_string(option.high) + ", not '" +
           std::string(value) + "'";
}

}  // namespace

DeviceCommandLineResult parseDeviceCommandLine(std::span<const std::string_view> args) {
    DeviceCommandLineResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.options.help = true;
            continue;
        }
        const NumberOption* number = nullptr;
        for (const auto& option : kNumberOptions) {
            number = option.name == arg ? &option : number;
        }
        if (number == nullptr && !isTextOption(arg)) {
            result.error = "korval-device: unknown option '" + std::string(arg) + "' (try --help)";
            return result;
        }
        if (i + 1 >= args.size()) {
            result.error = "korval-device: " + std::string(arg) + " needs a value";
            return result;
        }
        const std::string_view value = args[++i];
        if (number == nullptr) {
            result.error = parseTextOption(arg, value, result.options).value_or("");
            if (!result.error.empty()) {
                return result;
            }
        } else if (auto parsed = parseBounded(value, number->low, number->high)) {
            result.options.*(number->field) = *parsed;
        } else {
            result.error = rangeError(*number, value);
            return result;
        }
    }
    return result;
}

std::string deviceUsage() {
    static_assert(DeviceModel::kDefaultProbeScanTime == std::chrono::milliseconds(3000) &&
                      kMaxProbeDelayMs == 600'000,
                  "the usage text states both");
    return "usage: korval-device [--address N] [--pace BAUD] [--records N] [--probe-delay MS]\n"
           "                     [--fault-rate PERCENT] [--fault-seed N] [--weak-cell N]\n"
           "                     [--link PATH] [--bus A,B,...] [--silence-after ADDRESS:SECONDS]\n"
           "Runs the simulated battery monitoring device as a Modbus RTU slave on a\n"
           "pseudo-terminal and prints the path to open as its serial port.\n"
           "  --address N       answer at address N (1..247, default 1)\n"
           "  --pace BAUD       let replies take their time on a line of BAUD (default: none)\n"
           "  --records N       fill every record store with N records (voltage: every group)\n"
           "  --probe-delay MS  answer the fully automatic probe registration after MS ms\n"
           "                    (0..600000, default 3000)\n"
           "  --fault-rate PERCENT  spoil that share of the replies (0..100, default 0) with a\n"
           "                    random fault: silent, short, bad CRC, exception or garbage\n"
           "  --fault-seed N    seed of the random faults, to repeat a run (default: random)\n"
           "  --weak-cell N     make cell N (1..40) weak: resistance up, voltage down, warmer\n"
           "                    (0, the default: every cell sound)\n"
           "  --link PATH       also make PATH a symbolic link to the terminal (removed at exit)\n"
           "  --bus A,B,...     more devices on the same line (an RS-485 bus), each answering\n"
           "                    only its own address\n"
           "  --silence-after ADDRESS:SECONDS  the device at ADDRESS stops answering SECONDS\n"
           "                    after the start, as if its cable were pulled (repeatable)\n"
           "  --help            show this text\n"
           "Stops on SIGINT or SIGTERM and then prints how many requests it answered and how\n"
           "many of those replies it spoiled.\n";
}
