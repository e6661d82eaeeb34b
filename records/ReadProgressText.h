// What the box of a long record read says: how far the read is and how long the rest takes
// on the line. Pure functions, no Qt.
#pragma once

#include <string>

// Seconds one record takes on the line at `baud` (10 bits a byte): the 8-byte request, the
// `replyBytes` reply, and the 3.5 characters of silence that end each frame. 0 for no rate.
double recordLineSeconds(int replyBytes, int baud);
// "1 小时 5 分", "8 分 30 秒", "45 秒"; whole seconds, rounded up.
std::string durationText(double seconds);
// "正在读取报警记录\n已读取 120 / 5000 条，预计还需 8 分 30 秒" (no time when `secondsLeft` is
// negative: the rate is unknown).
std::string readProgressText(const std::string& what, int done, int total, double secondsLeft);
