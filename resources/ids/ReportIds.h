// Control ids of the maintenance report dialog (template 160), and its menu entry.
#pragma once

// The main window's context menu entry that opens the dialog.
inline constexpr const char* kReportMenuCaption = "生成报告...";

namespace idc::report {
inline constexpr int kSite = 1600;
inline constexpr int kString = 1601;
inline constexpr int kTechnician = 1602;
inline constexpr int kSaveFields = 1603;
inline constexpr int kReadRecords = 1604;
inline constexpr int kPdfPath = 1605;
inline constexpr int kBrowse = 1606;
inline constexpr int kCsvPath = 1607;
inline constexpr int kProgress = 1608;
inline constexpr int kGenerate = 1609;
}  // namespace idc::report
