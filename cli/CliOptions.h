// The command line of korval's subcommands (read, info, records, scan): which port, rate
// and address, the output format, the record kind. Pure parsing, no I/O.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "StoredRecords.h"

enum class OutputFormat { Text, Json, Csv, Prometheus };

struct CliOptions {
    std::string command;
    std::map<int, std::string> ports;  // COMn -> device path, from --com N=PATH
    int port = 1;                      // the COMn used: the lowest --com given, else COM1
    int baudRate = 9600;
    int address = 1;
    OutputFormat format = OutputFormat::Text;
    std::optional<RecordKind> kind;  // records: required
    int group = 1;                   // records --kind voltage: the group, 1..8
    bool help = false;
    bool first = false;  // scan: stop at the first device that answers
    // report: the files, whether to read the resistance records, the header's fields.
    std::string pdfPath;
    std::string csvPath;  // empty: beside the PDF, with .csv
    bool records = false;
    std::string site;
    std::string string;
    std::string technician;
};

struct CliParse {
    CliOptions options;
    std::string error;  // one line; empty when the arguments are good
};

// Whether `word`, the first argument, names a subcommand rather than a window option.
bool isCliCommand(std::string_view word);
// `args` starts with the subcommand.
CliParse parseCliOptions(const std::vector<std::string>& args);

extern const char* const kCliUsage;
