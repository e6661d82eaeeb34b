// `korval scan`: every rate and address tried for a device, the current settings first; what
// answered is listed on `out` (text, JSON or CSV), notes and progress go to `err`.
#pragma once

#include <ostream>

#include "CliOptions.h"
#include "DeviceScan.h"

// The list of `result` in `format`.
std::string formatScan(const ScanResult& result, OutputFormat format);
// Exit code 0 when a device answered, 3 when nothing did or the port failed.
int runScan(const CliOptions& options, std::ostream& out, std::ostream& err);
