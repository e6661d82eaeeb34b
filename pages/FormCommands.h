// The two commands of a form page, written once: a "读取" button reads a block of registers
// into its controls, a "设置" button writes what its controls hold. Each opens the port (or
// tells the operator why not), runs one exchange, tells the outcome and closes the port.
#pragma once

#include <functional>
#include <string_view>

#include "DevicePort.h"

class CDialog;

// Reads `block` and hands the registers to `show`; "读取失败" in the page's box when the
// read fails, and the controls keep what they showed.
void readAndShow(CDialog& page, const RegisterBlock& block,
                 const std::function<void(const Registers&)>& show);

// Sends `write` and tells "设置成功" or "设置失败". A non-empty `refusal` (an input check
// that failed) is shown once the port is open, instead of sending anything; a non-empty
// `warning` (a value the device takes but the operator should look at) is shown before
// the write goes out.
void writeAndReport(CDialog& page, const RegisterWrite& write, std::string_view refusal = {},
                    std::string_view warning = {});
