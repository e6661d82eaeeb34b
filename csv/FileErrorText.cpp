// The operator's words for the errno of a failed write.
#include "FileErrorText.h"

#include <cerrno>
#include <cstring>

std::string fileErrorText(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
        case ENOTDIR:
            return "文件夹不存在";
        case EACCES:
        case EPERM:
            return "没有写入权限";
        case ENOSPC:
        case EDQUOT:
            return "磁盘空间不足";
        case EROFS:
            return "磁盘为只读";
        case EFBIG:
            return "文件超出允许的大小";
        case EISDIR:
            return "已有同名的文件夹";
        case ENAMETOOLONG:
            return "文件名过长";
        case EINVAL:
            return "文件名含有这个磁盘不允许的字符";
        default:
            return "系统错误" + std::to_string(errorNumber) + "（" + std::strerror(errorNumber) +
                   "）";
    }
}
