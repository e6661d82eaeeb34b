// The report's header, what is missing, the verdict, and the tables put together.
#include "ReportModel.h"

#include <ctime>

#include "ReportTables.h"
#include "ReportText.h"

namespace report {

namespace {

using detail::Judged;

std::string linkText(const LinkDescription& link) {
    std::string text = "COM" + std::to_string(link.port);
    if (!link.portPath.empty()) {
        text += "（" + link.portPath + "）";
    }
    return text + "，" + std::to_string(link.baudRate) + " bps，地址 " +
           std::to_string(link.address);
}

std::string recordsText(const ReportInput& in) {
    if (!in.recordsAsked) {
        return "未读取（未要求）";
    }
    if (!in.records.value) {
        return "未能读取";
    }
    std::string text =
        std::to_string(in.records.value->size() + static_cast<size_t>(in.recordsWithoutTime)) +
        " 条";
    if (!in.records.failure.empty()) {
        text += "（不完整）";
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> header(const ReportInput& in) {
    const auto& identity = in.identity.value;
    return {
        {"现场", in.fields.site},
        {"电池组", in.fields.string},
        {"技术员", in.fields.technician},
        {"日期时间", in.generatedAt},
        {"设备地址", identity ? std::to_string(identity->address)
                              : std::to_string(in.link.address) + "（设置值，设备未答）"},
        {"设备版本", identity ? versionText(identity->version) : "未能读取"},
        {"通讯设置", linkText(in.link)},
        {"程序版本", "KORVAL " + in.programVersion},
        {"内阻基准", in.baseline ? in.baselineLabel : "未选择（与本组内阻中位数比较）"},
        {"内阻记录", recordsText(in)},
    };
}

std::vector<std::string> missing(const ReportInput& in) {
    std::vector<std::string> lines;
    const std::pair<const char*, const std::string*> parts[] = {
        {"设备身份", &in.identity.failure},  {"报警阀值", &in.limits.failure},
        {"报警通道配置", &in.masks.failure}, {"实时数据", &in.live.failure},
        {"内阻记录", &in.records.failure},
    };
    for (const auto& [what, failure] : parts) {
        if (!failure->empty()) {
            lines.push_back(missingLine(what, *failure));
        }
    }
    return lines;
}

std::optional<analysis::VerdictLevel> level(const Judged& judged) {
    if (!judged.bank) {
        return std::nullopt;
    }
    const analysis::VerdictLevel bank = analysis::deviceVerdict(*judged.bank, judged.unmeasured);
    return judged.changeMeasured ? analysis::worse(bank, judged.change->level) : bank;
}

std::string verdict(const Judged& judged) {
    if (!judged.bank) {
        return "结论：无法判定（未能读取实时数据）";
    }
    const analysis::Verdict& v = judged.bank->verdict;
    std::string counts = "超限 " + std::to_string(v.overLimit) + " 项，注意 " +
                         std::to_string(v.warnings) + " 项，缺失 " +
                         std::to_string(judged.unmeasured) + " 项";
    if (judged.changeMeasured) {
        counts += "，内阻变化超限 " + std::to_string(judged.change->failures) + " 节，注意 " +
                  std::to_string(judged.change->warnings) + " 节";
    }
    std::string text = "结论：" + text::levelWord(*level(judged)) + "（" + counts + "）";
    if (!judged.limits) {
        text += "；报警阀值未能读取，未按阀值判定";
    }
    return text;
}

}  // namespace

std::string programVersion() {
    return KORVAL_PROGRAM_VERSION;
}

std::string missingLine(const std::string& what, const std::string& reason) {
    return "未能读取：" + what + "（" + reason + "）";
}

std::string localTimeText(int64_t secondsSinceEpoch) {
    const std::time_t t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return text::kNone;
    }
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return buffer;
}

ReportContent buildReport(const ReportInput& input) {
    const Judged judged = detail::judge(input);
    ReportContent content;
    content.title = "蓄电池组维护报告";
    content.header = header(input);
    content.missing = missing(input);
    content.verdict = verdict(judged);
    content.level = level(judged);
    content.summary = detail::summaryTable(input, judged);
    content.limits = detail::limitsTable(input, judged);
    content.worst = detail::worstTable(judged);
    content.cells = detail::cellsTable(input, judged);
    content.trend = detail::trendTable(input);
    content.chart = detail::trendChart(input, judged);
    content.signatures = {"技术员签字", "日期", "用户签字"};
    return content;
}

}  // namespace report
