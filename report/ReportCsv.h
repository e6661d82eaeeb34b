// The report as CSV, the same words and numbers as the PDF, a section after another: its
// title, its column headings, its rows and its notes, then a blank line.
#pragma once

#include <string>
#include <vector>

#include "ReportModel.h"

namespace report {

std::vector<std::string> reportCsvLines(const ReportContent& content);
// Written aside and renamed into place; false with the reason in `error`.
bool writeReportCsv(const ReportContent& content, const std::string& path, std::string& error);
// Why a report file could not be written, in the technician's words.
std::string fileErrorText(const std::string& path, int errorNumber);

}  // namespace report
