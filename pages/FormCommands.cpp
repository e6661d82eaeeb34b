// Read and set commands of the form pages.
#include "FormCommands.h"

#include "Dialog.h"
#include "JudgeLimits.h"
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
    const bool written = port.write(write);
    if (written) {
        // A limit the device now holds is the one the bank is judged by.
        for (size_t k = 0; k < write.values.size(); ++k) {
            rememberLimitRegister(static_cast<uint16_t>(write.start + k), write.values[k]);
        }
    }
    page.messageBox(written ? kMsgSetOk : kMsgSetFailed);
}
