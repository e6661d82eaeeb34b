// What the technician reads in the details of "port cannot be opened": the port, its path,
// and why, with the remedy where there is one.
#include <cerrno>
#include <cstring>

#include "RegisterCoding.h"
#include "SerialPort.h"

namespace {

std::string busyText(const PortOpenError& error) {
    std::string text = "原因：此串口正被另一个程序占用";
    if (error.holderPid > 0 && !error.lockFile.empty()) {
        text += formatText("（进程号 %d，锁文件 %s）", error.holderPid, error.lockFile.c_str());
    } else if (error.holderPid > 0) {
        text += formatText("（进程号 %d）", error.holderPid);
    } else if (!error.lockFile.empty()) {
        text += formatText("（锁文件 %s）", error.lockFile.c_str());
    }
    return text + "。请先关闭那个程序再试。";
}

std::string reasonText(const PortOpenError& error) {
    switch (error.reason) {
        case PortFailure::None:
            return "原因：未知。";
        case PortFailure::NoSuchDevice:
            return "原因：没有这个设备。请检查串口线或 USB 转换器是否插好，串口号是否选对。";
        case PortFailure::PermissionDenied:
            return "原因：没有打开此设备的权限。\n"
                   "请把当前用户加入 dialout 组：sudo usermod -aG dialout $USER\n"
                   "然后注销并重新登录。";
        case PortFailure::Busy:
            return busyText(error);
        case PortFailure::SettingsRejected:
            if (error.systemError == ENOTTY) {
                return "原因：这不是串口设备。";
            }
            return formatText(
                "原因：设备不接受通讯设置（波特率 %d，8 个数据位，无校验，1 个停止位）。",
                error.baudRate);
        case PortFailure::Other:
            break;
    }
    return formatText("原因：打开失败（系统错误 %d：%s）。", error.systemError,
                      std::strerror(error.systemError));
}

}  // namespace

std::string portOpenErrorDetails(const PortOpenError& error) {
    std::string text = formatText("串口：COM%d，%s", error.portNumber, error.path.c_str());
    if (!error.device.empty()) {
        text += formatText("（指向 %s）", error.device.c_str());
    }
    return text + "\n" + reasonText(error);
}
