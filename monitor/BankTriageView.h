// The bank page's judgement of a reading, put on its controls: the marks and tips of the
// value cells, the summary table, the worst cells and the state lines.
#pragma once

#include <string_view>

#include "LiveBlock.h"

class CDialog;

// Columns and row labels of the summary table and the worst-cell list.
void setUpTriageLists(CDialog& page);

// Judges `readings` by the limits, baseline and bands of judgeState() and shows it all.
// `stale`: the readings are from the last good tick at `lastGoodTime` (HH:MM:SS), and later
// ticks failed.
void showBankTriage(CDialog& page, const LiveReadings& readings, bool stale,
                    std::string_view lastGoodTime);
