// Control ids of the main window (template 102).
#pragma once

namespace idc::main_window {
inline constexpr int kTabs = 1000;
}  // namespace idc::main_window
