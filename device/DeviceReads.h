// The device's values read and decoded in one call each, with the same requests the pages
// send (a device known to answer those answers these). nullopt when an exchange failed.
#pragma once

#include <optional>

#include "DeviceConfig.h"
#include "LiveBlock.h"
#include "RegisterLink.h"

std::optional<LiveReadings> readLive(const RegisterLink& link);
std::optional<DeviceIdentity> readIdentity(const RegisterLink& link);
// Four reads of one register each, as the system parameter page reads them.
std::optional<AlarmLimits> readLimits(const RegisterLink& link);
// Three input reads of three registers.
std::optional<AlarmMasks> readMasks(const RegisterLink& link);
std::optional<uint16_t> readAlarmStatus(const RegisterLink& link);
