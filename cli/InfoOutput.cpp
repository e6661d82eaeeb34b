// `korval info` in each format: identity, alarm limits, channel masks and alarm status, with
// the captions of the system parameter page.
#include "CliReports.h"
#include "OutputText.h"
#include "RegisterCoding.h"

namespace {

struct AlarmKindName {
    const char* key;
    const char* caption;
};
// In bit order.
constexpr AlarmKindName kAlarmKinds[kAlarmKindCount] = {
    {"temperature_upper", "温度上限报警状态位"}, {"temperature_lower", "温度下限报警状态位"},
    {"voltage_upper", "电压上限报警状态位"},     {"voltage_lower", "电压下限报警状态位"},
    {"resistance_upper", "内阻上限报警状态位"},  {"current_upper", "电流上限报警状态位"},
};

bool active(uint16_t status, int kind) {
    return hasAlarmKind(status, static_cast<AlarmKind>(kind));
}

// Separated by `separator`: the keys or captions of the alarm kinds set in `status`.
std::string activeKinds(uint16_t status, bool captions, const char* separator) {
    std::string out;
    for (int k = 0; k < kAlarmKindCount; ++k) {
        if (active(status, k)) {
            out += (out.empty() ? "" : separator);
            out += captions ? kAlarmKinds[k].caption : kAlarmKinds[k].key;
        }
    }
    return out;
}

std::string version(const DeviceIdentity& id) {
    return formatText("%.2f", id.version * 0.01);
}

std::string text(const InfoReport& r) {
    const AlarmLimits& l = r.limits;
    std::string out =
        formatText("设备地址：%d\n设备波特率：%d\n设备版本号：%s\n", r.identity.address,
                   r.identity.baudRate, versionText(r.identity.version).c_str());
    out += formatText("温度上限值：%d℃\n温度下限值：%d℃\n", l.tempUpper, l.tempLower);
    out += formatText("电池电压上限：%.1fV\n电池电压下限：%.1fV\n", l.voltUpper, l.voltLower);
    out += formatText("电池内阻上限报警阀值：%.1f毫欧\n总电流上限报警阀值：%dA\n",
                      l.resistanceUpper, l.currentUpper);
    out += "电压报警通道：" + channelRanges(r.masks.voltage) + "\n";
    out += "内阻报警通道：" + channelRanges(r.masks.resistance) + "\n";
    out += "温度报警通道：" + channelRanges(r.masks.temperature) + "\n";
    const std::string alarms = activeKinds(r.alarmStatus, true, "、");
    return out + "报警状态：" + (alarms.empty() ? "无报警" : alarms) + "\n";
}

std::string json(const InfoReport& r) {
    const AlarmLimits& l = r.limits;
    std::string out =
        formatText("{\"address\": %d, \"baud_rate\": %d, \"version\": \"%s\",\n",
                   r.identity.address, r.identity.baudRate, version(r.identity).c_str());
    out += formatText(
        " \"limits\": {\"temperature_upper\": %d, \"temperature_lower\": %d, "
        "\"voltage_upper\": %.1f, \"voltage_lower\": %.1f, "
        "\"resistance_upper\": %.1f, \"current_upper\": %d},\n",
        l.tempUpper, l.tempLower, l.voltUpper, l.voltLower, l.resistanceUpper, l.currentUpper);
    out += " \"masks\": {\"voltage\": " + channelArray(r.masks.voltage) +
           ", \"resistance\": " + channelArray(r.masks.resistance) +
           ", \"temperature\": " + channelArray(r.masks.temperature) + "},\n";
    std::string alarms = activeKinds(r.alarmStatus, false, "\", \"");
    return out + " \"alarm_status\": [" + (alarms.empty() ? "" : "\"" + alarms + "\"") + "]}\n";
}

std::string csv(const InfoReport& r) {
    const AlarmLimits& l = r.limits;
    std::string out = "field,value\n";
    out += formatText("address,%d\nbaud_rate,%d\nversion,%s\n", r.identity.address,
                      r.identity.baudRate, version(r.identity).c_str());
    out += formatText("temperature_upper,%d\ntemperature_lower,%d\n", l.tempUpper, l.tempLower);
    out += formatText("voltage_upper,%.1f\nvoltage_lower,%.1f\n", l.voltUpper, l.voltLower);
    out +=
        formatText("resistance_upper,%.1f\ncurrent_upper,%d\n", l.resistanceUpper, l.currentUpper);
    out += "voltage_mask,\"" + channelRanges(r.masks.voltage) + "\"\n";
    out += "resistance_mask,\"" + channelRanges(r.masks.resistance) + "\"\n";
    out += "temperature_mask,\"" + channelRanges(r.masks.temperature) + "\"\n";
    return out + "alarm_status," + activeKinds(r.alarmStatus, false, " ") + "\n";
}

std::string limitSeries(const char* name, const char* help, int address, double value) {
    return prometheusHeader(name, help) +
           formatText("%s{address=\"%d\"} %g\n", name, address, value);
}

std::string prometheus(const InfoReport& r) {
    const AlarmLimits& l = r.limits;
    const int a = r.address;
    std::string out = prometheusUp(a, true);
    out += prometheusHeader("korval_device_info", "The device's own address, rate and version.") +
           formatText(
               "korval_device_info{address=\"%d\",device_address=\"%d\",baud_rate=\"%d\","
               "version=\"%s\"} 1\n",
               a, r.identity.address, r.identity.baudRate, version(r.identity).c_str());
    out += limitSeries("korval_limit_temperature_upper_celsius", "Temperature upper limit.", a,
                       l.tempUpper);
    out += limitSeries("korval_limit_temperature_lower_celsius", "Temperature lower limit.", a,
                       l.tempLower);
    out += limitSeries("korval_limit_voltage_upper_volts", "Cell voltage upper limit.", a,
                       l.voltUpper);
    out += limitSeries("korval_limit_voltage_lower_volts", "Cell voltage lower limit.", a,
                       l.voltLower);
    out += limitSeries("korval_limit_resistance_upper_ohms", "Cell resistance upper limit.", a,
                       l.resistanceUpper * 0.001);
    out += limitSeries("korval_limit_current_upper_amperes", "Bank current upper limit.", a,
                       l.currentUpper);
    out += prometheusHeader("korval_alarm_active", "The device's alarm status, by kind.");
    for (int k = 0; k < kAlarmKindCount; ++k) {
        out += formatText("korval_alarm_active{address=\"%d\",kind=\"%s\"} %d\n", a,
                          kAlarmKinds[k].key, active(r.alarmStatus, k) ? 1 : 0);
    }
    return out;
}

}  // namespace

std::string formatInfo(const InfoReport& report, OutputFormat format) {
    return writeAs(report, format, FormatWriters<InfoReport>{text, json, csv, prometheus});
}
