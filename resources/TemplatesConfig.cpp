// Templates of the configuration pages.
#include "Templates.h"

using namespace tpl;

DialogTemplate makeCommTemplate() {
    enum { kSettings = 1 };
    std::vector<std::string> ports;
    for (int i = 1; i <= 12; ++i) {
        ports.push_back("Com" + std::to_string(i));
    }
    DialogTemplate t{IDD_COMM, "", "宋体", 11, {}};
    t.controls = {
        group(kSettings, "通讯参数设置", {0, 0}),
        label("串口号：", {0, 0}, kSettings),
        dropList(1003, ports, {0, 1}, kSettings),
        label("波特率：", {1, 0}, kSettings),
        dropList(1004, {"1200", "2400", "4800", "9600", "19200"}, {1, 1}, kSettings),
        label("地址：", {2, 0}, kSettings),
        control(ControlKind::Edit, 1002, "1", {2, 1}, kSettings),
    };
    t.controls[0].id = 1001;
    return t;
}
