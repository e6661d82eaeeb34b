// Benchmark: the UI cost of one bank-page tick without the line: formatting the 121 live
// registers and updating the 121 value cells, and judging them (decode, assess, texts, the
// marks and tips of the 120 value cells); separately, the repaint that follows.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "BankDataPage.h"
#include "BankTriageView.h"
#include "JudgeState.h"

namespace {

Registers liveRegisters(uint16_t base) {
    Registers values;
    for (int r = 0; r < 121; ++r) {
        values.push_back(static_cast<uint16_t>(base + r * 7));
    }
    return values;
}

template <class F>
double microsecondsPer(int rounds, F&& work) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        work(i);
    }
    const std::chrono::duration<double, std::micro> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    CBankDataPage page;
    page.create(nullptr);
    page.resize(1000, 760);
    page.show();
    // Two replies whose every value differs, so every cell really changes each tick.
    const Registers replies[2] = {liveRegisters(1000), liveRegisters(13000)};
    constexpr int kRounds = 2000;
    // Limits the values cross, so every band is drawn and the worst cells have limit reasons.
    judgeState().limits = analysis::Limits{{60.0}, {0.0}, {40.0}, {5.0}, {80.0}, {100.0}};

    page.showRegisters(replies[1]);
    const double decode =
        microsecondsPer(kRounds, [&](int i) { page.showRegisters(replies[i % 2]); });
    const double judging = microsecondsPer(kRounds, [&](int i) {
        const auto live = decodeLiveBlock(replies[i % 2]);
        showBankTriage(page, *live, i % 5 == 0, "12:00:00");
    });
    const double withPaint = microsecondsPer(kRounds / 10, [&](int i) {
        page.showRegisters(replies[i % 2]);
        QApplication::processEvents();
    });

    std::printf(
        "bank page tick (format 121 registers, update 121 cells): %8.1f us  (target <= 2000 us)\n",
        decode);
    std::printf(
        "of which judging (decode, assess, texts, marks of 120 cells): %6.1f us  "
        "(target <= 500 us)\n",
        judging);
    std::printf("same, followed by the repaint of the shown page:          %8.1f us\n", withPaint);
    return decode <= 2000.0 && judging <= 500.0 ? 0 : 1;
}
