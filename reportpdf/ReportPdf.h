// The maintenance report as a PDF: A4 pages, the header, the missing parts, the verdict,
// the tables, the resistance trend chart and the signature lines. Every meaning is in words
// or line styles, never in colour alone, so a black-and-white print keeps it.
#pragma once

#include <string>

#include "ReportModel.h"

// Draws `content` with Latin text from DejaVu Sans and Chinese from `cjkFace` ("" lets
// fontconfig choose) and writes it aside, renamed to `path` once whole. Needs a
// QGuiApplication. False with the reason in `error`.
bool writeReportPdf(const report::ReportContent& content, const std::string& path,
                    const std::string& cjkFace, std::string& error);
