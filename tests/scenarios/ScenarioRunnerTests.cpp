// The scenario runner against the real main window and device: a runner that passes what
// is wrong would hide every fault, so these check that each step kind fails with the
// right line and says what it found.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <filesystem>
#include <fstream>

#include "Dialog.h"
#include "LinkSettings.h"
#include "ScenarioRunner.h"
#include "ScenarioSession.h"

namespace {

const std::map<int, std::string> kBuiltIn;

FileResult run(std::string_view text, const std::map<int, std::string>& ports = kBuiltIn) {
    return runScenarioText(text, ports);
}

// The step on `line` failed, having found `found`.
void expectFailure(std::string_view text, int line, const std::string& found) {
    const FileResult result = run(text);
    EXPECT_FALSE(result.passed) << text;
    EXPECT_EQ(result.line, line) << text;
    EXPECT_EQ(result.found, found) << text;
}

TEST(ScenarioRunner, PassesWhatHoldsAndReportsInTheAgreedForm) {
    const FileResult good =
        run("expect showing 130\n"
            "expect link 1 9600 1\n"
            "tab 5\n"
            "device set 0x50 0x8005\n"
            "click 1047\n"
            "expect text 1002 -0.5\n"
            "expect request 01 03 00 50 00 01 84 1B\n"
            "expect no request\n"
            "expect no message\n");
    EXPECT_TRUE(good.passed) << good.line << ": " << good.expectation << " / " << good.found;
    EXPECT_EQ(reportLine("a.scn", good), "PASS a.scn");

    const FileResult bad = run("# a comment\n\nexpect tab 0\nexpect tab 3\nexpect tab 4\n");
    EXPECT_EQ(bad.line, 4);  // stops at the first failure
    EXPECT_EQ(bad.expectation, "expect tab 3");
    EXPECT_EQ(reportLine("b.scn", bad), "FAIL b.scn:4: expect tab 3 — found tab 0");
}

TEST(ScenarioRunner, WindowAndControlChecksSayWhatTheyFound) {
    expectFailure("expect showing 133", 1, "window 130");
    expectFailure("expect title KORVAL", 1, "\"KORVALVer1.1\"");
    expectFailure("expect link 1 9600 2", 1, "link 1 9600 1");
    expectFailure("expect text 1002 2", 1, "\"1\"");
    expectFailure("type 1002 \"\"\nexpect text 1002 1", 2, "\"\"");
    expectFailure("expect text 9999 x", 1, "no control 9999 in window 130");
    expectFailure("expect items 1004 1200|9600", 1, "\"1200|2400|4800|9600|19200\"");
    expectFailure("expect selected 1004 -1", 1, "selection 3");
    expectFailure("expect selected 1002 0", 1, "control 1002 is not a drop-down list");
    expectFailure("expect number 1002 2 5", 1, "\"1\"");
    expectFailure("type 1002 1x\nexpect number 1002 0 5", 2, "\"1x\"");
    expectFailure("expect hidden 1003", 1, "visible");
    expectFailure("expect disabled 1003", 1, "enabled");
    expectFailure("expect rows 1002 3", 1, "control 1002 is not a list view");
    expectFailure("tab 4\nexpect visible 1023", 2, "hidden");
    expectFailure("tab 1\nexpect rows 1014 11", 2, "10 rows");
    expectFailure("tab 1\nexpect cell 1014 10 0 x", 2, "10 rows");
    expectFailure("tab 1\nexpect cell 1014 0 11 x", 2, "11 columns");
    expectFailure("tab 1\nexpect cell 1014 0 0 通道#2", 2, "\"通道#1\"");
}

TEST(ScenarioRunner, InputGoesOnlyWhereAnOperatorCouldPutIt) {
    expectFailure("click 1002", 1, "control 1002 is not a button");
    expectFailure("type 1003 x", 1, "control 1003 is not an edit");
    expectFailure("select 1004 5", 1, "control 1004 with 5 items");
    expectFailure("treeclick 1003 x", 1, "control 1003 is not a tree");
    expectFailure("tab 4\nselect 1023 0", 2, "control 1023 hidden");
    expectFailure("tab 3\nclick 1016\nclick 1123", 3, "control 1123 disabled");
    expectFailure("key 9999 enter", 1, "no control 9999 in window 130");
    expectFailure("tab 4\nkey 1023 escape", 2, "control 1023 hidden");
    // Input that is allowed reaches the page's handlers.
    EXPECT_TRUE(
        run("select 1003 11\nexpect link 12 9600 1\ntype 1002 0x20\nexpect link 12 9600 0").passed);
    EXPECT_TRUE(
        run("key 1002 enter\nkey 1004 escape\nexpect showing 130\nexpect no request").passed);
}

TEST(ScenarioRunner, MessageBoxesAreReadOldestFirstAndOnce) {
    const char* twoBoxes =
        "select 1003 11\n"
        "tab 5\n"
        "click 1047\n"  // a warning: Com12 is not there
        "tab 0\n"
        "select 1003 0\n"
        "tab 5\n"
        "device fault crc\n"
        "click 1047\n";  // a page message
    expectFailure(std::string(twoBoxes) + "expect no message", 9,
                  "unread warning \"没有发现此串口或此串口被占用\" (+1 more)");
    expectFailure(std::string(twoBoxes) + "expect message 读取失败", 9,
                  "warning \"没有发现此串口或此串口被占用\"");
    expectFailure(std::string(twoBoxes) +
                      "expect warning 没有发现此串口或此串口被占用\n"
                      "expect message 读取失败\n"
                      "expect message 读取失败",
                  11, "no unread message box");
}

TEST(ScenarioRunner, RequestsAreReadInOrderThroughTheCursor) {
    const char* threeReads =
        "tab 5\n"
        "device set 0x50 1\n"
        "click 1047\n"
        "tab 0\n"
        "type 1002 2\n"
        "tab 5\n"
        "click 1047\n"  // address 2: the device stays silent but logs it
        "tab 0\n"
        "type 1002 1\n"
        "tab 5\n"
        "click 1047\n";
    const std::string first = "01 03 00 50 00 01 84 1B";
    const std::string second = "02 03 00 50 00 01 84 28";
    // Matching the last request reads the two before it as well.
    EXPECT_TRUE(run(std::string(threeReads) + "expect request " + second + "\nexpect request " +
                    first + "\nexpect no request")
                    .passed);
    expectFailure(
        std::string(threeReads) + "expect request " + second + "\nexpect request " + second, 13,
        "unread " + first);
    expectFailure(std::string(threeReads) + "expect every request " + first, 12,
                  "unread " + second + ", " + first);
    expectFailure(std::string(threeReads) + "expect no request", 12,
                  "unread " + first + ", " + second + ", " + first);
    expectFailure("expect every request 01 02", 1, "no unread request");
}

TEST(ScenarioRunner, DeviceStepsNeedTheBuiltInDevice) {
    const std::map<int, std::string> external{{1, "/dev/null"}};
    for (const char* step : {"device set 1 2", "device fault late", "device records alarm 3",
                             "expect request 01 02", "expect no request"}) {
        const FileResult result = run(std::string("expect showing 130\n") + step, external);
        EXPECT_EQ(result.line, 2) << step;
        EXPECT_EQ(result.found,
                  "COM1 on /dev/null instead of the built-in device, which this step needs")
            << step;
    }
    EXPECT_TRUE(run("expect link 1 9600 1", external).passed);
}

TEST(ScenarioRunner, EachFileStartsAfresh) {
    ASSERT_FALSE(run("select 1004 4\ntab 5\nclick 1047\nexpect tab 4").passed);
    // Link settings, page slot, messages and the device's log are all new.
    const FileResult second =
        run("expect link 1 9600 1\nexpect showing 130\nexpect no message\nexpect no request");
    EXPECT_TRUE(second.passed) << second.line << ": " << second.found;
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST(ScenarioRunner, BadFilesFailBeforeAnythingRuns) {
    const FileResult typo = run("tab 5\nclick 1047\nexpect txt 1002 1\n");
    EXPECT_EQ(typo.line, 3);
    EXPECT_EQ(typo.found, "unknown step 'expect txt'");
    EXPECT_EQ(run("# only a comment\n").expectation, "at least one step");

    const FileResult missing = runScenarioFile("/nonexistent/x.scn", kBuiltIn);
    EXPECT_FALSE(missing.passed);
    EXPECT_EQ(reportLine("x.scn", missing).rfind("FAIL x.scn:0: a scenario file — found ", 0), 0u);

    const auto path = std::filesystem::temp_directory_path() / "korval_runner_test.scn";
    std::ofstream(path) << "expect tab 0\r\nexpect tab 1\r\n";
    const FileResult fromFile = runScenarioFile(path.string(), kBuiltIn);
    std::filesystem::remove(path);
    EXPECT_EQ(fromFile.line, 2);
    EXPECT_EQ(fromFile.found, "tab 0");
}

TEST(ScenarioRunner, UnusedPasswordAnswersFailTheFile) {
    const FileResult result = run("password 1234\ntab 1\npassword cancel\n");
    EXPECT_EQ(result.line, 1);
    EXPECT_EQ(result.found, "no password dialog that took it");
}

// A password dialog as the program's are made: a password edit and OK.
ControlTemplate makeControl(ControlKind kind, int id, unsigned style) {
    ControlTemplate control;
    control.kind = kind;
    control.id = id;
    control.style = style;
    control.cell.row = id == IDOK ? 1 : 0;
    return control;
}

DialogTemplate makePasswordTemplate() {
    DialogTemplate tpl;
    tpl.id = 901;
    tpl.controls = {makeControl(ControlKind::Edit, 1010, kPassword),
                    makeControl(ControlKind::PushButton, IDOK, 0)};
    return tpl;
}
const DialogTemplate kPasswordTemplate = makePasswordTemplate();

class PasswordDialog : public CDialog {
  public:
    PasswordDialog() : CDialog(kPasswordTemplate) {}
    std::string okWith;  // the edit's text when OK ran
    bool okRan = false;

  protected:
    void onOK() override {
        okRan = true;
        okWith = windowText(1010);
        CDialog::onOK();
    }
};

TEST(ScenarioRunner, ModalDialogsAreAnsweredFromTheQueue) {
    ScenarioSession session(kBuiltIn);
    ASSERT_FALSE(session.start());
    session.passwords.push_back({1, "password 8888", "8888"});
    session.passwords.push_back({2, "password cancel", std::nullopt});

    // A dialog without a password edit is answered OK and leaves the queue alone.
    const DialogTemplate plain{902, "plain", "", 10, {}};
    CDialog about(plain);
    EXPECT_EQ(about.doModal(), IDOK);
    ASSERT_EQ(session.passwords.size(), 2u);

    PasswordDialog typed;
    EXPECT_EQ(typed.doModal(), IDOK);
    EXPECT_TRUE(typed.okRan);
    EXPECT_EQ(typed.okWith, "8888");

    PasswordDialog cancelled;
    EXPECT_EQ(cancelled.doModal(), IDCANCEL);
    EXPECT_FALSE(cancelled.okRan);

    PasswordDialog unqueued;  // nothing queued: OK at once, with whatever the edit holds
    EXPECT_EQ(unqueued.doModal(), IDOK);
    EXPECT_TRUE(session.passwords.empty());
}

}  // namespace
