// Control ids of the commands the record list dialogs share: each template puts them on the
// same ids, so one message map serves every dialog that reads records all or by range.
#pragma once

namespace idc::record_commands {
inline constexpr int kReadCount = 1047;
inline constexpr int kReadAll = 1019;
inline constexpr int kDeleteAll = 1126;
inline constexpr int kReadRange = 1048;
inline constexpr int kBack = 1125;
}  // namespace idc::record_commands
