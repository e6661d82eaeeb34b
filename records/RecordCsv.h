// A record list written to a CSV file for a spreadsheet: the rows the list shows with a header
// row, times in ISO 8601 and values as plain numbers; and its "导出CSV..." command.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CsvFile.h"
#include "FileErrorText.h"
#include "RecordDecoding.h"

class CDialog;
class CReportList;
class QWidget;

// The header row: the list's headings, with each channel's unit where the list writes it
// after every value ("电池1电压(V)"). Alarm values carry no unit in the list (it follows the
// alarm's kind), so their channels keep the list's headings.
std::vector<std::string> recordCsvHeader(RecordKind kind);
// A list cell as CSV field: the time in ISO form, a channel value without its unit, any
// other cell (the label, the alarm kind) as the list shows it.
std::string recordCsvCell(RecordKind kind, int column, std::string_view listText);
// "2013/5/18/9/30/7" (the list's form of a stamp) as "2013-05-18 09:30:07"; nullopt when a
// field is not a decimal number (the stamp was not BCD) or the date or time does not exist.
std::optional<std::string> isoTimeFromStampText(std::string_view stampText);

// Writes the rows `list` shows to `path` (see writeCsvFile: nothing is left half written).
// False with the reason for the operator in `error` when the list is empty or the file
// cannot be written. The list is only read. Windows stay painted while it writes; user input
// waits until it is done.
bool exportRecordsCsv(const CReportList& list, RecordKind kind, const std::string& path,
                      std::string& error);
// writeCsvFile, with the reason of a failure in the operator's words.
bool writeCsvFileTold(const std::string& path, const CsvLineSource& nextLine, std::string& error);

// "导出CSV...": tells an empty list, else asks for the file (`what` names the records in the
// suggested name), adds ".csv" when missing, exports and tells how it went in `owner`'s box.
void exportRecordListAsUser(CDialog& owner, const CReportList& list, RecordKind kind,
                            std::string_view what);

// The same for any rows: says there is nothing to export when `rows` is 0, else asks for
// the file and lets `write` write it; `write` gives the reason when it fails.
using CsvExport = std::function<bool(const std::string& path, std::string& error)>;
void exportCsvAsUser(CDialog& owner, int rows, std::string_view what, const CsvExport& write);

// Asks where to save; "" when the operator cancels. By default the file dialog; tests answer
// here instead. An empty asker restores the file dialog.
using SaveFileAsker = std::function<std::string(QWidget* owner, const std::string& suggestedPath)>;
void setSaveFileAsker(SaveFileAsker asker);
