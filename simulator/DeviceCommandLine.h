// The korval-device program's command line: parsing and usage text. Pure logic.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "DeviceModel.h"

struct DeviceCommandLine {
    int address = 1;
    int paceBaud = 0;
    int records = -1;  // negative: leave the stores as the device starts them
    int probeDelayMs = static_cast<int>(DeviceModel::kDefaultProbeScanTime.count());
    int faultRatePercent = 0;
    int faultSeed = 0;  // 0: a different seed each run
    int weakCell = 0;   // 1..40: that cell is weak; 0: none
    std::string linkPath;
    // --bus A,B,...: the addresses of further devices on the same line.
    std::vector<int> busAddresses;
    // --silence-after ADDRESS:SECONDS (repeatable): that device stops answering then.
    struct Silence {
        int address = 0;
        int afterSeconds = 0;
    };
    std::vector<Silence> silences;
    bool help = false;
};

struct DeviceCommandLineResult {
    DeviceCommandLine options;
    std::string error;  // empty when the command line is valid
};

// `args` excludes the program name.
DeviceCommandLineResult parseDeviceCommandLine(std::span<const std::string_view> args);

std::string deviceUsage();
