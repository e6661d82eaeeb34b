// Soak driver: the program's main window on the offscreen platform, continuous reading on the
// bank page against the device at PATH for SECONDS, the way an operator leaves it running.
// At the end it stops the reading and prints the page's counters; scripts/soak.sh compares
// them with what the device says it answered and spoiled, and samples this process's RSS.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Dialog.h"
#include "MainDlg.h"
#include "ReadingPage.h"
#include "SerialPort.h"
#include "Strings.h"
#include "TabCtrl.h"
#include "ids/BankIds.h"
#include "ids/MainIds.h"

namespace {

constexpr int kBankTab = 1;

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: bench_soak PATH SECONDS\n");
        return 2;
    }
    setPortPath(1, argv[1]);
    CMainDlg main;
    main.create(nullptr);
    main.show();
    main.tabCtrl(idc::main_window::kTabs)->selectAsUser(kBankTab);
    auto* page = dynamic_cast<CReadingPage*>(main.currentPage());
    if (page == nullptr) {
        std::fprintf(stderr, "bench_soak: tab %d is not a reading page\n", kBankTab);
        return 1;
    }
    page->clickControl(idc::bank::kStartStop);
    if (page->windowText(idc::bank::kStartStop) == kStartReadingCaption) {
        std::fprintf(stderr, "bench_soak: the reading did not start (port %s)\n", argv[1]);
        return 1;
    }
    std::printf("bench_soak: reading %s for %s s\n", argv[1], argv[2]);
    std::fflush(stdout);
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &app, [&] {
        page->clickControl(idc::bank::kStartStop);  // stop: no tick runs after this
        app.quit();
    });
    app.exec();
    std::printf("bench_soak: ok %d failed %d\n", page->okCount(), page->failCount());
    return 0;
}
