// The subcommands: one table from name to command; each gives its output, verdict and, when
// something went wrong, the technician's explanation.
#include "CommandLine.h"

#include <cstdio>
#include <iostream>

#include "CliReports.h"
#include "DeviceReads.h"
#include "LinkSettings.h"
#include "RegisterCoding.h"
#include "ReportCommand.h"
#include "ScanCommand.h"
#include "SerialPort.h"
#include "ServeCommand.h"

namespace {

struct CommandResult {
    std::string output;  // stdout
    Verdict verdict = Verdict::Ok;
    std::string problem;  // stderr, when not empty
};

CommandResult noAnswer(const CliOptions& o, std::string problem) {
    return {formatNoAnswer(o.address, o.format), Verdict::NoAnswer, std::move(problem)};
}

CommandResult readCommand(const CliOptions& o, const RegisterLink& link) {
    const auto live = readLive(link);
    if (!live) {
        return noAnswer(o, "读取失败：设备没有应答实时数据");
    }
    const auto limits = readLimits(link);
    const auto masks = limits ? readMasks(link) : std::nullopt;
    if (!masks) {
        return noAnswer(o, "读取失败：设备没有应答报警阀值或报警通道配置，无法判定");
    }
    const ReadReport report{o.address, *live, judgeReading(*live, *limits, *masks)};
    return {formatRead(report, o.format), report.judgement.verdict, {}};
}

CommandResult infoCommand(const CliOptions& o, const RegisterLink& link) {
    InfoReport report;
    report.address = o.address;
    const auto identity = readIdentity(link);
    const auto limits = identity ? readLimits(link) : std::nullopt;
    const auto masks = limits ? readMasks(link) : std::nullopt;
    const auto status = masks ? readAlarmStatus(link) : std::nullopt;
    if (!status) {
        return noAnswer(o, "读取失败：设备没有应答设备参数");
    }
    report.identity = *identity;
    report.limits = *limits;
    report.masks = *masks;
    report.alarmStatus = *status;
    return {formatInfo(report, o.format), Verdict::Ok, {}};
}

// Rows read before a failure are printed; the exit code still says the answer was cut short.
CommandResult recordsCommand(const CliOptions& o, const RegisterLink& link) {
    RecordsReport report{*o.kind, o.group, readStoredRecords(link, *o.kind, o.group)};
    using Outcome = RecordRead::Outcome;
    switch (report.read.outcome) {
        case Outcome::Complete:
            return {formatRecords(report, o.format), Verdict::Ok, {}};
        case Outcome::NoCount:
            return noAnswer(o, "读取失败：设备没有应答记录条数");
        case Outcome::NotPlaced:
            return noAnswer(o, "读取记录序号校验错误");
        case Outcome::Broken:
            break;
    }
    const int read = static_cast<int>(report.read.records.size());
    return {formatRecords(report, o.format), Verdict::NoAnswer,
            formatText("读取失败：第%d条记录没有读到（共%d条），只列出了前%d条", read + 1,
                       report.read.expected, read)};
}

// The report keeps what it read even when a part is missing; runReport says what is.
CommandResult reportCommand(const CliOptions& o, const RegisterLink& link) {
    ReportRun run = runReport(o, link);
    return {std::move(run.output), run.verdict, std::move(run.problem)};
}

struct Command {
    const char* name;
    CommandResult (*run)(const CliOptions&, const RegisterLink&);
};
// `scan` will sit here; it opens its ports itself, so it will take the options alone.
constexpr Command kCommands[] = {
    {"read", readCommand},
    {"info", infoCommand},
    {"records", recordsCommand},
    {"report", reportCommand},
};

// Opens the port of the options (taking its lock), runs `command`, closes it.
CommandResult onPort(const CliOptions& o, const Command& command) {
    for (const auto& [number, path] : o.ports) {
        setPortPath(number, path);
    }
    LinkSettings::portNumber = o.port;
    LinkSettings::baudRate = o.baudRate;
    LinkSettings::deviceAddress = o.address;
    LinkPort port;
    if (!port.open()) {
        return noAnswer(
            o, "没有发现此串口或此串口被占用\n" + portOpenErrorDetails(lastPortOpenError()));
    }
    return command.run(o, port);
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "serve") {
        return runServe({args.begin() + 1, args.end()});
    }
    const CliParse parsed = parseCliOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "korval: %s\n", parsed.error.c_str());
        return static_cast<int>(Verdict::NoAnswer);
    }
    if (parsed.options.help) {
        std::fputs(kCliUsage, stdout);
        return 0;
    }
    if (parsed.options.command == "scan") {
        return runScan(parsed.options, std::cout, std::cerr);
    }
    for (const Command& command : kCommands) {
        if (parsed.options.command == command.name) {
            const CommandResult result = onPort(parsed.options, command);
            std::fputs(result.output.c_str(), stdout);
            std::fflush(stdout);
            if (!result.problem.empty()) {
                std::fprintf(stderr, "korval: %s\n", result.problem.c_str());
            }
            return static_cast<int>(result.verdict);
        }
    }
    return static_cast<int>(Verdict::NoAnswer);  // isCliCommand and the table disagree
}
