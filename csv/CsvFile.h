// CSV files as spreadsheet programs read them: RFC 4180 fields and lines, UTF-8 with a
// byte-order mark, written whole or not at all. Pure, no Qt: any list or curve can use it.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
inline constexpr std::string_view kCsvLineEnd = "\r\n";

// The field as it stands, or quoted (quotes doubled) when it holds a comma, a quote, CR or LF.
std::string csvField(std::string_view text);
// The fields joined by commas, without a line end.
std::string csvLine(std::span<const std::string> fields);

// Gives the next line (without its line end) into `line`, or returns false at the end.
using CsvLineSource = std::function<bool(std::string& line)>;

// Writes the byte-order mark and the lines, each ended by CRLF, to a temporary file beside
// `path` and renames it to `path` only when all of it is on disk: a failed write leaves
// whatever stood at `path` untouched and no temporary file behind. Lines are asked for one at
// a time, so a long file costs no more memory than one buffer. On failure returns false with
// `errorNumber` set to the errno of the step that failed.
bool writeCsvFile(const std::string& path, const CsvLineSource& nextLine, int& errorNumber);
bool writeCsvFile(const std::string& path, std::span<const std::string> lines, int& errorNumber);
// Any file's bytes written the same way: whole at `path`, or not at all.
bool writeFileAside(const std::string& path, std::string_view bytes, int& errorNumber);
