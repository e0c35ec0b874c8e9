// The record filter, and every merge rule checked against the filter on sample records.
#include <gtest/gtest.h>

#include <vector>

#include "statistics/conditions.h"

namespace {

// Records of two parameters: parameter 0 runs over -2 .. 12 in quarters, parameter 1 is 7.
std::vector<double> SampleRecords() {
    std::vector<double> v;
    for (double x = -2; x <= 12; x += 0.25) {
        v.push_back(x);
        v.push_back(7);
    }
    return v;
}

std::vector<double> Taken(const std::vector<conditions>& list) {
    const std::vector<double> records = SampleRecords();
    std::vector<double> out;
    ConditionalValues(records.data(), static_cast<int>(records.size() / 2), 2, 0, list, out);
    return out;
}

TEST(Conditions, Filter) {
    struct Case {
        std::vector<conditions> list;
        std::vector<double> values;  // of parameter 0 over the records 0, 1, ..., 5
    } cases[] = {
        {{}, {0, 1, 2, 3, 4, 5}},
        {{{0, kConditionOr, 1, 1}, {0, kConditionOr, 4, 4}}, {1, 4}},
        {{{0, kConditionOr, 1, 1}, {0, kConditionAnd, 3, 5}}, {1, 3, 4, 5}},
        {{{0, kConditionAndNot, 2, 2}}, {0, 1, 3, 4, 5}},  // bounds inclusive
        {{{0, kConditionOrNot, 1, 4}}, {0, 5}},
        {{{7, kConditionAnd, 100, 200}}, {0, 1, 2, 3, 4, 5}},  // outside the record: ignored
        {{{-1, kConditionOr, 100, 200}}, {0, 1, 2, 3, 4, 5}},
        {{{0, kConditionAnd, 3, 1}}, {}},  // from above till holds nothing
    };
    const std::vector<double> records{0, 1, 2, 3, 4, 5};
    for (const Case& c : cases) {
        std::vector<double> out{99};
        ConditionalValues(records.data(), 6, 1, 0, c.list, out);
        EXPECT_EQ(out, c.values);
    }
    std::vector<double> out{99};
    ConditionalValues(records.data(), 6, 1, 1, {}, out);
    EXPECT_TRUE(out.empty());
}

TEST(Conditions, EveryMergeKeepsTheRecordsTaken) {
    // Interval i inside j, starting inside only, ending inside only.
    const double shapes[][4] = {{2, 5, 0, 10}, {5, 12, 0, 10}, {-1, 4, 0, 10}};
    int changedInside = 0;
    for (const auto& shape : shapes) {
        for (int oi = 0; oi < 4; ++oi) {
            for (int oj = 0; oj < 4; ++oj) {
                for (int order = 0; order < 2; ++order) {
                    const conditions a{0, oi, shape[0], shape[1]}, b{0, oj, shape[2], shape[3]};
                    std::vector<conditions> list{a, b};
                    if (order) std::swap(list[0], list[1]);
                    const int i = order ? 1 : 0, j = 1 - i;
                    const std::vector<double> before = Taken(list);
                    const int fromInside = shape[2] <= shape[0] && shape[0] <= shape[3];
                    const int tillInside = shape[2] <= shape[1] && shape[1] <= shape[3];
                    const size_t oldSize = list.size();
                    const int changed = MergeConditionPair(list, fromInside, tillInside, i, j);
                    EXPECT_EQ(Taken(list), before) << oi << " " << oj << " shape " << shape[0];
                    EXPECT_LE(list.size(), oldSize + 1);
                    if (!changed) {
                        EXPECT_EQ(list.size(), oldSize);
                    }
                    if (changed && fromInside && tillInside) ++changedInside;
                }
            }
        }
    }
    EXPECT_EQ(changedInside, 2 * 9);  // the nine entries of the table that are kept

    // The three entries that would change the records taken stay as they are.
    for (const auto& ops : {std::pair{kConditionOr, kConditionAnd}, std::pair{kConditionAndNot, kConditionAnd},
                            std::pair{kConditionAndNot, kConditionOrNot}}) {
        std::vector<conditions> list{{0, ops.first, 2, 5}, {0, ops.second, 0, 10}};
        EXPECT_EQ(MergeConditionPair(list, 1, 1, 0, 1), 0);
        EXPECT_EQ(list.size(), 2u);
    }
    std::vector<conditions> list{{0, 0, 2, 5}};
    EXPECT_EQ(MergeConditionPair(list, 1, 1, 0, 1), 0);
}

TEST(Conditions, MergeOverlappingChangesOncePerCall) {
    std::vector<conditions> list{{0, kConditionAnd, 0, 10}, {0, kConditionAnd, 2, 5}, {1, kConditionAnd, 0, 1}};
    EXPECT_EQ(MergeOverlappingConditions(list), 1);
    EXPECT_EQ(list, (std::vector<conditions>{{0, kConditionAnd, 2, 5}, {1, kConditionAnd, 0, 1}}));  // [0, 10] removed
    list = {{0, kConditionOr, 0, 3}, {0, kConditionOr, 2, 5}, {0, kConditionOr, 4, 9}};
    MergeOverlappingConditions(list);
    EXPECT_EQ(list.size(), 2u);
    MergeOverlappingConditions(list);
    EXPECT_EQ(list, (std::vector<conditions>{{0, kConditionOr, 0, 9}}));

    list = {{0, 0, 1, 2}, {3, 1, 1, 2}, {0, 2, 5, 6}};
    DropConditionsOfParameter(list, 0);
    EXPECT_EQ(list, (std::vector<conditions>{{3, 1, 1, 2}}));
}

TEST(Conditions, SplitTestAndIntegerCodes) {
    EXPECT_EQ((std::vector<int>{ConditionTest(2, 0, 1, 0), ConditionTest(2, 1, 1, 0), ConditionTest(1, 2, 1, 3),
                                ConditionTest(2, 2, 1, 3), ConditionTest(0, 3, 1, 3), ConditionTest(2, 4, 1, 3)}),
              (std::vector<int>{1, 0, 0, 1, 1, 0}));

    std::vector<std::uint32_t> codes;
    EXPECT_EQ(IsIntegerCoded({3.00000005, 0, 3, 110}, codes, 20), 1);
    EXPECT_EQ(codes, (std::vector<std::uint32_t>{3, 0, 110}));
    for (double bad : {-1.0, 2.5, 111.0}) EXPECT_EQ(IsIntegerCoded({bad}, codes, 20), 0) << bad;
    std::vector<double> many;
    for (int k = 0; k < 22; ++k) many.push_back(k);
    EXPECT_EQ(IsIntegerCoded(many, codes, 20), 0);
    many.pop_back();
    EXPECT_EQ(IsIntegerCoded(many, codes, 20), 1);
    many.push_back(0);  // 21 codes collected: even a repeat fails
    EXPECT_EQ(IsIntegerCoded(many, codes, 20), 0);
    EXPECT_EQ(IsIntegerCoded({}, codes, 20), 1);
}

}  // namespace
