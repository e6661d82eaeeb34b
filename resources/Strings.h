// Strings shared by several windows.
#pragma once

inline constexpr const char* IDS_ABOUTBOX = "关于 KORVAL(&A)...";  // string 101
inline constexpr const char* kMainCaption = "KORVALVer1.1";
inline constexpr const char* kStartReadingCaption = "开始连续读取";
inline constexpr const char* kStopReadingCaption = "停止读取";

inline constexpr const char* kTabCaptions[] = {
    "通讯参数设置", "蓄电池组数据", "电池电压",     "电池内阻",     "电池温度",
    "总电流",       "记录查询",     "系统参数设置", "温度探头设置",
};
