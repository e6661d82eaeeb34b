// Texts of the long-read box.
#include "ReadProgressText.h"

#include <cmath>

#include "RegisterCoding.h"

namespace {
constexpr int kRequestBytes = 8;
constexpr double kFrameGapChars = 3.5;
constexpr double kBitsPerChar = 10.0;  // start bit, 8 data bits, stop bit
}  // namespace

double recordLineSeconds(int replyBytes, int baud) {
    if (baud <= 0 || replyBytes < 0) {
        return 0.0;
    }
    const double chars = kRequestBytes + replyBytes + 2 * kFrameGapChars;
    return chars * kBitsPerChar / baud;
}

std::string durationText(double seconds) {
    const long long whole = seconds > 0 ? static_cast<long long>(std::ceil(seconds)) : 0;
    const long long hours = whole / 3600;
    const long long minutes = whole % 3600 / 60;
    if (hours > 0) {
        return formatText("%lld 小时 %lld 分", hours, minutes);
    }
    if (minutes > 0) {
        return formatText("%lld 分 %lld 秒", minutes, whole % 60);
    }
    return formatText("%lld 秒", whole);
}

std::string readProgressText(const std::string& what, int done, int total, double secondsLeft) {
    std::string text = formatText("正在读取%s\n已读取 %d / %d 条", what.c_str(), done, total);
    if (secondsLeft >= 0) {
        text += "，预计还需 " + durationText(secondsLeft);
    }
    return text;
}
