// Templates of the main window and the About box.
#include "Strings.h"
#include "Templates.h"
#include "ids/AboutIds.h"
#include "ids/MainIds.h"

using namespace tpl;

DialogTemplate makeMainTemplate() {
    DialogTemplate t{IDD_MAIN, kMainCaption, "宋体", 10, {}};
    t.controls = {control(ControlKind::TabControl, idc::main_window::kTabs, "", {0, 0})};
    return t;
}

DialogTemplate makeAboutTemplate() {
    DialogTemplate t{IDD_ABOUTBOX, "关于 KORVAL", "宋体", 9, {}};
    t.controls = {
        control(ControlKind::Static, idc::about::kIcon, "", {0, 0, 2, 1}),
        label("KORVAL 1.0 版", {0, 1}),
        label("版权所有 (C) 2026", {1, 1}),
        control(ControlKind::PushButton, IDOK, "确定", {0, 2}, 0, kDefaultButton),
    };
    return t;
}
