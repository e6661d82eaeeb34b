// How a reading is judged for a monitoring system: the bank analysis against the device's
// own limits, only over the channels the device watches, the verdict giving the exit code,
// and the texts of the worst cells. Pure, no I/O.
#pragma once

#include <string>

#include "BankAnalysis.h"
#include "DeviceConfig.h"
#include "LiveBlock.h"

// The exit codes, worst last.
enum class Verdict { Ok = 0, Warning = 1, Fail = 2, NoAnswer = 3 };
Verdict worse(Verdict a, Verdict b);
const char* verdictName(Verdict verdict);  // "ok", "warning", "fail", "no-answer"
const char* verdictText(Verdict verdict);  // "正常", "警告", "故障", "无应答"

struct Judgement {
    Verdict verdict = Verdict::Ok;
    analysis::BankReport report;
    analysis::Limits limits;  // as applied, for the texts
    int unmeasured = 0;       // watched channels without a value (resistance 0: not measured)
};

// Fail when a watched value is beyond a limit, warning when one is near a limit, a watched
// resistance was not measured, or no limit judges anything; ok otherwise. A channel the
// device does not watch (the empty places of a short string) is not judged and does not
// make the reading a warning.
Judgement judgeReading(const LiveReadings& live, const AlarmLimits& limits,
                       const AlarmMasks& masks);

// A band as the outputs name it: "ok", "warning", "fail", "unjudged".
const char* bandName(analysis::Band band);
const char* quantityName(analysis::Quantity quantity);  // "voltage", ...

// "通道#3 电压 13.950V 接近上限 14.0V", "通道#7 内阻 1.30mΩ 高于平均值 30.0%"
std::string reasonText(int cell, const analysis::Reason& reason, const analysis::Limits& limits);
// "电池组总电流 -120.0A 超过上限 100A"; empty when the current is within its band.
std::string currentText(const Judgement& judgement, double current);
