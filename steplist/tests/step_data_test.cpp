#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "step_data.h"

namespace {

class RecordingSink : public DiagnosticSink {
public:
    void ShowDiagnostic(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

using Step = std::tuple<uint32_t, int, int, int, uint32_t>;  // index, fan, time, heat, status

std::vector<Step> Steps(const CStep_Data& list) {
    std::vector<Step> out;
    for (const StepNode* p = list.head; p && out.size() < 100; p = p->next)
        out.emplace_back(p->index, p->fan, p->time, p->heat, p->status);
    return out;
}

// A list of n roast steps (fan = position, time = 10 * position) and a cooling step.
void FillProfile(CStep_Data& list, uint32_t roastSteps) {
    list.Clear();
    for (uint32_t i = 1; i <= roastSteps; ++i) list.InsertStep(i, static_cast<int>(i % 9 + 1), static_cast<int>(10 * i % 99 + 1), 3, StepWaiting);
    list.InsertStep(roastSteps + 1, 5, 30, 0, CoolWaiting);
}

class StepDataTest : public ::testing::Test {
protected:
    RecordingSink sink;
    CStep_Data list{&sink};
};

TEST_F(StepDataTest, NewListHoldsOneWaitingStep) {
    EXPECT_EQ(list.count, 1u);
    EXPECT_THAT(Steps(list), ::testing::ElementsAre(Step{1, 5, 59, 3, StepWaiting}));
}

TEST_F(StepDataTest, DefaultProfileIsOneRoastStepAndCooling) {
    list.InsertStep(2, 1, 1, 1, StepWaiting);
    list.SetDefaultProfile();
    EXPECT_EQ(list.count, 2u);
    EXPECT_EQ(list.Renumber(), 2u);
    EXPECT_THAT(Steps(list), ::testing::ElementsAre(Step{1, 5, 59, 3, StepWaiting}, Step{2, 5, 30, 0, CoolWaiting}));
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(StepDataTest, InsertAtZeroOrOneGoesFirstAndRenumbersTheRest) {
    for (uint32_t position : {0u, 1u}) {
        list.SetDefaultProfile();
        ASSERT_NE(list.InsertStep(position, 7, 40, 2, StepWaiting), nullptr);
        EXPECT_THAT(Steps(list), ::testing::ElementsAre(Step{1, 7, 40, 2, StepWaiting}, Step{2, 5, 59, 3, StepWaiting},
                                                        Step{3, 5, 30, 0, CoolWaiting}))
            << "position " << position;
    }
}

TEST_F(StepDataTest, InsertInTheMiddleShiftsLaterIndices) {
    list.SetDefaultProfile();
    list.InsertStep(2, 9, 20, 1, StepRunning);
    EXPECT_THAT(Steps(list), ::testing::ElementsAre(Step{1, 5, 59, 3, StepWaiting}, Step{2, 9, 20, 1, StepRunning},
                                                    Step{3, 5, 30, 0, CoolWaiting}));
    EXPECT_EQ(list.count, 3u);
}

TEST_F(StepDataTest, InsertAtCountPlusOneAppendsAndPlusTwoIsRefused) {
    list.SetDefaultProfile();
    ASSERT_NE(list.InsertStep(3, 4, 44, 0, CoolWaiting), nullptr);
    EXPECT_EQ(std::get<0>(Steps(list).back()), 3u);
    auto before = Steps(list);
    EXPECT_EQ(list.InsertStep(5, 1, 1, 1, StepWaiting), nullptr);
    EXPECT_EQ(Steps(list), before);
    EXPECT_EQ(list.count, 3u);
    EXPECT_THAT(sink.texts, ::testing::ElementsAre("链表添加查找超出边界"));
}

TEST_F(StepDataTest, InsertIntoAnEmptyListAtOneWorks) {
    list.Clear();
    EXPECT_EQ(list.count, 0u);
    ASSERT_NE(list.InsertStep(1, 2, 3, 1, StepWaiting), nullptr);
    EXPECT_THAT(Steps(list), ::testing::ElementsAre(Step{1, 2, 3, 1, StepWaiting}));
}

TEST_F(StepDataTest, DeleteDiagnostics) {
    struct Case {
        uint32_t steps;
        uint32_t position;
        const char* text;
    };
    for (const Case& c : {Case{1, 1, "不能删除链表唯一成员"}, Case{1, 2, "链表删减查找超出边界"},
                          Case{3, 0, "链表删减查找超出边界"}, Case{3, 4, "链表删减查找超出边界"}}) {
        sink.texts.clear();
        list.Clear();
        for (uint32_t i = 1; i <= c.steps; ++i) list.InsertStep(i, 5, 59, 3, StepWaiting);
        auto before = Steps(list);
        list.DeleteStep(c.position);
        EXPECT_THAT(sink.texts, ::testing::ElementsAre(c.text)) << c.steps << " steps, position " << c.position;
        EXPECT_EQ(Steps(list), before);
    }
}

TEST_F(StepDataTest, DeleteLeavesNoGapInTheIndices) {
    for (uint32_t k = 1; k <= 5; ++k) {
        FillProfile(list, 4);
        auto before = Steps(list);
        list.DeleteStep(k);
        before.erase(before.begin() + (k - 1));
        for (size_t i = 0; i < before.size(); ++i) std::get<0>(before[i]) = static_cast<uint32_t>(i + 1);
        EXPECT_EQ(Steps(list), before) << "deleted " << k;
        EXPECT_EQ(list.count, 4u);
    }
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(StepDataTest, UpdateStepKeepsFieldsPassedAs255) {
    list.SetDefaultProfile();
    EXPECT_TRUE(list.UpdateStep(2, KEEP_VALUE, 40, KEEP_VALUE, KEEP_VALUE));
    EXPECT_THAT(Steps(list)[1], Step(2, 5, 40, 0, CoolWaiting));
    EXPECT_TRUE(list.UpdateStep(1, 9, KEEP_VALUE, 1, StepCompleted));
    EXPECT_THAT(Steps(list)[0], Step(1, 9, 59, 1, StepCompleted));
    EXPECT_FALSE(list.UpdateStep(3, 1, 1, 1, StepWaiting));
}

TEST_F(StepDataTest, GetStepMissLeavesOutputUntouched) {
    list.SetDefaultProfile();
    StepNode out{77, 1, 2, 3, 4, nullptr};
    EXPECT_FALSE(list.GetStep(3, out));
    EXPECT_FALSE(list.GetStep(0, out));
    EXPECT_EQ(out.index, 77u);
    EXPECT_EQ(out.time, 2);
    ASSERT_TRUE(list.GetStep(2, out));
    EXPECT_EQ(out.index, 2u);
    EXPECT_EQ(out.time, 30);
    EXPECT_EQ(out.status, CoolWaiting);
}

TEST_F(StepDataTest, EmptyListOperationsReportNothing) {
    list.Clear();
    list.Clear();
    StepNode out{};
    EXPECT_FALSE(list.GetStep(1, out));
    EXPECT_FALSE(list.UpdateStep(1, 1, 1, 1, 1));
    EXPECT_EQ(list.Renumber(), 0u);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(StepDataTest, RenumberRepairsIndicesAndDetectsAChainLongerThanCount) {
    FillProfile(list, 3);
    for (StepNode* p = list.head; p; p = p->next) p->index = 9;
    EXPECT_EQ(list.Renumber(), 4u);
    EXPECT_EQ(std::get<0>(Steps(list)[3]), 4u);

    list.count = 2;  // an outside change left the count behind the chain
    EXPECT_EQ(list.Renumber(), 0u);
    EXPECT_EQ(list.count, 2u);
    EXPECT_THAT(sink.texts, ::testing::ElementsAre("链表查找地址出错"));
}

TEST_F(StepDataTest, InsertAndDeleteOnAChainShorterThanCountReportLookupError) {
    list.SetDefaultProfile();
    list.count = 5;
    EXPECT_EQ(list.InsertStep(5, 1, 1, 1, StepWaiting), nullptr);
    list.DeleteStep(4);
    EXPECT_THAT(sink.texts, ::testing::ElementsAre("链表添加查找错误", "链表添加查找错误"));
    EXPECT_EQ(Steps(list).size(), 2u);
}

TEST_F(StepDataTest, CopyFromCopiesTwentyOneRecordsInOrder) {
    CStep_Data source(&sink);
    FillProfile(source, 20);
    ASSERT_EQ(source.count, 21u);
    list.CopyFrom(source.head);
    EXPECT_EQ(list.count, 21u);
    EXPECT_EQ(Steps(list), Steps(source));
    EXPECT_NE(list.head, source.head);
    EXPECT_TRUE(sink.texts.empty());
}

TEST_F(StepDataTest, CopyFromItsOwnChainKeepsTheValues) {
    FillProfile(list, 3);
    auto before = Steps(list);
    list.CopyFrom(list.head);
    EXPECT_EQ(Steps(list), before);
}

TEST_F(StepDataTest, CopyFromASourceNotNumberedFromOneReportsBounds) {
    StepNode second{3, 7, 7, 1, CoolWaiting, nullptr};
    StepNode first{2, 9, 9, 2, StepWaiting, &second};
    list.CopyFrom(&first);
    EXPECT_THAT(sink.texts, ::testing::ElementsAre("链表添加查找超出边界", "链表添加查找超出边界"));
    EXPECT_EQ(list.count, 1u);
}

TEST_F(StepDataTest, CopyFromNullLeavesTheList) {
    FillProfile(list, 2);
    auto before = Steps(list);
    list.CopyFrom(nullptr);
    EXPECT_EQ(Steps(list), before);
}

TEST_F(StepDataTest, ToArrayFollowsTheChain) {
    FillProfile(list, 3);
    std::vector<StepNode*> items(list.count);
    list.ToArray(items.data());
    StepNode* p = list.head;
    for (StepNode* item : items) {
        EXPECT_EQ(item, p);
        p = p->next;
    }
}

TEST(StepNodeLayout, FieldsAreThirtyTwoBitInTheSharedOrder) {
    EXPECT_EQ(offsetof(StepNode, index), 0u);
    EXPECT_EQ(offsetof(StepNode, fan), 4u);
    EXPECT_EQ(offsetof(StepNode, time), 8u);
    EXPECT_EQ(offsetof(StepNode, heat), 12u);
    EXPECT_EQ(offsetof(StepNode, status), 16u);
    EXPECT_EQ(offsetof(StepNode, next), sizeof(void*) == 8 ? 24u : 20u);
}

}  // namespace
