// What each subcommand found, and how it is written in each output format. Pure: the texts
// are made here, the command prints them.
#pragma once

#include <cstdint>
#include <string>

#include "CliOptions.h"
#include "DeviceConfig.h"
#include "LiveBlock.h"
#include "StoredRecords.h"
#include "Verdict.h"

struct ReadReport {
    int address = 1;
    LiveReadings live;
    Judgement judgement;
};

struct InfoReport {
    int address = 1;  // the address asked
    DeviceIdentity identity;
    AlarmLimits limits;
    AlarmMasks masks;
    uint16_t alarmStatus = 0;
};

struct RecordsReport {
    RecordKind kind = RecordKind::Voltage;
    int group = 1;
    RecordRead read;
};

std::string formatRead(const ReadReport& report, OutputFormat format);
std::string formatInfo(const InfoReport& report, OutputFormat format);
std::string formatRecords(const RecordsReport& report, OutputFormat format);
// What is printed when the device gave no answer: nothing, except in the prometheus format,
// where a scraper reads korval_up 0.
std::string formatNoAnswer(int address, OutputFormat format);
