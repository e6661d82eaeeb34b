// Small pieces the output formats share: JSON strings, prometheus series, channel lists.
#pragma once

#include <string>
#include <string_view>

#include "CliOptions.h"
#include "ParamCoding.h"

// How one report is written in each format.
template <class Report>
struct FormatWriters {
    std::string (*text)(const Report&);
    std::string (*json)(const Report&);
    std::string (*csv)(const Report&);
    std::string (*prometheus)(const Report&);  // null: not offered (the options refuse it)
};

template <class Report>
std::string writeAs(const Report& report, OutputFormat format, const FormatWriters<Report>& w) {
    switch (format) {
        case OutputFormat::Json:
            return w.json(report);
        case OutputFormat::Csv:
            return w.csv(report);
        case OutputFormat::Prometheus:
            if (w.prometheus != nullptr) {
                return w.prometheus(report);
            }
            break;
        case OutputFormat::Text:
            break;
    }
    return w.text(report);
}

// `text` as a JSON string literal, quotes and escapes included.
std::string jsonString(std::string_view text);
// "# HELP name help\n# TYPE name gauge\n"
std::string prometheusHeader(const char* name, const char* help);
// korval_up with its header: 1 when the device answered.
std::string prometheusUp(int address, bool up);
// The watched channels as numbers: "1-24,30" (text, csv) or "[1,2,...]" (json).
std::string channelRanges(const ChannelSet& channels);
std::string channelArray(const ChannelSet& channels);
