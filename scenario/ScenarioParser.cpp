// Scenario lines to steps: a table of step forms (keywords and argument slots) matched
// word by word, so each form is written once and every bad line gets a precise reason.
#include "ScenarioParser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

enum class SlotKind { None, Number, OptionalNumber, Text, Items, Hex, Fault, Key, Mark };

struct Slot {
    SlotKind kind = SlotKind::None;
    const char* name = "";
    int min = 0;
    int max = 0;
    int fallback = 0;  // OptionalNumber: the value when the line leaves it out
};

constexpr Slot num(const char* name, int min, int max) {
    return {SlotKind::Number, name, min, max, 0};
}
constexpr Slot optNum(const char* name, int min, int max, int fallback) {
    return {SlotKind::OptionalNumber, name, min, max, fallback};
}
constexpr Slot id() {
    return num("ID", 0, 0xFFFF);
}
constexpr Slot text() {
    return {SlotKind::Text, "TEXT", 0, 0, 0};
}
constexpr Slot items() {
    return {SlotKind::Items, "A|B|C", 0, 0, 0};
}
constexpr Slot hex() {
    return {SlotKind::Hex, "HEX...", 0, 0, 0};
}
constexpr Slot fault() {
    return {SlotKind::Fault, "KIND", 0, 0, 0};
}
constexpr Slot key() {
    return {SlotKind::Key, "KEY", 0, 0, 0};
}
constexpr Slot mark() {
    return {SlotKind::Mark, "MARK", 0, 0, 0};
}

struct Form {
    std::string_view phrase;
    StepOp op;
    std::array<Slot, 5> slots;
};

constexpr int kMaxWaitMs = 10 * 60 * 1000;
constexpr int kMaxCount = 1'000'000;

// Order matters only where one phrase starts another: `password cancel` before `password`,
// `click later` before `click`.
const Form kForms[] = {
    {"tab", StepOp::Tab, {num("N", 0, 8)}},
    {"click later", StepOp::ClickLater, {num("MS", 0, kMaxWaitMs), id()}},
    {"click", StepOp::Click, {id()}},
    {"type", StepOp::Type, {id(), text()}},
    {"select", StepOp::Select, {id(), num("INDEX", 0, kIntMax)}},
    {"treeclick", StepOp::TreeClick, {id(), text()}},
    {"key", StepOp::Key, {id(), key()}},
    {"wait", StepOp::Wait, {num("MS", 0, kMaxWaitMs)}},
    {"password cancel", StepOp::PasswordCancel, {}},
    {"password", StepOp::Password, {text()}},
    {"expect text", StepOp::ExpectText, {id(), text()}},
    {"expect number",
     StepOp::ExpectNumber,
     {id(), num("LO", kIntMin, kIntMax), num("HI", kIntMin, kIntMax)}},
    {"expect cell",
     StepOp::ExpectCell,
     {id(), num("ROW", 0, kIntMax), num("COL", 0, kIntMax), text()}},
    {"expect cellcolor",
     StepOp::ExpectCellColor,
     {id(), num("ROW", 0, kIntMax), num("COL", 0, kIntMax), mark()}},
    {"expect celltip",
     StepOp::ExpectCellTip,
     {id(), num("ROW", 0, kIntMax), num("COL", 0, kIntMax), text()}},
    {"expect rows", StepOp::ExpectRows, {id(), num("N", 0, kIntMax)}},
    {"expect items", StepOp::ExpectItems, {id(), items()}},
    {"expect selected", StepOp::ExpectSelected, {id(), num("INDEX", -1, kIntMax)}},
    {"expect checked", StepOp::ExpectChecked, {id()}},
    {"expect unchecked", StepOp::ExpectUnchecked, {id()}},
    {"expect itemchecked", StepOp::ExpectItemChecked, {id(), text()}},
    {"expect itemunchecked", StepOp::ExpectItemUnchecked, {id(), text()}},
    {"expect curves", StepOp::ExpectCurves, {id(), num("N", 0, kIntMax)}},
    {"expect samples", StepOp::ExpectSamples, {id(), num("N", 0, kIntMax)}},
    {"expect enabled", StepOp::ExpectEnabled, {id()}},
    {"expect disabled", StepOp::ExpectDisabled, {id()}},
    {"expect visible", StepOp::ExpectVisible, {id()}},
    {"expect hidden", StepOp::ExpectHidden, {id()}},
    {"expect tab", StepOp::ExpectTab, {num("N", 0, 8)}},
    {"expect showing", StepOp::ExpectShowing, {num("T", 0, 0xFFFF)}},
    {"expect title", StepOp::ExpectTitle, {text()}},
    {"expect link",
     StepOp::ExpectLink,
     {num("P", kIntMin, kIntMax), num("B", kIntMin, kIntMax), num("A", kIntMin, kIntMax)}},
    {"expect message", StepOp::ExpectMessage, {text()}},
    {"expect warning", StepOp::ExpectWarning, {text()}},
    {"expect no message", StepOp::ExpectNoMessage, {}},
    {"expect request", StepOp::ExpectRequest, {hex()}},
    {"expect every request", StepOp::ExpectEveryRequest, {hex()}},
    {"expect no request", StepOp::ExpectNoRequest, {}},
    {"device set", StepOp::DeviceSet, {num("REG", 0, 0xFFFF), num("VALUE", 0, 0xFFFF)}},
    {"device fault", StepOp::DeviceFault, {fault(), optNum("N", 1, kMaxCount, 1)}},
    {"device pass", StepOp::DevicePass, {num("N", 1, kMaxCount)}},
    {"device line", StepOp::DeviceLine, {num("A", 1, 247), num("B", 0, 115200)}},
    {"device records voltage",
     StepOp::DeviceVoltageRecords,
     {num("G", 0, 0xFFFF), num("N", 0, kMaxCount)}},
    {"device records resistance", StepOp::DeviceResistanceRecords, {num("N", 0, kMaxCount)}},
    {"device records alarm", StepOp::DeviceAlarmRecords, {num("N", 0, kMaxCount)}},
    {"device weak", StepOp::DeviceWeak, {num("N", 0, 40)}},
};

// A word of the format that names a value.
template <class T>
struct Named {
    std::string_view name;
    T value;
};
constexpr Named<ScenarioFault> kFaultNames[] = {
    {"silent", ScenarioFault::Silent},       {"short", ScenarioFault::Short},
    {"long", ScenarioFault::Long},           {"crc", ScenarioFault::Crc},
    {"exception", ScenarioFault::Exception}, {"late", ScenarioFault::Late},
    {"garbage", ScenarioFault::Garbage},
};
constexpr std::string_view kFaultList = "silent|short|long|crc|exception|late|garbage";

constexpr Named<ScenarioKey> kKeyNames[] = {
    {"enter", ScenarioKey::Enter}, {"escape", ScenarioKey::Escape}, {"space", ScenarioKey::Space},
    {"up", ScenarioKey::Up},       {"down", ScenarioKey::Down},
};
constexpr std::string_view kKeyList = "enter|escape|space|up|down";

constexpr Named<ScenarioMark> kMarkNames[] = {
    {"none", ScenarioMark::None},       {"normal", ScenarioMark::Normal},
    {"warning", ScenarioMark::Warning}, {"over", ScenarioMark::Over},
    {"stale", ScenarioMark::Stale},
};
constexpr std::string_view kMarkList = "normal|warning|over|stale|none|#RRGGBB";

// "#RRGGBB": a colour written out instead of a mark.
bool isColorWord(std::string_view word) {
    return word.size() == 7 && word[0] == '#' &&
           std::all_of(word.begin() + 1, word.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Reads a line word by word; rest() is what is left, without surrounding blanks.
class Words {
  public:
    explicit Words(std::string_view line) : m_rest(trim(line)) {}

    std::string_view next() {
        const size_t end = wordEnd();
        const std::string_view word = m_rest.substr(0, end);
        m_rest = trim(m_rest.substr(end));
        return word;
    }
    std::string_view peek() const { return m_rest.substr(0, wordEnd()); }
    std::string_view rest() const { return m_rest; }
    bool empty() const { return m_rest.empty(); }

  private:
    size_t wordEnd() const {
        size_t end = 0;
        while (end < m_rest.size() && !isBlank(m_rest[end])) {
            ++end;
        }
        return end;
    }
    std::string_view m_rest;
};

// Decimal with an optional minus, or 0x hex.
std::optional<long long> parseNumber(std::string_view word) {
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
        if (word.front() == '-' || word.front() == '+') {
            return std::nullopt;
        }
    }
    long long value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool matchPhrase(std::string_view phrase, Words& words) {
    Words wanted(phrase);
    Words trial = words;
    while (!wanted.empty()) {
        if (trial.next() != wanted.next()) {
            return false;
        }
    }
    words = trial;
    return true;
}

std::string usage(const Form& form) {
    std::string text(form.phrase);
    for (const Slot& slot : form.slots) {
        if (slot.kind == SlotKind::OptionalNumber) {
            text += std::string(" [") + slot.name + "]";
        } else if (slot.kind != SlotKind::None) {
            text += std::string(" ") + slot.name;
        }
    }
    return text;
}

std::string takeText(Words& words) {
    const std::string_view rest = words.rest();
    words = Words({});
    return rest == "\"\"" ? std::string() : std::string(rest);
}

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> parts;
    if (text.empty()) {
        return parts;
    }
    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The value the next word names into `value`, or the reason it names none.
template <class T, size_t N>
std::optional<std::string> takeName(Words& words, const Named<T> (&names)[N], const char* what,
                                    std::string_view list, T& value) {
    const std::string_view word = words.next();
    for (const Named<T>& name : names) {
        if (name.name == word) {
            value = name.value;
            return std::nullopt;
        }
    }
    return std::string(what) + " '" + std::string(word) + "' (" + std::string(list) + ")";
}

// Fills one slot of `step` from `words`; the reason when the line does not fit.
std::optional<std::string> fillSlot(const Form& form, const Slot& slot, Words& words, Step& step) {
    const bool optional = slot.kind == SlotKind::OptionalNumber;
    if (words.empty()) {
        if (optional) {
            step.numbers.push_back(slot.fallback);
            return std::nullopt;
        }
        std::string reason = std::string("no ") + slot.name + " (" + usage(form) + ")";
        if (slot.kind == SlotKind::Text || slot.kind == SlotKind::Items) {
            reason += "; write \"\" for the empty text";
        }
        return reason;
    }
    switch (slot.kind) {
        case SlotKind::Text:
            step.text = takeText(words);
            return std::nullopt;
        case SlotKind::Items:
            step.text = takeText(words);
            step.items = splitItems(step.text);
            return std::nullopt;
        case SlotKind::Hex: {
            const std::string rest(words.rest());
            auto bytes = parseHexBytes(rest);
            if (!bytes) {
                return "'" + rest + "' where hex bytes should be (pairs like 01 A0)";
            }
            step.bytes = std::move(*bytes);
            words = Words({});
            return std::nullopt;
        }
        case SlotKind::Fault:
            return takeName(words, kFaultNames, "fault", kFaultList, step.fault);
        case SlotKind::Key:
            return takeName(words, kKeyNames, "key", kKeyList, step.key);
        case SlotKind::Mark:
            if (isColorWord(words.peek())) {
                step.text = std::string(words.next());
                return std::nullopt;
            }
            return takeName(words, kMarkNames, "mark", kMarkList, step.mark);
        default:
            break;
    }
    const std::string word(words.next());
    const auto value = parseNumber(word);
    if (!value) {
        return "'" + word + "' where " + slot.name + " should be a number (" + usage(form) + ")";
    }
    if (*value < slot.min || *value > slot.max) {
        return std::string(slot.name) + " " + word + ", outside " + std::to_string(slot.min) +
               ".." + std::to_string(slot.max);
    }
    step.numbers.push_back(static_cast<int>(*value));
    return std::nullopt;
}

std::optional<std::string> fillSlots(const Form& form, Words& words, Step& step) {
    for (const Slot& slot : form.slots) {
        if (slot.kind == SlotKind::None) {
            break;
        }
        if (auto reason = fillSlot(form, slot, words, step)) {
            return reason;
        }
    }
    if (!words.empty()) {
        return "'" + std::string(words.peek()) + "' after the last argument (" + usage(form) + ")";
    }
    return std::nullopt;
}

std::string unknownStep(Words words) {
    std::string name(words.next());
    if ((name == "expect" || name == "device") && !words.empty()) {
        name += " " + std::string(words.next());
    }
    return "unknown step '" + name + "'";
}

// One non-comment line: the step, or the reason it is not one.
std::optional<std::string> parseLine(std::string_view line, Step& step) {
    for (const Form& form : kForms) {
        Words words(line);
        if (!matchPhrase(form.phrase, words)) {
            continue;
        }
        if (form.op == StepOp::PasswordCancel && !words.empty()) {
            continue;  // a password that starts with "cancel"
        }
        step.op = form.op;
        return fillSlots(form, words, step);
    }
    return unknownStep(Words(line));
}

}  // namespace

ParsedScenario parseScenario(std::string_view text) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (text.substr(0, kBom.size()) == kBom) {
        text.remove_prefix(kBom.size());
    }
    ParsedScenario parsed;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        Step step;
        step.line = lineNumber;
        step.source = std::string(line);
        if (auto reason = parseLine(line, step)) {
            parsed.error = ScenarioError{lineNumber, step.source, *reason};
            return parsed;
        }
        parsed.steps.push_back(std::move(step));
    }
    return parsed;
}

std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text) {
    std::vector<uint8_t> bytes;
    Words words(text);
    while (!words.empty()) {
        const std::string_view word = words.next();
        unsigned value = 0;
        const char* end = word.data() + word.size();
        const auto [ptr, ec] = std::from_chars(word.data(), end, value, 16);
        if (word.size() != 2 || ec != std::errc() || ptr != end) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<uint8_t>(value));
    }
    if (bytes.empty()) {
        return std::nullopt;
    }
    return bytes;
}

std::string formatHexBytes(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}
