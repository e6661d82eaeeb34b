// The maintenance report dialog: fields, reads with progress, both files, and the message.
#include "ReportDlg.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QSettings>
#include <ctime>
#include <iterator>
#include <memory>

#include "AppFonts.h"
#include "DevicePort.h"
#include "JudgeState.h"
#include "LinkSettings.h"
#include "LongRead.h"
#include "ReportCsv.h"
#include "ReportPdf.h"
#include "ReportReading.h"
#include "SerialPort.h"
#include "Templates.h"
#include "ids/ReportIds.h"

namespace id = idc::report;

const MessageEntry<CReportDlg> CReportDlg::kMessageMap[] = {
    {id::kPdfPath, Notify::TextChange, &CReportDlg::onPdfPathChanged},
    {id::kBrowse, Notify::Clicked, &CReportDlg::onBrowse},
    {id::kGenerate, Notify::Clicked, &CReportDlg::onGenerate},
};

namespace {

constexpr const char* kSettingsOrganization = "KORVAL";
constexpr const char* kSettingsApplication = "korval";
constexpr const char* kSettingsGroup = "report";
constexpr const char* kFieldKeys[] = {"site", "string", "technician"};
constexpr int kFieldIds[] = {id::kSite, id::kString, id::kTechnician};

constexpr const char* kNoPath = "请填写PDF文件的路径";
constexpr const char* kNoPort = "没有生成报告：串口无法打开";
constexpr const char* kDone = "报告已生成。\nPDF：%1\nCSV：%2";
constexpr const char* kDoneMissing = "\n\n以下内容未能读取，报告中已注明：\n%1";
constexpr const char* kFailed = "报告没有生成完整：\n%1";
constexpr const char* kReading = "正在读取：%1…";
constexpr const char* kRecordsRead = "正在读取内阻记录：%1/%2 条";
constexpr const char* kWriting = "正在写入报告文件…";
constexpr const char* kRecordsWhat = "内阻记录";

QString u(const char* text) {
    return QString::fromUtf8(text);
}

std::string defaultPdfPath() {
    const QString name = QStringLiteral("维护报告-%1.pdf")
                             .arg(QDateTime::currentDateTime().toString("yyyyMMdd-HHmm"));
    return QDir::home().filePath(name).toStdString();
}

std::string withPdfEnding(std::string path) {
    const QString p = QString::fromStdString(path);
    return p.endsWith(".pdf", Qt::CaseInsensitive) ? path : path + ".pdf";
}

}  // namespace

CReportDlg::CReportDlg(QWidget* parent) : CDialog(dialogTemplate(IDD_REPORT), parent) {
    useMessageMap<CReportDlg>(kMessageMap);
}

CReportDlg::~CReportDlg() = default;

std::string CReportDlg::csvPathFor(const std::string& pdfPath) {
    QString p = QString::fromStdString(pdfPath);
    if (p.endsWith(".pdf", Qt::CaseInsensitive)) {
        p.chop(4);
    }
    return (p + ".csv").toStdString();
}

bool CReportDlg::onInitDialog() {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    bool saved = false;
    for (size_t i = 0; i < std::size(kFieldKeys); ++i) {
        if (settings.contains(kFieldKeys[i])) {
            setWindowText(kFieldIds[i], settings.value(kFieldKeys[i]).toString().toStdString());
            saved = true;
        }
    }
    setChecked(id::kSaveFields, saved);
    setWindowText(id::kPdfPath, defaultPdfPath());
    onPdfPathChanged();
    return true;
}

void CReportDlg::onPdfPathChanged() {
    const std::string pdf = windowText(id::kPdfPath);
    setWindowText(id::kCsvPath, pdf.empty() ? "" : "CSV文件：" + csvPathFor(withPdfEnding(pdf)));
}

void CReportDlg::onBrowse() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, u("保存报告"), QString::fromStdString(windowText(id::kPdfPath)), u("PDF (*.pdf)"));
    if (!chosen.isEmpty()) {
        setWindowText(id::kPdfPath, withPdfEnding(chosen.toStdString()));
        onPdfPathChanged();
    }
}

// The fields are kept only while the technician asks for it; unticking forgets them.
void CReportDlg::rememberFields() {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kSettingsGroup);
    for (size_t i = 0; i < std::size(kFieldKeys); ++i) {
        if (isChecked(id::kSaveFields)) {
            settings.setValue(kFieldKeys[i], QString::fromStdString(windowText(kFieldIds[i])));
        } else {
            settings.remove(kFieldKeys[i]);
        }
    }
}

void CReportDlg::setBusy(bool busy) {
    m_busy = busy;
    for (const int control : {id::kSite, id::kString, id::kTechnician, id::kSaveFields,
                              id::kReadRecords, id::kPdfPath, id::kBrowse, id::kGenerate}) {
        enableControl(control, !busy);
    }
}

void CReportDlg::finish(const std::string& text) {
    setBusy(false);
    setWindowText(id::kProgress, text);
    messageBox(text);
}

// Escape or "关闭" while the device is read stops the records' read; the dialog stays.
void CReportDlg::onCancel() {
    if (m_pLongRead != nullptr) {
        m_pLongRead->requestStop();
        return;
    }
    if (!m_busy) {
        CDialog::onCancel();
    }
}

report::ReportInput CReportDlg::inputFromFields() const {
    report::ReportInput input;
    input.fields = {windowText(id::kSite), windowText(id::kString), windowText(id::kTechnician)};
    input.link = {LinkSettings::portNumber, portPath(LinkSettings::portNumber),
                  LinkSettings::baudRate, LinkSettings::deviceAddress};
    input.generatedAt = report::localTimeText(std::time(nullptr));
    const JudgeState& state = judgeState();
    if (state.baseline) {
        input.baseline = state.baseline->record;
        input.baselineLabel = state.baseline->label;
    }
    input.trend = state.trend;
    input.judge = state.judge;
    return input;
}

// The records' read gets the long-read box (progress, "取消") once the first one is in.
bool CReportDlg::readDevice(report::ReportInput& input) {
    PortSession port;
    if (!port) {  // the technician has been told why
        return false;
    }
    std::unique_ptr<LongRead> longRead;
    report::ReadHooks hooks;
    hooks.step = [this](const std::string& what) {
        setWindowText(id::kProgress, u(kReading).arg(QString::fromStdString(what)).toStdString());
    };
    hooks.recordProgress = [&](int read, int expected) {
        if (!longRead) {
            longRead = std::make_unique<LongRead>(
                this, [] {}, kRecordsWhat, expected, recordReplyLength(RecordKind::Resistance));
            m_pLongRead = longRead.get();
        }
        setWindowText(id::kProgress, u(kRecordsRead).arg(read).arg(expected).toStdString());
        longRead->recordDone();
    };
    hooks.stopRequested = [&] { return longRead && longRead->stopRequested(); };
    report::readReportParts(port, isChecked(id::kReadRecords), input, hooks);
    m_pLongRead = nullptr;
    return true;
}

// Both files, and the message: where they are and what is missing, or why they are not.
void CReportDlg::writeFiles(const report::ReportInput& input, const std::string& pdf,
                            const std::string& csv) {
    setWindowText(id::kProgress, kWriting);
    const report::ReportContent content = report::buildReport(input);
    std::string pdfError;
    std::string csvError;
    const bool pdfWritten = writeReportPdf(content, pdf, chosenCjkFace(), pdfError);
    const bool csvWritten = report::writeReportCsv(content, csv, csvError);
    if (!pdfWritten || !csvWritten) {
        const std::string both =
            pdfError + (pdfError.empty() || csvError.empty() ? "" : "\n") + csvError;
        finish(u(kFailed).arg(QString::fromStdString(both)).toStdString());
        return;
    }
    QString text = u(kDone).arg(QString::fromStdString(pdf), QString::fromStdString(csv));
    if (!content.missing.empty()) {
        QStringList lines;
        for (const std::string& line : content.missing) {
            lines << QString::fromStdString(line);
        }
        text += u(kDoneMissing).arg(lines.join('\n'));
    }
    finish(text.toStdString());
}

void CReportDlg::onGenerate() {
    if (windowText(id::kPdfPath).empty()) {
        messageBox(kNoPath);
        return;
    }
    const std::string pdf = withPdfEnding(windowText(id::kPdfPath));
    rememberFields();
    setBusy(true);
    report::ReportInput input = inputFromFields();
    if (!readDevice(input)) {
        setBusy(false);
        setWindowText(id::kProgress, kNoPort);
        return;
    }
    writeFiles(input, pdf, csvPathFor(pdf));
}
