// Scenario parser: every step form, the text and number rules, and the reason given for
// each kind of bad line.
#include <gtest/gtest.h>

#include "ScenarioParser.h"

namespace {

Step onlyStep(std::string_view line) {
    const ParsedScenario parsed = parseScenario(line);
    EXPECT_FALSE(parsed.error) << line << ": " << parsed.error->found;
    EXPECT_EQ(parsed.steps.size(), 1u) << line;
    return parsed.steps.empty() ? Step{} : parsed.steps.front();
}

std::string errorOf(std::string_view text) {
    const ParsedScenario parsed = parseScenario(text);
    return parsed.error ? parsed.error->found : std::string("(no error)");
}

struct FormCase {
    const char* line;
    StepOp op;
    std::vector<int> numbers;
    const char* text;
};

TEST(ScenarioParser, EveryFormGivesItsStepAndArguments) {
    const FormCase cases[] = {
        {"tab 5", StepOp::Tab, {5}, ""},
        {"click 1047", StepOp::Click, {1047}, ""},
        {"click later 800 1019", StepOp::ClickLater, {800, 1019}, ""},
        {"type 1002 12abc", StepOp::Type, {1002}, "12abc"},
        {"select 1003 11", StepOp::Select, {1003, 11}, ""},
        {"treeclick 1149 通道#3", StepOp::TreeClick, {1149}, "通道#3"},
        {"wait 1200", StepOp::Wait, {1200}, ""},
        {"password 8888", StepOp::Password, {}, "8888"},
        {"password cancel", StepOp::PasswordCancel, {}, ""},
        {"expect text 1019 开始连续读取", StepOp::ExpectText, {1019}, "开始连续读取"},
        {"expect number 1020 1 0x7FFFFFFF", StepOp::ExpectNumber, {1020, 1, 0x7FFFFFFF}, ""},
        {"expect cell 1014 9 10 3.456V", StepOp::ExpectCell, {1014, 9, 10}, "3.456V"},
        {"expect celltip 1044 6 4 超过上限 10.0mΩ",
         StepOp::ExpectCellTip,
         {1044, 6, 4},
         "超过上限 10.0mΩ"},
        {"expect rows 1017 20", StepOp::ExpectRows, {1017, 20}, ""},
        {"expect cellcolor 1014 2 5 #FFE182", StepOp::ExpectCellColor, {1014, 2, 5}, "#FFE182"},
        {"expect items 1023 列表|条形图|曲线", StepOp::ExpectItems, {1023}, "列表|条形图|曲线"},
        {"expect selected 1023 -1", StepOp::ExpectSelected, {1023, -1}, ""},
        {"expect checked 1005", StepOp::ExpectChecked, {1005}, ""},
        {"expect unchecked 1005", StepOp::ExpectUnchecked, {1005}, ""},
        {"expect enabled 1123", StepOp::ExpectEnabled, {1123}, ""},
        {"expect disabled 1123", StepOp::ExpectDisabled, {1123}, ""},
        {"expect visible 1023", StepOp::ExpectVisible, {1023}, ""},
        {"expect hidden 1023", StepOp::ExpectHidden, {1023}, ""},
        {"expect tab 0", StepOp::ExpectTab, {0}, ""},
        {"expect showing 130", StepOp::ExpectShowing, {130}, ""},
        {"expect title KORVALVer1.1", StepOp::ExpectTitle, {}, "KORVALVer1.1"},
        {"expect link 1 9600 1", StepOp::ExpectLink, {1, 9600, 1}, ""},
        {"expect message 读取失败", StepOp::ExpectMessage, {}, "读取失败"},
        {"expect warning 没有发现此串口或此串口被占用",
         StepOp::ExpectWarning,
         {},
         "没有发现此串口或此串口被占用"},
        {"expect no message", StepOp::ExpectNoMessage, {}, ""},
        {"device set 0x0050 0x807B", StepOp::DeviceSet, {0x50, 0x807B}, ""},
        {"device records voltage 2 15", StepOp::DeviceVoltageRecords, {2, 15}, ""},
        {"device records resistance 7", StepOp::DeviceResistanceRecords, {7}, ""},
        {"device records alarm 0", StepOp::DeviceAlarmRecords, {0}, ""},
        {"device line 5 1200", StepOp::DeviceLine, {5, 1200}, ""},
        {"device weak 17", StepOp::DeviceWeak, {17}, ""},
        {"expect no request", StepOp::ExpectNoRequest, {}, ""},
    };
    for (const FormCase& c : cases) {
        const Step step = onlyStep(c.line);
        EXPECT_EQ(step.op, c.op) << c.line;
        EXPECT_EQ(step.numbers, c.numbers) << c.line;
        EXPECT_EQ(step.text, c.text) << c.line;
        EXPECT_EQ(step.source, c.line);
    }
}

TEST(ScenarioParser, ListsFaultsAndRequestBytes) {
    EXPECT_EQ(onlyStep("expect items 1003 Com1|Com2|").items,
              (std::vector<std::string>{"Com1", "Com2", ""}));
    EXPECT_TRUE(onlyStep("expect items 1023 \"\"").items.empty());

    const Step late = onlyStep("device fault late");
    EXPECT_EQ(late.fault, ScenarioFault::Late);
    EXPECT_EQ(late.numbers, std::vector<int>{1});  // one reply unless told
    const Step crc = onlyStep("device fault crc 3");
    EXPECT_EQ(crc.fault, ScenarioFault::Crc);
    EXPECT_EQ(crc.numbers, std::vector<int>{3});
    EXPECT_EQ(onlyStep("device fault garbage").fault, ScenarioFault::Garbage);
    const Step enter = onlyStep("key 1121 enter");
    EXPECT_EQ(enter.op, StepOp::Key);
    EXPECT_EQ(enter.numbers, std::vector<int>{1121});
    EXPECT_EQ(enter.key, ScenarioKey::Enter);
    EXPECT_EQ(onlyStep("key 1002 escape").key, ScenarioKey::Escape);
    EXPECT_EQ(onlyStep("key 1215 space").key, ScenarioKey::Space);
    EXPECT_EQ(onlyStep("key 1215 down").key, ScenarioKey::Down);
    const Step over = onlyStep("expect cellcolor 1044 6 4 over");
    EXPECT_EQ(over.op, StepOp::ExpectCellColor);
    EXPECT_EQ(over.numbers, (std::vector<int>{1044, 6, 4}));
    EXPECT_EQ(over.mark, ScenarioMark::Over);
    EXPECT_EQ(onlyStep("expect cellcolor 1014 0 1 stale").mark, ScenarioMark::Stale);
    EXPECT_EQ(onlyStep("expect cellcolor 1014 0 1 none").mark, ScenarioMark::None);
    const Step pass = onlyStep("device pass 2");
    EXPECT_EQ(pass.op, StepOp::DevicePass);
    EXPECT_EQ(pass.numbers, std::vector<int>{2});

    const std::vector<uint8_t> read{0x01, 0x03, 0x00, 0x50, 0x00, 0x01, 0x84, 0x1B};
    EXPECT_EQ(onlyStep("expect request 01 03 00 50 00 01 84 1b").bytes, read);
    const Step every = onlyStep("expect every request 01 03 00 50 00 01 84 1B");
    EXPECT_EQ(every.op, StepOp::ExpectEveryRequest);
    EXPECT_EQ(every.bytes, read);
}

TEST(ScenarioParser, CommentsBlankLinesAndLineNumbers) {
    const ParsedScenario parsed = parseScenario(
        "\xEF\xBB\xBF# what this shows\r\n"
        "\r\n"
        "   # an indented comment\n"
        "tab 1\r\n"
        "\t\n"
        "expect text 1015 #1 stays text\n"
        "click 1019");  // no newline at the end
    ASSERT_FALSE(parsed.error);
    ASSERT_EQ(parsed.steps.size(), 3u);
    EXPECT_EQ(parsed.steps[0].line, 4);
    EXPECT_EQ(parsed.steps[0].source, "tab 1");  // CR dropped
    EXPECT_EQ(parsed.steps[1].line, 6);
    EXPECT_EQ(parsed.steps[1].text, "#1 stays text");
    EXPECT_EQ(parsed.steps[2].line, 7);
    EXPECT_TRUE(parseScenario("").steps.empty());
}

TEST(ScenarioParser, TextRunsToTheEndOfTheLine) {
    EXPECT_EQ(onlyStep("type 1002 \"\"").text, "");
    EXPECT_EQ(onlyStep("type 1002   a  b\t c  \r").text, "a  b\t c");  // inner blanks kept
    EXPECT_EQ(onlyStep("expect text 1002 \"x\"").text, "\"x\"");       // only "" is special
    EXPECT_EQ(onlyStep("expect cell 1014 0 0 通道#1").text, "通道#1");
    // A password that merely starts with the word is still a password.
    const Step step = onlyStep("password cancel me");
    EXPECT_EQ(step.op, StepOp::Password);
    EXPECT_EQ(step.text, "cancel me");
}

TEST(ScenarioParser, NumbersAreDecimalOrHexWithinTheirRange) {
    EXPECT_EQ(onlyStep("device set 0XFFFF 65535").numbers, (std::vector<int>{0xFFFF, 0xFFFF}));
    EXPECT_EQ(onlyStep("expect link 12 19200 -3").numbers, (std::vector<int>{12, 19200, -3}));
    EXPECT_EQ(onlyStep("wait 0x10").numbers, std::vector<int>{16});

    EXPECT_EQ(errorOf("device set 0x10000 1"), "REG 0x10000, outside 0..65535");
    EXPECT_EQ(errorOf("tab 9"), "N 9, outside 0..8");
    EXPECT_EQ(errorOf("select 1003 -1"), "INDEX -1, outside 0..2147483647");
    EXPECT_EQ(errorOf("device fault short 0"), "N 0, outside 1..1000000");
    EXPECT_NE(errorOf("expect link 1 99999999999 1").find("outside"), std::string::npos);
    for (const char* bad : {"click 0x", "click -0x5", "click 12abc", "click +5", "click 1.5"}) {
        EXPECT_NE(errorOf(bad).find("should be a number"), std::string::npos) << bad;
    }
}

TEST(ScenarioParser, BadLinesSayWhatWasFound) {
    EXPECT_EQ(errorOf("expct text 1 a"), "unknown step 'expct'");
    EXPECT_EQ(errorOf("expect colour 1 red"), "unknown step 'expect colour'");
    EXPECT_EQ(errorOf("device explode"), "unknown step 'device explode'");
    EXPECT_EQ(errorOf("expect cell 1014 0 1"),
              "no TEXT (expect cell ID ROW COL TEXT); write \"\" for the empty text");
    EXPECT_EQ(errorOf("password"), "no TEXT (password TEXT); write \"\" for the empty text");
    EXPECT_EQ(errorOf("click"), "no ID (click ID)");
    // No trailing comments: a '#' after the arguments is an error, never silently dropped.
    EXPECT_EQ(errorOf("wait 500 # settle"), "'#' after the last argument (wait MS)");
    EXPECT_EQ(errorOf("expect no message now"),
              "'now' after the last argument (expect no message)");
    EXPECT_EQ(errorOf("device fault loud"),
              "fault 'loud' (silent|short|long|crc|exception|late|garbage)");
    EXPECT_EQ(errorOf("device fault late 2 x"),
              "'x' after the last argument (device fault KIND [N])");
    EXPECT_EQ(errorOf("expect request 01 3 00"),
              "'01 3 00' where hex bytes should be (pairs like 01 A0)");
    EXPECT_EQ(errorOf("expect request"), "no HEX... (expect request HEX...)");
    EXPECT_EQ(errorOf("key 1121 Enter"), "key 'Enter' (enter|escape|space|up|down)");
    EXPECT_EQ(errorOf("key 1121"), "no KEY (key ID KEY)");
    EXPECT_EQ(errorOf("expect cellcolor 1014 0 1 red"),
              "mark 'red' (normal|warning|over|stale|none|#RRGGBB)");
    EXPECT_EQ(errorOf("device weak 41"), "N 41, outside 0..40");
    EXPECT_EQ(errorOf("key 1121 enter twice"), "'twice' after the last argument (key ID KEY)");
}

TEST(ScenarioParser, StopsAtTheFirstBadLine) {
    const ParsedScenario parsed = parseScenario("tab 1\n\nclick x\nbogus\n");
    ASSERT_TRUE(parsed.error);
    EXPECT_EQ(parsed.error->line, 3);
    EXPECT_EQ(parsed.error->source, "click x");
    EXPECT_EQ(parsed.steps.size(), 1u);
}

TEST(ScenarioParser, HexBytesRoundTrip) {
    const auto bytes = parseHexBytes(" 2c 03\t00 50 00 01 FF ");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(formatHexBytes(*bytes), "2C 03 00 50 00 01 FF");
    for (const char* bad : {"", "   ", "1", "123", "0g", "0x1", "-1", "01,02"}) {
        EXPECT_FALSE(parseHexBytes(bad)) << bad;
    }
    EXPECT_EQ(formatHexBytes({}), "");
}

}  // namespace
