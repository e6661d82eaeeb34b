// Benchmark: resident memory of the whole program holding the largest record list there is,
// 65,535 alarm records (the most a 16-bit count can report), read through the real main
// window from the built-in device, as `korval --demo` would. Goal: under 60 MB. Not a
// test; prints its figures.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "DeviceServer.h"
#include "LinkSettings.h"
#include "MainDlg.h"
#include "MessageBox.h"
#include "ProcStatus.h"
#include "ReportList.h"
#include "SerialPort.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordQueryIds.h"

namespace {

constexpr int kRecords = 65535;

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    int messages = 0;
    setMessageSink([&messages](const MessageBoxEvent& e) {
        ++messages;
        std::fprintf(stderr, "message: %s\n", e.text.c_str());
    });
    DeviceServer device;
    if (!device.start()) {
        std::fprintf(stderr, "no pseudo-terminal for the device\n");
        return 2;
    }
    setPortPath(1, device.path());
    CMainDlg main;
    main.create(nullptr);
    main.resize(1300, 800);
    main.show();
    QApplication::processEvents();
    const double window = statusMegabytes("VmRSS:");
    device.seedAlarmRecords(kRecords);
    const double seeded = statusMegabytes("VmRSS:");

    main.page(6)->clickControl(idc::record_query::kAlarmRecords);
    CDialog* records = main.currentPage();
    records->clickControl(idc::alarm_records::kReadCount);
    const auto start = std::chrono::steady_clock::now();
    records->clickControl(idc::alarm_records::kReadAll);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CReportList* list = records->reportList(idc::alarm_records::kList);
    list->scrollToBottom();
    QApplication::processEvents();
    const double full = statusMegabytes("VmRSS:");
    const double peak = statusMegabytes("VmHWM:");

    std::printf("main window shown, built-in device:      %6.1f MB resident\n", window);
    std::printf("device seeded with %d alarm records:  %6.1f MB\n", kRecords, seeded);
    std::printf("%d rows read in %.1f s and shown:     %6.1f MB  (goal < 60 MB)\n",
                list->rowCount(), seconds, full);
    std::printf("peak resident:                           %6.1f MB\n", peak);
    const bool complete = list->rowCount() == kRecords && messages == 0;
    return complete && full < 60.0 ? 0 : 1;
}
