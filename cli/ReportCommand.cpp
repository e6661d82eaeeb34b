// The report command: read, build, write both files, say where they are and what is missing.
#include "ReportCommand.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "ReportCsv.h"
#include "ReportReading.h"
#include "SerialPort.h"

namespace {

ReportPdfWriter& pdfWriter() {
    static ReportPdfWriter writer;
    return writer;
}

Verdict verdictOf(const report::ReportContent& content) {
    if (!content.missing.empty() || !content.level) {
        return Verdict::NoAnswer;  // the report says what is missing; the exit code too
    }
    return static_cast<Verdict>(analysis::exitCode(*content.level));
}

}  // namespace

void setReportPdfWriter(ReportPdfWriter writer) {
    pdfWriter() = std::move(writer);
}

std::string reportCsvPath(const CliOptions& o) {
    if (!o.csvPath.empty()) {
        return o.csvPath;
    }
    const std::string& pdf = o.pdfPath;
    const bool pdfEnd = pdf.size() > 4 && (pdf.compare(pdf.size() - 4, 4, ".pdf") == 0 ||
                                           pdf.compare(pdf.size() - 4, 4, ".PDF") == 0);
    return (pdfEnd ? pdf.substr(0, pdf.size() - 4) : pdf) + ".csv";
}

ReportRun runReport(const CliOptions& o, const RegisterLink& link) {
    report::ReportInput input;
    input.fields = {o.site, o.string, o.technician};
    input.link = {o.port, portPath(o.port), o.baudRate, o.address};
    input.generatedAt = report::localTimeText(std::time(nullptr));
    report::ReadHooks hooks;
    bool progressShown = false;
    if (::isatty(STDERR_FILENO) == 1) {  // a technician at a terminal sees the records come
        hooks.recordProgress = [&progressShown](int read, int expected) {
            std::fprintf(stderr, "\r读取内阻记录 %d/%d", read, expected);
            progressShown = true;
        };
    }
    report::readReportParts(link, o.records, input, hooks);
    if (progressShown) {
        std::fputc('\n', stderr);
    }
    const report::ReportContent content = report::buildReport(input);

    ReportRun run;
    run.verdict = verdictOf(content);
    std::string error;
    const std::string csv = reportCsvPath(o);
    if (!pdfWriter()) {
        run.problem = "无法生成PDF：本程序没有绘图部分";
    } else if (!pdfWriter()(content, o.pdfPath, error)) {
        run.problem = error;
    } else {
        run.output += "报告已写入 " + o.pdfPath + "\n";
    }
    if (!report::writeReportCsv(content, csv, error)) {
        run.problem += (run.problem.empty() ? "" : "\n") + error;
    } else {
        run.output += "数据已写入 " + csv + "\n";
    }
    if (!run.problem.empty()) {
        run.verdict = Verdict::NoAnswer;
    }
    for (const std::string& line : content.missing) {
        run.problem += (run.problem.empty() ? "" : "\n") + line;
    }
    return run;
}
