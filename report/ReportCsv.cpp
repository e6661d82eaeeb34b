// The report's CSV lines and file.
#include "ReportCsv.h"

#include <cstring>

#include "CsvFile.h"
#include "FileErrorText.h"

namespace report {

namespace {

void addTable(const ReportTable& table, std::vector<std::string>& lines) {
    lines.push_back(csvField(table.title));
    lines.push_back(csvLine(table.columns));
    for (const auto& row : table.rows) {
        lines.push_back(csvLine(row));
    }
    for (const std::string& note : table.notes) {
        lines.push_back(csvField(note));
    }
    lines.emplace_back();
}

// What the operator typed (site, string, technician) as text a spreadsheet never runs as a
// formula: a leading = + - @ gets an apostrophe before it.
std::string typedText(const std::string& value) {
    return !value.empty() && std::strchr("=+-@", value.front()) != nullptr ? "'" + value : value;
}

}  // namespace

std::vector<std::string> reportCsvLines(const ReportContent& content) {
    std::vector<std::string> lines{csvField(content.title), ""};
    lines.push_back(csvLine(std::vector<std::string>{"项目", "内容"}));
    for (const auto& [field, value] : content.header) {
        lines.push_back(csvLine(std::vector<std::string>{field, typedText(value)}));
    }
    for (const std::string& line : content.missing) {
        lines.push_back(csvField(line));
    }
    lines.push_back(csvField(content.verdict));
    lines.emplace_back();
    for (const ReportTable* table :
         {&content.summary, &content.limits, &content.worst, &content.cells, &content.trend}) {
        addTable(*table, lines);
    }
    return lines;
}

bool writeReportCsv(const ReportContent& content, const std::string& path, std::string& error) {
    int errorNumber = 0;
    if (!writeCsvFile(path, reportCsvLines(content), errorNumber)) {
        error = fileErrorText(path, errorNumber);
        return false;
    }
    return true;
}

std::string fileErrorText(const std::string& path, int errorNumber) {
    return "无法写入文件 " + path + "：" + ::fileErrorText(errorNumber);
}

}  // namespace report
