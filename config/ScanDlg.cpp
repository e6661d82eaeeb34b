// The scan dialog: one probe a tick on the port the communication page chose, and the list of
// what answered.
#include "ScanDlg.h"

#include <string>

#include "LineWait.h"
#include "LinkSettings.h"
#include "MessageBox.h"
#include "RegisterCoding.h"
#include "ReportList.h"
#include "SerialPort.h"
#include "Strings.h"
#include "Templates.h"
#include "ids/ScanIds.h"

namespace ids = idc::scan;

const MessageEntry<CScanDlg> CScanDlg::kMessageMap[] = {
    {ids::kStart, Notify::Clicked, &CScanDlg::onStart},
    {ids::kCancel, Notify::Clicked, &CScanDlg::onStop},
    {ids::kApply, Notify::Clicked, &CScanDlg::onApply},
    {ids::kBack, Notify::Clicked, &CScanDlg::onBack},
};

namespace {

constexpr int kScanTimerId = 1;
// The next probe follows as soon as the timer allows; the event loop runs between two.
constexpr int kTickMs = 1;

constexpr const char* kScanning = "正在搜索…";
constexpr const char* kCancelled = "搜索已取消";
constexpr const char* kStoppedForApply = "搜索已停止";
constexpr const char* kPortFailed = "串口无法打开，搜索已停止";
constexpr const char* kFoundDevices = "搜索完成，找到%zu台设备";
constexpr const char* kNothingFound = "没有找到设备";
constexpr const char* kMsgNothingFound =
    "没有找到设备：所有波特率和地址都没有应答，请检查串口号、接线和设备电源";
constexpr const char* kMsgOtherRate = "收到无法识别的数据，可能有设备使用其他波特率";
constexpr const char* kTrying = "正在尝试：波特率%d，地址%d";
constexpr const char* kSecondsLeft = "约%u秒";

struct Column {
    const char* heading;
    int widthPx;
};
constexpr Column kColumns[] = {{"地址", 60}, {"波特率", 80}, {"版本", 80}};

std::string versionText(const FoundDevice& d) {
    return d.version ? formatText("Ver%0.2f", *d.version * 0.01) : std::string("未知");
}

}  // namespace

CScanDlg::CScanDlg(QWidget* parent) : CDialog(dialogTemplate(IDD_SCAN), parent) {
    useMessageMap<CScanDlg>(kMessageMap);
}

CScanDlg::~CScanDlg() = default;  // a scan under way closes its port with it

bool CScanDlg::onInitDialog() {
    CReportList* list = reportList(ids::kList);
    for (const Column& c : kColumns) {
        list->insertColumn(list->columnCount(), c.heading, c.widthPx);
    }
    list->fitRows(8);
    return true;
}

void CScanDlg::startScan() {
    m_run.reset();
    m_found.clear();
    reportList(ids::kList)->deleteAllItems();
    setWindowText(ids::kNote, "");
    setWindowText(ids::kStatus, kScanning);
    keepPaintingWhileWaiting();
    m_run = std::make_unique<DeviceScanRun>(
        ScanRequest{LinkSettings::portNumber,
                    {LinkSettings::baudRate, LinkSettings::deviceAddress},
                    false,
                    {}});
    showProgress();
    enableButtons();
    setTimer(kScanTimerId, kTickMs);
}

void CScanDlg::onLeave() {
    if (scanning()) {
        stopScan(kCancelled);
    }
}

void CScanDlg::onTimer(int timerId) {
    if (timerId != kScanTimerId || !m_run) {
        return;
    }
    m_run->step();
    showProgress();
    if (m_run->over()) {
        endScan();
    }
}

void CScanDlg::onStart() {
    startScan();
}

void CScanDlg::onStop() {
    if (scanning()) {
        stopScan(kCancelled);
    }
}

// The row chosen in the list, or the first when none is.
void CScanDlg::onApply() {
    if (scanning()) {
        stopScan(kStoppedForApply);
    }
    if (m_found.empty()) {
        return;
    }
    const int row = reportList(ids::kList)->currentIndex().row();
    const size_t chosen = row >= 0 && static_cast<size_t>(row) < m_found.size() ? row : 0;
    if (m_done) {
        m_done(m_found[chosen]);
    }
}

void CScanDlg::onBack() {
    onStop();
    if (m_done) {
        m_done(std::nullopt);
    }
}

void CScanDlg::showProgress() {
    const ScanProgress p = m_run->progress();
    setWindowText(ids::kDone, std::to_string(p.done));
    setWindowText(ids::kTotal, std::to_string(p.total));
    setWindowText(ids::kTimeLeft, formatText(kSecondsLeft, (p.msLeft + 999) / 1000));
    setWindowText(ids::kTrying, m_run->over() ? std::string()
                                              : formatText(kTrying, m_run->next().baudRate,
                                                           m_run->next().address));
    listNewDevices();
    if (!m_run->result().garbledRates.empty()) {
        setWindowText(ids::kNote, kMsgOtherRate);
    }
}

void CScanDlg::listNewDevices() {
    const std::vector<FoundDevice>& devices = m_run->result().devices;
    CReportList* list = reportList(ids::kList);
    const bool first = m_found.empty();
    for (size_t k = m_found.size(); k < devices.size(); ++k) {
        const FoundDevice& d = devices[k];
        list->appendRow({std::to_string(d.address), std::to_string(d.baudRate), versionText(d)});
        m_found.push_back(d);
    }
    if (first && !m_found.empty()) {
        enableButtons();
    }
}

void CScanDlg::stopScan(const char* status) {
    killTimerById(kScanTimerId);
    m_run->cancel();
    showProgress();
    m_run.reset();
    setWindowText(ids::kStatus, status);
    setWindowText(ids::kTimeLeft, "");
    enableButtons();
}

void CScanDlg::endScan() {
    killTimerById(kScanTimerId);
    const ScanResult result = m_run->result();
    m_run.reset();
    setWindowText(ids::kTimeLeft, "");
    enableButtons();
    if (result.end == ScanEnd::PortFailed) {
        setWindowText(ids::kStatus, kPortFailed);
        appMessageBox(kMsgPortOpenFailed, portOpenErrorDetails(lastPortOpenError()));
    } else if (m_found.empty()) {
        setWindowText(ids::kStatus, kNothingFound);
        messageBox(result.garbledRates.empty() ? kMsgNothingFound : kMsgOtherRate);
    } else {
        setWindowText(ids::kStatus, formatText(kFoundDevices, m_found.size()));
    }
}

void CScanDlg::enableButtons() {
    enableControl(ids::kStart, !scanning());
    enableControl(ids::kCancel, scanning());
    enableControl(ids::kApply, !m_found.empty());
}
