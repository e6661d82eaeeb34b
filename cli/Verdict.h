// How a reading is judged for a monitoring system: each watched value against its bands, the
// worst one giving the exit code. Until bank triage has its own bands, the bands are the
// device's alarm limits with a warning margin inside them; other bands plug in as another
// BankJudge. Pure, no I/O.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "DeviceConfig.h"
#include "LiveBlock.h"

// The exit codes, worst last.
enum class Verdict { Ok = 0, Warning = 1, Fail = 2, NoAnswer = 3 };
Verdict worse(Verdict a, Verdict b);
const char* verdictName(Verdict verdict);  // "ok", "warning", "fail", "no-answer"
const char* verdictText(Verdict verdict);  // "正常", "警告", "故障", "无应答"

enum class Quantity { Voltage, Resistance, Temperature, Current };

// One value outside its normal band.
struct Finding {
    Quantity quantity = Quantity::Voltage;
    int cell = 0;  // 1..40; 0 for the bank current
    double value = 0;
    double limit = 0;  // the limit it is beyond or near
    bool upper = true;
    Verdict verdict = Verdict::Warning;
};

struct Judgement {
    Verdict verdict = Verdict::Ok;
    std::vector<Finding> findings;  // fails first, then warnings, each in cell order
};

using BankJudge = std::function<Judgement(const LiveReadings&)>;

// Near a limit: within this share of the band (upper - lower where there are two limits,
// the upper limit where there is one).
inline constexpr double kWarningMargin = 0.1;

// Fail beyond a limit, warning within the margin of it. Only the channels the device watches
// (its alarm masks) are judged, so the empty channels of a short string stay quiet; a limit
// left at 0, or a band whose lower limit is not below its upper one, judges nothing. The
// current is judged by its size, whichever way it flows.
BankJudge limitBands(const AlarmLimits& limits, const AlarmMasks& masks,
                     double margin = kWarningMargin);

// "通道#3 电压 13.950V 接近上限 14.0V", "电池组总电流 -120.0A 超过上限 100A"
std::string findingText(const Finding& finding);
