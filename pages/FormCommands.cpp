// Read and set commands of the form pages.
#include "FormCommands.h"

#include "Dialog.h"
#include "Strings.h"

void readAndShow(CDialog& page, const RegisterBlock& block,
                 const std::function<void(const Registers&)>& show) {
    PortSession port;
    if (!port) {
        return;
    }
    if (const auto values = port.read(block)) {
        show(*values);
    } else {
        page.messageBox(kMsgReadFailed);
    }
}

void writeAndReport(CDialog& page, const RegisterWrite& write, std::string_view refusal,
                    std::string_view warning) {
    PortSession port;
    if (!port) {
        return;
    }
    if (!refusal.empty()) {
        page.messageBox(refusal);
        return;
    }
    if (!warning.empty()) {
        page.messageBox(warning);
    }
    page.messageBox(port.write(write) ? kMsgSetOk : kMsgSetFailed);
}
