// Control ids of the About box (template 100); its OK button is IDOK.
#pragma once

namespace idc::about {
inline constexpr int kIcon = 128;  // the program icon, the same number as its resource
}  // namespace idc::about
