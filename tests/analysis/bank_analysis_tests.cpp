// The bank judgement alone: summary with ties and missing cells, bands near and over the
// limits, stale readings, the ranking of the worst cells, the verdict, and inputs that must
// never turn into NaN or infinity.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "BankAnalysis.h"

namespace {

using namespace analysis;
using Cells = std::vector<std::optional<double>>;

Cells uniform(double value, int count = 40) {
    return Cells(static_cast<size_t>(count), value);
}

// Voltages, resistances and temperatures of a healthy 40-cell bank (all within the limits).
struct Bank {
    Cells volts = uniform(12.5);
    Cells ohms = uniform(4.0);
    Cells temps = uniform(25.0);
    std::optional<double> current = 10.0;
    bool stale = false;
    BankInput input() const { return {volts, ohms, temps, current, stale}; }
};

Limits deviceLimits() {
    Limits l;
    l.tempUpper = 45;
    l.tempLower = -20;
    l.voltUpper = 140 * 0.1;  // as the register 0x100F decodes
    l.voltLower = 105 * 0.1;
    l.resistanceUpper = 60 * 0.1;
    l.currentUpper = 500;
    return l;
}

void expectFinite(const std::optional<double>& v) {
    if (v) {
        EXPECT_TRUE(std::isfinite(*v)) << *v;
    }
}

void expectAllFinite(const BankReport& r) {
    for (const QuantityReport& q : r.quantities) {
        if (q.stats) {
            for (double v : {q.stats->min.value, q.stats->max.value, q.stats->mean, q.stats->median,
                             q.stats->spread}) {
                EXPECT_TRUE(std::isfinite(v)) << v;
            }
        }
        for (const CellJudgement& c : q.cells) {
            expectFinite(c.value);
            expectFinite(c.deviation);
            expectFinite(c.deviationPercent);
        }
    }
}

TEST(BankSummary, MinMaxListEveryTiedCellAndTheMedianOfAnEvenCount) {
    const Cells v = {2.1, 2.3, 2.1, 2.4, 2.4, 2.2};
    const auto s = summarize(v);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->count, 6);
    EXPECT_DOUBLE_EQ(s->min.value, 2.1);
    EXPECT_EQ(s->min.cells, (std::vector<int>{1, 3}));
    EXPECT_DOUBLE_EQ(s->max.value, 2.4);
    EXPECT_EQ(s->max.cells, (std::vector<int>{4, 5}));
    EXPECT_NEAR(s->mean, 2.25, 1e-12);
    EXPECT_NEAR(s->median, 2.25, 1e-12);  // (2.2 + 2.3) / 2
    EXPECT_NEAR(s->spread, 0.3, 1e-12);

    const Cells odd = {5.0, 1.0, 3.0};
    EXPECT_DOUBLE_EQ(summarize(odd)->median, 3.0);
    const Cells one = {std::nullopt, 7.5};
    const auto single = summarize(one);
    EXPECT_EQ(single->min.cells, (std::vector<int>{2}));
    EXPECT_EQ(single->max.cells, (std::vector<int>{2}));
    EXPECT_EQ(single->spread, 0);
}

TEST(BankSummary, AMissingCellIsLeftOutAndMarked) {
    Bank bank;
    bank.volts[6] = std::nullopt;
    bank.volts[7] = 11.5;
    const BankReport r = assessBank(bank.input(), deviceLimits());
    const QuantityReport& v = r.of(Quantity::Voltage);
    EXPECT_EQ(v.stats->count, 39);
    EXPECT_EQ(v.stats->min.cells, (std::vector<int>{8}));
    EXPECT_NEAR(v.stats->mean, (38 * 12.5 + 11.5) / 39, 1e-12);
    EXPECT_EQ(v.cells[6].freshness, Freshness::Missing);
    EXPECT_EQ(v.cells[6].band, Band::Unjudged);
    EXPECT_FALSE(v.cells[6].deviation);
    EXPECT_EQ(r.verdict.missing, 1);
    EXPECT_EQ(r.verdict.level, VerdictLevel::Warning);
    for (const WorstCell& w : r.worst) {
        EXPECT_NE(w.cell, 7);
    }
}

TEST(BankSummary, AnAllEqualBankHasNoOutlierAndIsOk) {
    Bank bank;
    bank.volts = uniform(12.345);  // a sum divided by 40 would not give 12.345 back
    const BankReport r = assessBank(bank.input(), deviceLimits());
    const QuantityReport& v = r.of(Quantity::Voltage);
    EXPECT_EQ(v.stats->min.cells.size(), 40u);
    EXPECT_EQ(v.stats->max.cells.size(), 40u);
    EXPECT_EQ(v.stats->spread, 0);
    EXPECT_EQ(v.stats->mean, 12.345);
    EXPECT_EQ(v.cells[39].deviation, 0.0);
    EXPECT_EQ(v.cells[39].deviationPercent, 0.0);
    EXPECT_TRUE(r.worst.empty());
    EXPECT_EQ(r.verdict.level, VerdictLevel::Ok);
    EXPECT_EQ(exitCode(r.verdict.level), 0);
}

TEST(BankSummary, EmptyInputGivesNothingToJudge) {
    const BankReport r = assessBank({}, deviceLimits());
    for (const QuantityReport& q : r.quantities) {
        EXPECT_FALSE(q.stats);
        EXPECT_TRUE(q.cells.empty());
    }
    EXPECT_TRUE(r.worst.empty());
    EXPECT_EQ(r.currentBand, Band::Unjudged);
    EXPECT_FALSE(r.verdict.judged);
    // Nothing checked is not "ok".
    EXPECT_EQ(r.verdict.level, VerdictLevel::Warning);

    const Cells none = uniform(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(summarize(none));
}

TEST(BankSummary, NegativeTemperaturesAndAMeanOfZero) {
    Bank bank;
    bank.temps = uniform(-5.0);
    bank.temps[0] = -7.5;
    bank.temps[1] = -21.0;
    const BankReport r = assessBank(bank.input(), deviceLimits());
    const QuantityReport& t = r.of(Quantity::Temperature);
    EXPECT_EQ(t.stats->min.cells, (std::vector<int>{2}));
    EXPECT_DOUBLE_EQ(t.stats->max.value, -5.0);
    EXPECT_DOUBLE_EQ(t.stats->median, -5.0);
    EXPECT_EQ(t.cells[1].band, Band::OverLimit);  // below -20
    EXPECT_EQ(t.cells[0].band, Band::Normal);
    // Colder than the mean is a negative deviation, also in %, though the mean is negative.
    EXPECT_LT(*t.cells[0].deviation, 0);
    EXPECT_LT(*t.cells[0].deviationPercent, 0);
    EXPECT_GT(*t.cells[2].deviationPercent, 0);

    const Cells aroundZero = {0.7, 0.2, -0.9};  // the mean comes out as -5.6e-17, not 0
    bank.temps = aroundZero;
    const BankReport z = assessBank(bank.input(), deviceLimits());
    for (const CellJudgement& c : z.of(Quantity::Temperature).cells) {
        EXPECT_FALSE(c.deviationPercent);
        EXPECT_TRUE(c.deviation);
    }
    expectAllFinite(z);
}

TEST(BankSummary, NonFiniteAndAbsurdValuesCountAsMissing) {
    Bank bank;
    bank.volts[0] = std::numeric_limits<double>::quiet_NaN();
    bank.volts[1] = std::numeric_limits<double>::infinity();
    bank.volts[2] = -1e300;
    bank.volts[3] = 1e300;
    bank.current = std::numeric_limits<double>::quiet_NaN();
    const BankReport r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.of(Quantity::Voltage).stats->count, 36);
    EXPECT_EQ(r.verdict.missing, 4);
    EXPECT_EQ(r.currentBand, Band::Unjudged);
    expectAllFinite(r);

    // Random banks, some cells missing, values over the whole plausible range.
    std::mt19937 rng(18);
    std::uniform_real_distribution<double> value(-1e9, 1e9);
    for (int round = 0; round < 200; ++round) {
        for (Cells* cells : {&bank.volts, &bank.ohms, &bank.temps}) {
            for (auto& c : *cells) {
                c = rng() % 7 == 0 ? std::nullopt : std::optional<double>(value(rng));
            }
        }
        expectAllFinite(assessBank(bank.input(), deviceLimits()));
    }
}

TEST(Bands, NearAndOverTheLimitsOfATwoSidedBand) {
    // 10.5 ... 14.0 V: 5 % of the 3.5 V width puts the warning band 0.175 V inside each limit.
    const Limits l = deviceLimits();
    auto band = [&](double v) { return judgeValue(v, l.voltLower, l.voltUpper); };
    EXPECT_EQ(band(12.5), Band::Normal);
    EXPECT_EQ(band(13.8), Band::Normal);
    EXPECT_EQ(band(13.85), Band::Warning);
    EXPECT_EQ(band(14000 * 0.001), Band::Warning);  // at the limit, not over it
    EXPECT_EQ(band(14.001), Band::OverLimit);
    EXPECT_EQ(band(10.7), Band::Normal);
    EXPECT_EQ(band(10.6), Band::Warning);
    EXPECT_EQ(band(10500 * 0.001), Band::Warning);
    EXPECT_EQ(band(10.499), Band::OverLimit);
    // A 2 V string: the limit byte 24 scales to 2.4000000000000004, the reading 2400 to 2.4;
    // a reading at its limit is not over it.
    EXPECT_EQ(judgeValue(2400 * 0.001, 24 * 0.1, 27 * 0.1), Band::Warning);

    // One-sided: 5 % of the 6.0 mOhm limit.
    EXPECT_EQ(judgeValue(5.69, std::nullopt, l.resistanceUpper), Band::Normal);
    EXPECT_EQ(judgeValue(5.71, std::nullopt, l.resistanceUpper), Band::Warning);
    EXPECT_EQ(judgeValue(6.01, std::nullopt, l.resistanceUpper), Band::OverLimit);

    // The margin is editable; a senseless one leaves only the limit itself.
    EXPECT_EQ(judgeValue(5.5, std::nullopt, 6.0, {0.10}), Band::Warning);
    EXPECT_EQ(judgeValue(5.99, std::nullopt, 6.0, {std::nan("")}), Band::Normal);
    EXPECT_EQ(judgeValue(5.99, std::nullopt, 6.0, {-1}), Band::Normal);
    EXPECT_EQ(judgeValue(6.0, std::nullopt, 6.0, {-1}), Band::Warning);
}

TEST(Bands, NoLimitsNoBandsAndCrossedLimitsStillApply) {
    Bank bank;
    bank.volts[4] = 20.0;
    const BankReport r = assessBank(bank.input(), Limits{});
    for (const QuantityReport& q : r.quantities) {
        EXPECT_FALSE(q.limitsKnown);
        for (const CellJudgement& c : q.cells) {
            EXPECT_EQ(c.band, Band::Unjudged);
        }
    }
    EXPECT_EQ(r.verdict.level, VerdictLevel::Warning);
    EXPECT_FALSE(r.verdict.judged);
    ASSERT_FALSE(r.worst.empty());  // deviations still rank without limits
    EXPECT_EQ(r.worst[0].cell, 5);

    // Lower above upper (nothing stops an operator from setting it): each side still counts.
    EXPECT_EQ(judgeValue(12.0, 13.0, 11.0), Band::OverLimit);
    EXPECT_EQ(judgeValue(std::nan(""), 10.0, 14.0), Band::Unjudged);
}

TEST(Bands, StaleReadingsKeepTheirBandButAreNeverFresh) {
    Bank bank;
    bank.stale = true;
    BankReport r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.of(Quantity::Voltage).cells[0].freshness, Freshness::Stale);
    EXPECT_EQ(r.of(Quantity::Voltage).cells[0].band, Band::Normal);
    EXPECT_TRUE(r.verdict.stale);
    EXPECT_EQ(r.verdict.level, VerdictLevel::Warning);  // all normal, but old

    bank.ohms[9] = 7.0;
    r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.verdict.level, VerdictLevel::Fail);
    ASSERT_FALSE(r.worst.empty());
    EXPECT_TRUE(r.worst[0].reasons[0].stale);
}

TEST(Verdict, OneCellOverALimitFailsTheBankAndLeadsTheWorst) {
    Bank bank;
    bank.volts[16] = 14.2;
    const BankReport r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.of(Quantity::Voltage).cells[16].band, Band::OverLimit);
    EXPECT_EQ(r.verdict.overLimit, 1);
    EXPECT_EQ(r.verdict.level, VerdictLevel::Fail);
    EXPECT_EQ(exitCode(r.verdict.level), 2);
    ASSERT_FALSE(r.worst.empty());
    EXPECT_EQ(r.worst[0].cell, 17);
    EXPECT_EQ(r.worst[0].reasons[0].quantity, Quantity::Voltage);
    EXPECT_EQ(r.worst[0].reasons[0].band, Band::OverLimit);
    EXPECT_DOUBLE_EQ(r.worst[0].reasons[0].value, 14.2);
}

TEST(Verdict, TheCurrentIsJudgedByItsMagnitude) {
    Bank bank;
    bank.current = -600.0;  // discharging beyond the 500 A limit
    BankReport r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.currentBand, Band::OverLimit);
    EXPECT_EQ(r.verdict.level, VerdictLevel::Fail);
    bank.current = -480.0;
    r = assessBank(bank.input(), deviceLimits());
    EXPECT_EQ(r.currentBand, Band::Warning);
    EXPECT_EQ(r.verdict.level, VerdictLevel::Warning);
    EXPECT_EQ(worse(VerdictLevel::Warning, VerdictLevel::Fail), VerdictLevel::Fail);
}

TEST(WorstCells, RankedOverLimitThenWarningThenDeviationOneEntryPerCell) {
    Bank bank;
    bank.ohms[29] = 5.8;    // cell 30: resistance warning
    bank.volts[2] = 10.0;   // cell 3: voltage under its limit
    bank.temps[2] = 44.0;   // cell 3 also: temperature warning
    bank.volts[11] = 12.0;  // cell 12: off the mean by 4 %
    bank.temps[20] = 30.0;  // cell 21: off the mean by about 20 %
    bank.ohms[5] = 4.4;     // cell 6: off the mean by about 10 %
    bank.volts[7] = 12.4;   // cell 8: off the mean by under 1 %
    const BankReport r = assessBank(bank.input(), deviceLimits());

    ASSERT_EQ(r.worst.size(), 5u);
    std::vector<int> order;
    for (const WorstCell& w : r.worst) {
        order.push_back(w.cell);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 30, 21, 6, 12}));
    // Its voltage, then its temperature; its resistance, now a little below the mean, is no
    // reason at all.
    ASSERT_EQ(r.worst[0].reasons.size(), 2u);
    EXPECT_EQ(r.worst[0].reasons[0].band, Band::OverLimit);
    EXPECT_EQ(r.worst[0].reasons[1].quantity, Quantity::Temperature);
    EXPECT_EQ(r.worst[0].reasons[1].band, Band::Warning);
    EXPECT_EQ(r.worst[1].reasons[0].band, Band::Warning);
    EXPECT_NEAR(*r.worst[2].reasons[0].deviationPercent, 100.0 * (30 - 25.6) / 25.6, 1e-9);
}

TEST(WorstCells, EqualDeviationsRankVoltageFirstThenTheLowerCellAndALowResistanceIsNone) {
    Bank bank;
    // All four 12.5 % off their means, up to rounding.
    bank.volts[30] = 14.0625;
    bank.volts[20] = 10.9375;
    bank.ohms[0] = 4.5;
    bank.ohms[1] = 3.5;  // below the mean: a healthier cell, not listed
    const BankReport r = assessBank(bank.input(), Limits{});
    ASSERT_EQ(r.worst.size(), 3u);
    EXPECT_EQ(r.worst[0].cell, 21);
    EXPECT_EQ(r.worst[1].cell, 31);
    EXPECT_EQ(r.worst[2].cell, 1);
}

}  // namespace
