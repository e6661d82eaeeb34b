// Templates of the configuration pages.
#include "Templates.h"
#include "ids/CommIds.h"

using namespace tpl;
DialogTemplate makeCommTemplate() {
    namespace ids = idc::comm;
    enum { kSettings = 1 };
    std::vector<std::string> ports;
    for (int i = 1; i <= 12; ++i) {
        ports.push_back("Com" + std::to_string(i));
    }
    DialogTemplate t{IDD_COMM, "", "宋体", 11, {}};
    t.controls = {group(ids::kSettingsBox, kSettings, "通讯参数设置", {0, 0})};
    const FieldSpec rows[] = {
        listField("串口号：", ids::kPort, ports),
        listField("波特率：", ids::kBaud, {"1200", "2400", "4800", "9600", "19200"}),
        editField("地址：", ids::kAddress, "", "1"),
    };
    for (int row = 0; row < 3; ++row) {
        t.add(fieldRow({rows[row]}, {}, row, kSettings));
    }
    return t;
}
