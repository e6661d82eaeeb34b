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

// Messages of the temperature probe page.
inline constexpr const char* kMsgProbeCountRange = "请输入0~40的有效整数";
inline constexpr const char* kMsgProbeCountEmpty = "挂载温度个数不能为空";
inline constexpr const char* kMsgProbeCountOver40 = "挂载温度个数不能超过40";
inline constexpr const char* kMsgRegisterOk = "注册成功";
inline constexpr const char* kMsgRegisterFailed = "注册失败";
inline constexpr const char* kMsgProbeCountReadFailed = "读取设备最少接入探头数失败";
inline constexpr const char* kMsgNoProbes = "接入探头数超过1个";
inline constexpr const char* kMsgChannelOverProbes = "输入通道号大于接入探头数!";
inline constexpr const char* kMsgIdIncomplete = "手动注册时需完整填写探头号ID";
inline constexpr const char* kMsgChannelEmpty = "手动注册时“通道号”不能为空!";
inline constexpr const char* kMsgChannelOverTotal = "输入的通道号大于总探头个数!";
inline constexpr const char* kMsgProbeChannelNegative = "通道号不能为负数，未发送";
inline constexpr const char* kMsgProbeIdByteRange = "探头号第%d个字节超出范围（0~FF），未发送";
inline constexpr const char* kMsgReadChannelRange = "请输入1~40之间的整数通道号";
inline constexpr const char* kMsgReadChannelFailed = "写入的读取探头号大于总探头数！请重新输入";
inline constexpr const char* kMsgProbeChannelFailed = "写入需要读取的温度探头通道出错";
inline constexpr const char* kMsgEraseOverTotal = "选择移除的探头号大于总探头数，请重新选择";
inline constexpr const char* kMsgEraseOk = "删除成功";
inline constexpr const char* kMsgEraseFailed = "删除失败";
inline constexpr const char* kWaitFullAutoRegistration = "正在全自动注册温度探头，请稍候…";

// The system parameter page and its factory mode.
inline constexpr const char* kFactoryModeCaption = "工厂模式";
inline constexpr const char* kUserModeCaption = "用户模式";
inline constexpr const char* kMsgCurrentLimitRange = "输入的数值范围在1~5000之间,请重新输入";
inline constexpr const char* kMsgVoltLimitRange = "电压上限与下限不能大于或等于25.5";
inline constexpr const char* kMsgWrongPassword = "密码错误!";
// A value its register cannot hold is refused: the field, then the range in its unit.
inline constexpr const char* kMsgValueOutOfRange = "%s超出设备可保存的范围（%s~%s%s），未发送";
inline constexpr const char* kMsgDateTimeOutOfRange = "%s的“%s”超出有效范围（%d~%d），未发送";
inline constexpr const char* kDateTimeFieldNames[] = {"年", "月", "日", "时", "分", "秒"};
inline constexpr const char* kClockCaption = "系统时间";
inline constexpr const char* kIrMomentCaption = "指定内阻采样时刻";
// A lower limit at or above its upper one is sent as typed, after this note.
inline constexpr const char* kMsgTempLimitsCrossed =
    "注意：温度下限值%d℃不低于温度上限值%d℃，仍按输入发送";
inline constexpr const char* kMsgVoltLimitsCrossed =
    "注意：电池电压下限%.1fV不低于电池电压上限%.1fV，仍按输入发送";
inline constexpr const char* kWaitCalibration = "正在校准电池电压，请稍候…";

// The record query page and the record dialogs.
inline constexpr const char* kMsgNoVoltageRecords = "当前电压记录为0!";
inline constexpr const char* kMsgNoAlarmRecords = "当前报警记录为0!";
inline constexpr const char* kMsgNoResistanceRecords = "当前内阻记录为0!";
inline constexpr const char* kMsgRecordsDeleted = "全部记录已删除!";
inline constexpr const char* kMsgAlarmRecordsDeleted = "全部记录删除成功";
inline constexpr const char* kMsgCheckFailed = "校验失败";
inline constexpr const char* kMsgOperationFailed = "操作失败";
inline constexpr const char* kMsgGroupCheckError = "校验错误";
inline constexpr const char* kGroupSizeFailed = "读取出错";
inline constexpr const char* kMsgRangeStartEmpty = "请输入开始读取的记录序号";
inline constexpr const char* kMsgRangeStartOverCount = "读取记录序号不能大于总记录数";
inline constexpr const char* kMsgRangeEndInvalid = "最后序号不能大于总记录数或不能小于起始序号数";
inline constexpr const char* kMsgRangePositionFailed = "读取记录序号校验错误";
inline constexpr const char* kMsgRejectedInARow =
    "连续%d条记录读取失败，已停止读取，请检查设备与连线";
// The voltage curve records
inline constexpr const char* kCurveRecordsWhat = "电压曲线记录";
inline constexpr const char* kCurveTreeRoot = "曲线组";
inline constexpr const char* kCurveTreeChannel = "电池%d";
inline constexpr const char* kCurveReadout = "%s  电池%d  %.2fV";
inline constexpr const char* kMsgCurveViewFailed = "读取曲线图失败";
inline constexpr const char* kMsgCurveGroupOutOfRange = "第%d组超出设备可选的范围（1-255），未发送";
inline constexpr const char* kMsgCurveStampsInvalid = "%d条记录的时间无效，未画入曲线";
inline constexpr const char* kCancelReadCaption = "取消";
inline constexpr const char* kStoppingReadText = "正在停止读取，请稍候…";

// Exporting a record list to a CSV file.
inline constexpr const char* kExportCsvCaption = "导出CSV...";
inline constexpr const char* kExportCsvTitle = "导出CSV";
inline constexpr const char* kCsvFileFilter = "CSV 文件 (*.csv)";
inline constexpr const char* kCsvTimeHeading = "时间";
inline constexpr const char* kCsvVoltageHeading = "电池%d电压(V)";
inline constexpr const char* kCsvResistanceHeading = "电池%d内阻(mΩ)";
inline constexpr const char* kMsgNothingToExport = "没有可导出的记录";
inline constexpr const char* kMsgExported = "已导出%d条记录到文件\n%s";
inline constexpr const char* kMsgExportFailed = "导出失败，无法写入文件\n%s\n原因：%s";

// The traffic monitor: every exchange on the line, as sent and as received.
inline constexpr const char* kTrafficMenuCaption = "通讯监视(&T)...";
inline constexpr const char* kTrafficCaption = "通讯监视";
inline constexpr const char* kTrafficColumns[] = {"时间",     "请求", "应答",
                                                  "用时(ms)", "结果", "含义"};
inline constexpr const char* kTrafficSaveCaption = "保存...";
inline constexpr const char* kTrafficClearCaption = "清除";
inline constexpr const char* kTrafficSaveTitle = "保存通讯记录";
inline constexpr const char* kTrafficFileFilter = "文本文件 (*.txt);;所有文件 (*)";
inline constexpr const char* kTrafficDefaultFile = "通讯记录.txt";
inline constexpr const char* kMsgTrafficSaveFailed =
    "无法写入文件“%s”。\n请检查文件夹是否存在、是否有写入权限，记录仍保留在窗口中。";
// By TrafficOutcome: Ok, Timeout, WrongLength, BadCrc, Exception, SendFailed.
inline constexpr const char* kTrafficOutcomes[] = {"成功",     "超时",     "长度错误",
                                                   "校验错误", "异常应答", "发送失败"};
inline constexpr const char* kTrafficDiscardedOutcome = "丢弃";
inline constexpr const char* kTrafficDiscardedMeaning = "发送请求前丢弃的迟到字节";
inline constexpr const char* kTrafficRead = "读 0x%04X ×%u";
inline constexpr const char* kTrafficReadInput = "读输入 0x%04X ×%u";
inline constexpr const char* kTrafficWriteOne = "写 0x%04X = 0x%04X";
inline constexpr const char* kTrafficWriteMany = "写 0x%04X ×%u";
inline constexpr const char* kTrafficException = "异常 %02X";  // after the request's meaning
inline constexpr const char* kTrafficSeparator = "，";
inline constexpr const char* kTrafficFunction = "功能码 %02X";

// The internal-resistance baseline and trend in the resistance record dialog.
inline constexpr const char* kSetBaselineCaption = "设为基准";
inline constexpr const char* kClearBaselineCaption = "清除基准";
inline constexpr const char* kTrendViewCaption = "趋势图";
inline constexpr const char* kChangeAgainstMedian = "未设基准，与本组中位数比较";
inline constexpr const char* kChangeAgainstBaseline = "基准：%s";
inline constexpr const char* kChangeWorstCell = "(通道%d)";
inline constexpr const char* kChangeWorstHeading = "最大变化";
inline constexpr const char* kChangeBaselineRow = "基准";
inline constexpr const char* kChangeMedianRow = "中位数";
inline constexpr const char* kChangeRow = "变化";
inline constexpr const char* kChangeMarkNote = "*：基准未测此通道，与本组中位数比较";
inline constexpr const char* kChangeNoRecord = "选中一条记录，查看各通道相对基准的变化";
inline constexpr const char* kTrendReadout = "%s  通道%d  %.2fmΩ";
inline constexpr const char* kTrendChannel = "通道%d";
inline constexpr const char* kMsgChooseBaselineRecord = "请先在列表中选中一条记录，再设为基准";
inline constexpr const char* kMsgWarnPercentInvalid =
    "警告%须是大于0、不超过1000的数字，阈值未改变";
inline constexpr const char* kMsgFailPercentInvalid =
    "故障%须是大于0、不超过1000的数字，阈值未改变";
inline constexpr const char* kMsgFailNotAboveWarn = "故障%须大于警告%，阈值未改变";
inline constexpr const char* kMsgTrendStampsInvalid = "%d条记录的时间无效，未画入趋势图";
