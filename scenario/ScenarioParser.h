// Scenario files: operator steps and expectations, one a line, turned into steps the
// runner executes. Pure parsing, no Qt and no I/O.
//
// The format:
// - One action or expectation per line. Blank lines are ignored.
// - A line whose first non-blank character is `#` is a comment. There are no trailing
//   comments: TEXT may contain `#`, and a `#` after a number is an error, not a comment.
// - TEXT runs to the end of the line (trailing blanks and a CR are dropped); `""` is the
//   empty text. ID is a template control id; numbers are decimal or `0x` hex.
// - Actions and expectations address the window now shown in the page slot, or the
//   modal dialog while one is open.
//
//   tab N                        select tab N (0-8) as a click on the tab strip does
//   click ID                     click push button, check box or radio button ID
//   click later MS ID            the operator clicks button ID MS ms from now, with the
//                                mouse, whatever the program is doing then (a `wait` lets
//                                the time pass); input that comes while a command or a
//                                tick waits on the line is carried out when it ends
//   type ID TEXT                 replace the text of edit ID (raises its text-changed
//                                notification)
//   select ID INDEX              select item INDEX of drop-down list ID (raises
//                                selection-changed); of a list view: row INDEX, as a
//                                click on it (its selection-changed follows)
//   treeclick ID TEXT            select the tree item with that text and click it
//   key ID enter|escape|space|up|down
//                                give control ID the focus and press that key in it
//   wait MS                      run the event loop for MS ms (timers fire)
//   password TEXT                the next password dialog gets TEXT and OK
//   password cancel              the next password dialog's "取消" is pressed
//   expect text ID TEXT          caption of a button/static/group box, text of an edit,
//                                selected text of a list
//   expect number ID LO HI       the text of ID is a whole decimal number from LO to HI
//                                (counters whose exact value depends on timer ticks)
//   expect cell ID ROW COL TEXT  text of a cell of list view ID
//   expect cellcolor ID ROW COL normal|warning|over|stale|none
//                                the mark a value cell of list view ID is drawn with: within
//                                the device's limits, near one, beyond one, an old value
//                                after failed reads, or no mark (and no colour of its own)
//   expect cellcolor ID ROW COL #RRGGBB
//                                the background of that cell is this colour
//   expect celltip ID ROW COL TEXT
//                                the tip of that cell contains TEXT (`""`: it has none)
//   expect rows ID N             row count of list view ID
//   expect items ID A|B|C        the items of drop-down list ID (`""`: none)
//   expect selected ID INDEX     selection of drop-down list ID (-1: none)
//   expect checked ID | expect unchecked ID
//   expect itemchecked ID TEXT | expect itemunchecked ID TEXT
//                                the check mark of the item with that text in tree ID
//   expect curves ID N           chart ID draws N curves (shown channels with samples)
//   expect samples ID N          the curves of chart ID have N samples each
//   expect enabled ID | expect disabled ID
//   expect visible ID | expect hidden ID      the control itself, whatever its page
//   expect tab N                 selected tab
//   expect showing T             the page slot shows the window of template T
//   expect title TEXT            the main window's caption
//   expect link P B A            link settings: port number, baud rate, device address
//   expect message TEXT          the oldest unread message box is page-owned (no icon)
//                                with TEXT; marks it read
//   expect warning TEXT          the same for an application message box (warning icon)
//   expect no message            every message box has been read
//   device set REG VALUE         set a register of the built-in device and pin it
//   device fault KIND [N]        next N replies (default 1):
//                                silent|short|long|crc|exception|late|garbage
//   device pass N                the next N replies go out unchanged; a `device fault`
//                                after it applies to the replies after those (to fail
//                                the third exchange of a command: `device pass 2`, then
//                                `device fault ...`)
//   device records voltage G N | device records resistance N | device records alarm N
//                                give the built-in device N records (of group G)
//   device line A B              the built-in device moves to address A (1-247) and hears
//                                only baud rate B (0: any rate); a request at another rate
//                                reaches it as noise and its reply as bytes that form no
//                                frame. Its address and baud rate registers say so.
//   device weak N                cell N (1-40) of the built-in device becomes weak: its
//                                resistance well up, its voltage down, a little warmer; 0:
//                                every cell sound again
//   expect request HEX...        the built-in device received these bytes (CRC included,
//                                any address) since the requests already read; the
//                                earliest such request and all before it become read
//   expect every request HEX...  every unread request (at least one) is these bytes; all
//                                become read (the ticks of a continuous reading)
//   expect no request            every request the device received has been read
//
// `password cancel` alone on its line is the cancel; any other text is a password.
// `device` lines and `expect request` need the built-in device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class StepOp {
    Tab,
    Click,
    ClickLater,
    Type,
    Select,
    TreeClick,
    Key,
    Wait,
    Password,
    PasswordCancel,
    ExpectText,
    ExpectNumber,
    ExpectCell,
    ExpectCellColor,
    ExpectCellTip,
    ExpectRows,
    ExpectItems,
    ExpectSelected,
    ExpectChecked,
    ExpectUnchecked,
    ExpectItemChecked,
    ExpectItemUnchecked,
    ExpectCurves,
    ExpectSamples,
    ExpectEnabled,
    ExpectDisabled,
    ExpectVisible,
    ExpectHidden,
    ExpectTab,
    ExpectShowing,
    ExpectTitle,
    ExpectLink,
    ExpectMessage,
    ExpectWarning,
    ExpectNoMessage,
    DeviceSet,
    DeviceFault,
    DevicePass,
    DeviceVoltageRecords,
    DeviceResistanceRecords,
    DeviceAlarmRecords,
    DeviceWeak,
    ExpectRequest,
    ExpectEveryRequest,
    ExpectNoRequest,
    DeviceLine,
};

// The faults a scenario can ask of the built-in device.
enum class ScenarioFault { Silent, Short, Long, Crc, Exception, Late, Garbage };
// The marks a value cell can carry.
enum class ScenarioMark { None, Normal, Warning, Over, Stale };
// The keys a scenario can press.
enum class ScenarioKey { Enter, Escape, Space, Up, Down };

struct Step {
    StepOp op = StepOp::Wait;
    int line = 0;                    // 1-based line in the file
    std::string source;              // the line as written, without surrounding blanks
    std::vector<int> numbers;        // the numeric arguments, in the order written
    std::string text;                // TEXT ("" for `""`)
    std::vector<std::string> items;  // `expect items`
    std::vector<uint8_t> bytes;      // `expect request`
    ScenarioFault fault = ScenarioFault::Silent;
    ScenarioKey key = ScenarioKey::Enter;
    ScenarioMark mark = ScenarioMark::None;  // `expect cellcolor`
};

struct ScenarioError {
    int line = 0;
    std::string source;
    std::string found;  // what is wrong with the line, said as what was found
};

struct ParsedScenario {
    std::vector<Step> steps;
    std::optional<ScenarioError> error;  // the first bad line; steps are then incomplete
};

ParsedScenario parseScenario(std::string_view text);

// "01 A0 ff" -> {0x01, 0xA0, 0xFF}; nullopt unless every blank-separated word is one
// two-digit hex byte and there is at least one.
std::optional<std::vector<uint8_t>> parseHexBytes(std::string_view text);
// "01 A0 FF": the form reports use.
std::string formatHexBytes(const std::vector<uint8_t>& bytes);
