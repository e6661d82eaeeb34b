// Messages shared by every page that talks to the device.
#pragma once

inline constexpr const char* kMsgPortOpenFailed = "没有发现此串口或此串口被占用";
inline constexpr const char* kMsgReadFailed = "读取失败";
inline constexpr const char* kMsgSetOk = "设置成功";
inline constexpr const char* kMsgSetFailed = "设置失败";
