// Strings shared by several windows, and the messages the operator is shown.
#pragma once

inline constexpr const char* IDS_ABOUTBOX = "关于 KORVAL(&A)...";  // string 101
inline constexpr const char* kMainCaption = "KORVALVer1.1";
inline constexpr const char* kStartReadingCaption = "开始连续读取";
inline constexpr const char* kStopReadingCaption = "停止读取";
inline constexpr const char* kReadCaption = "读取";
inline constexpr const char* kSetCaption = "设置";
inline constexpr const char* kTabCaptions[] = {
    "通讯参数设置", "蓄电池组数据", "电池电压",     "电池内阻",     "电池温度",
    "总电流",       "记录查询",     "系统参数设置", "温度探头设置",
};

// Messages of every page that talks to the device.
inline constexpr const char* kMsgPortOpenFailed = "没有发现此串口或此串口被占用";
inline constexpr const char* kMsgReadFailed = "读取失败";
inline constexpr const char* kMsgSetOk = "设置成功";
inline constexpr const char* kMsgSetFailed = "设置失败";

