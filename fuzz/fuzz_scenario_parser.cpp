// The scenario parser on any text: every step it accepts names its line, keeps the line as
// written (trimmed), and reads back as the same step from that text alone; an error names
// a line that exists and comes after every accepted step; request bytes print and parse
// back unchanged.
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "ScenarioParser.h"

namespace {

std::vector<std::string_view> linesOf(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool sameStep(const Step& a, const Step& b) {
    return a.op == b.op && a.numbers == b.numbers && a.text == b.text && a.items == b.items &&
           a.bytes == b.bytes && a.fault == b.fault;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedScenario parsed = parseScenario(text);
    const std::vector<std::string_view> lines = linesOf(text);
    int previous = 0;
    for (const Step& step : parsed.steps) {
        FUZZ_CHECK(step.line > previous && step.line <= static_cast<int>(lines.size()));
        previous = step.line;
        FUZZ_CHECK(step.source == trimmed(lines[static_cast<size_t>(step.line - 1)]));
        FUZZ_CHECK(!step.source.empty() && step.source[0] != '#');
        const ParsedScenario again = parseScenario(step.source);
        FUZZ_CHECK(!again.error && again.steps.size() == 1 && sameStep(again.steps[0], step));
        if (step.op == StepOp::ExpectRequest || step.op == StepOp::ExpectEveryRequest) {
            FUZZ_CHECK(!step.bytes.empty());
            FUZZ_CHECK(parseHexBytes(formatHexBytes(step.bytes)) == step.bytes);
        }
    }
    if (parsed.error) {
        FUZZ_CHECK(parsed.error->line > previous &&
                   parsed.error->line <= static_cast<int>(lines.size()));
        FUZZ_CHECK(parsed.error->source ==
                   trimmed(lines[static_cast<size_t>(parsed.error->line - 1)]));
        FUZZ_CHECK(!parsed.error->found.empty());
    }
    if (const auto bytes = parseHexBytes(text)) {
        FUZZ_CHECK(!bytes->empty() && parseHexBytes(formatHexBytes(*bytes)) == bytes);
    }
    return 0;
}
