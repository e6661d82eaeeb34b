// JSON, prometheus and channel-list helpers.
#include "OutputText.h"

#include "RegisterCoding.h"

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += formatText("\\u%04x", byte);
        } else {
            out += c;  // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

std::string prometheusHeader(const char* name, const char* help) {
    return formatText("# HELP %s %s\n# TYPE %s gauge\n", name, help, name);
}

std::string prometheusUp(int address, bool up) {
    return prometheusHeader("korval_up", "Whether the device answered.") +
           formatText("korval_up{address=\"%d\"} %d\n", address, up ? 1 : 0);
}

std::string channelRanges(const ChannelSet& channels) {
    std::string out;
    for (int n = 1; n <= kMaskChannels; ++n) {
        if (!channels[static_cast<size_t>(n - 1)]) {
            continue;
        }
        int last = n;
        while (last < kMaskChannels && channels[static_cast<size_t>(last)]) {
            ++last;
        }
        out += (out.empty() ? "" : ",") +
               (last > n ? formatText("%d-%d", n, last) : formatText("%d", n));
        n = last;
    }
    return out;
}

std::string channelArray(const ChannelSet& channels) {
    std::string out = "[";
    for (int n = 1; n <= kMaskChannels; ++n) {
        if (channels[static_cast<size_t>(n - 1)]) {
            out += (out.size() > 1 ? "," : "") + formatText("%d", n);
        }
    }
    return out + "]";
}
