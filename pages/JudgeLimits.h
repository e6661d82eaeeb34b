// The device's alarm limits as the bank is judged by them: read on the operator's demand,
// or taken over whenever a page has read one of them.
#pragma once

#include <cstdint>

class CDialog;

// Reads the four limit registers and the channel masks on one port opening into
// judgeState().limits and .masks. Tells the operator "读取失败" in the page's box when a read
// fails; what was known before stays.
bool readJudgeLimits(CDialog& page);

// A limit register (reg::kTempLimits .. reg::kCurrentLimit) a page has just read: its limits
// count from now on; the others stay as they were known.
void rememberLimitRegister(uint16_t reg, uint16_t value);
