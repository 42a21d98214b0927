// Roasts compared: aligned at a mark, and the table's mean and spread.
#include <gtest/gtest.h>

#include "roast_comparison.h"
#include "roast_log_maker.h"

namespace {

// Three roasts: the third has no first crack, only the first its weights.
std::vector<ComparedRoast> ThreeRoasts() {
    MadeRoast a;
    a.profile = "Light, \"fast\"";
    a.notes = {"Kenya", 250.0, 212.0, ""};
    a.end_f = 414;
    MadeRoast b;
    b.start = "2026-12-09T09:00:00+01:00";
    b.dry_end = 260;
    b.first_crack = 430;
    b.drop = 620;
    b.end_f = 420;
    MadeRoast c;
    c.start = "2026-12-10T09:00:00+01:00";
    c.dry_end = 250;
    c.first_crack.reset();
    c.drop = 580;
    c.end_f = 410;
    std::vector<ComparedRoast> roasts;
    for (const MadeRoast& r : {a, b, c}) roasts.push_back(CompareEntry(MakeRoastLog(r), r.start + ".csv"));
    return roasts;
}

TEST(RoastComparison, RoastsAlignAtAMarkAndOneWithoutItAmongTheirStarts) {
    const std::vector<ComparedRoast> roasts = ThreeRoasts();
    const std::vector<RoastAlignment> at_crack = AlignRoasts(roasts, AlignPoint::FirstCrack);
    ASSERT_EQ(at_crack.size(), 3u);
    EXPECT_DOUBLE_EQ(at_crack[0].offset_s, 420);
    EXPECT_DOUBLE_EQ(at_crack[1].offset_s, 430);
    EXPECT_DOUBLE_EQ(at_crack[2].offset_s, 425);
    EXPECT_TRUE(at_crack[0].at_point && at_crack[1].at_point);
    EXPECT_FALSE(at_crack[2].at_point);
    const std::vector<RoastAlignment> at_drop = AlignRoasts(roasts, AlignPoint::Drop);
    EXPECT_DOUBLE_EQ(at_drop[2].offset_s, 580);
    EXPECT_TRUE(at_drop[2].at_point);
    for (const RoastAlignment& a : AlignRoasts(roasts, AlignPoint::Start)) EXPECT_EQ(a.offset_s, 0);
}

TEST(RoastComparison, TheTableGivesMeanAndSpreadOfTheValuesPresent) {
    const std::vector<ComparedRoast> roasts = ThreeRoasts();
    const ColumnSpread crack = SpreadOf(roasts, CompareColumn::FirstCrackTime, false);
    EXPECT_EQ(crack.count, 2u);
    EXPECT_DOUBLE_EQ(*crack.mean, 425);
    EXPECT_NEAR(*crack.deviation, 7.0711, 1e-4);  // sample deviation: sqrt((5² + 5²) / 1)
    const ColumnSpread loss = SpreadOf(roasts, CompareColumn::WeightLoss, false);
    EXPECT_EQ(loss.count, 1u);
    EXPECT_NEAR(*loss.mean, 15.2, 1e-9);
    EXPECT_FALSE(loss.deviation);

    // In °C: 414, 420 and 410 °F at the drop.
    const std::string csv = ComparisonCsv(roasts, true);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = csv.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(csv.substr(at, end - at));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0],
              "start,profile,bean,roast_time_s,dry_end_s,dry_end_c,first_crack_s,first_crack_c,drop_s,drop_c,"
              "drying_s,drying_pct,maillard_s,maillard_pct,development_s,development_ratio_pct,end_c,weight_loss_pct");
    EXPECT_EQ(lines[1].substr(0, lines[1].find(",600.0,")),
              "2026-12-08T14:03:05+01:00,\"Light, \"\"fast\"\"\",Kenya");
    // The drop: (414 + 420 + 410) / 3 °F = 414.67 °F = 212.59 °C; drying
    // 240 / 600, 260 / 620 and 250 / 580 of the roasts; the development
    // ratio 180 / 600 and 190 / 620.
    EXPECT_EQ(lines[4], "mean,,,600.0,250.0,137.8,425.0,183.3,600.0,212.6,250.0,41.7,175.0,28.7,185.0,30.3,212.6,15.2");
    EXPECT_EQ(lines[5], "standard deviation,,,20.0,10.0,2.9,7.1,1.6,20.0,2.8,10.0,1.6,7.1,1.8,7.1,0.5,2.8,");
}

}  // namespace
