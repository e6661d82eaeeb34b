// Runs scenario files against a fresh main window each, and words the outcome as the
// runner's report lines.
#pragma once

#include <map>
#include <string>
#include <string_view>

struct FileResult {
    bool passed = true;
    int line = 0;             // of the step that failed
    std::string expectation;  // that step as written
    std::string found;        // what was found instead
};

// `ports`: COMn -> device path; without COM1 the file gets the built-in device there.
FileResult runScenarioText(std::string_view text, const std::map<int, std::string>& ports);
FileResult runScenarioFile(const std::string& path, const std::map<int, std::string>& ports);

// "PASS file" or "FAIL file:line: expectation — found what".
std::string reportLine(const std::string& file, const FileResult& result);
