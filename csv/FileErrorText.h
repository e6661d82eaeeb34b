// Why a file could not be written, in the operator's words, for every export and report.
#pragma once

#include <string>

// The reason for an errno of a failed write: "文件夹不存在", "磁盘空间不足", ...
std::string fileErrorText(int errorNumber);
