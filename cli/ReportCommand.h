// korval report: reads what the maintenance report needs on the open port, writes its CSV
// and hands the PDF to the writer the program installs (drawing needs Qt Gui, which this
// library does not link).
#pragma once

#include <functional>
#include <string>

#include "CliOptions.h"
#include "RegisterLink.h"
#include "ReportModel.h"
#include "Verdict.h"

using ReportPdfWriter = std::function<bool(const report::ReportContent& content,
                                           const std::string& path, std::string& error)>;
void setReportPdfWriter(ReportPdfWriter writer);

struct ReportRun {
    Verdict verdict = Verdict::Ok;
    std::string output;   // where the files are
    std::string problem;  // what is missing or could not be written
};
ReportRun runReport(const CliOptions& options, const RegisterLink& link);

// The CSV's path: --csv, else the PDF's with ".csv" for its ".pdf" (or added).
std::string reportCsvPath(const CliOptions& options);
