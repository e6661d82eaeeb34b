// The scan on the command line: its output formats and its notes to the technician.
#include "ScanCommand.h"

#include <unistd.h>

#include <cstdio>

#include "LinkSettings.h"
#include "OutputText.h"
#include "RegisterCoding.h"
#include "SerialPort.h"
#include "Verdict.h"

namespace {

std::string versionOf(const FoundDevice& d) {
    return d.version ? formatText("%.2f", *d.version * 0.01) : std::string();
}

std::string text(const ScanResult& r) {
    std::string out = "地址\t波特率\t版本\n";
    for (const FoundDevice& d : r.devices) {
        out += formatText("%d\t%d\t%s\n", d.address, d.baudRate,
                          d.version ? versionOf(d).c_str() : "未知");
    }
    return out;
}

std::string csv(const ScanResult& r) {
    std::string out = "address,baud_rate,version\n";
    for (const FoundDevice& d : r.devices) {
        out += formatText("%d,%d,%s\n", d.address, d.baudRate, versionOf(d).c_str());
    }
    return out;
}

std::string json(const ScanResult& r) {
    std::string out = "{\"devices\":[";
    for (size_t k = 0; k < r.devices.size(); ++k) {
        const FoundDevice& d = r.devices[k];
        out += formatText("%s{\"address\":%d,\"baud_rate\":%d,\"version\":%s}", k ? "," : "",
                          d.address, d.baudRate,
                          d.version ? jsonString(versionOf(d)).c_str() : "null");
    }
    out += "],\"other_rate_noise\":[";
    for (size_t k = 0; k < r.garbledRates.size(); ++k) {
        out += formatText("%s%d", k ? "," : "", r.garbledRates[k]);
    }
    return out + formatText("],\"complete\":%s}\n", r.end == ScanEnd::Finished ? "true" : "false");
}

// Progress on a terminal only: a cron job's log gets the result alone.
void showProgress(std::ostream& err, const ScanProgress& p) {
    if (p.done % 16 == 0 || p.done == p.total) {
        err << formatText("\r搜索设备：%zu/%zu，剩余约%u秒 ", p.done, p.total,
                          (p.msLeft + 999) / 1000)
            << (p.done == p.total ? "\n" : "") << std::flush;
    }
}

}  // namespace

std::string formatScan(const ScanResult& result, OutputFormat format) {
    switch (format) {
        case OutputFormat::Json:
            return json(result);
        case OutputFormat::Csv:
            return csv(result);
        case OutputFormat::Text:
        case OutputFormat::Prometheus:
            break;
    }
    return text(result);
}

int runScan(const CliOptions& o, std::ostream& out, std::ostream& err) {
    for (const auto& [number, path] : o.ports) {
        setPortPath(number, path);
    }
    ScanRequest request{o.port, {o.baudRate, o.address}, o.first, {}};
    std::function<void(const ScanProgress&)> progress;
    if (isatty(STDERR_FILENO) != 0) {
        progress = [&err](const ScanProgress& p) { showProgress(err, p); };
    }
    const ScanResult result = runDeviceScan(request, progress);
    out << formatScan(result, o.format) << std::flush;
    for (const int rate : result.garbledRates) {
        err << formatText("korval: 在%d波特率下收到无法识别的数据：可能有设备使用其他波特率\n",
                          rate);
    }
    if (result.end == ScanEnd::PortFailed) {
        err << "korval: 没有发现此串口或此串口被占用\n"
            << portOpenErrorDetails(lastPortOpenError()) << "\n";
        return static_cast<int>(Verdict::NoAnswer);
    }
    if (result.devices.empty()) {
        err << "korval: 没有设备应答\n";
        return static_cast<int>(Verdict::NoAnswer);
    }
    return static_cast<int>(Verdict::Ok);
}
