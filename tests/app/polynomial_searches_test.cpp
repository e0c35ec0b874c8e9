// The best-polynomial searches as job objects under a fake host: one pump per pass, "Stop"
// at pass k ends after k, a repaint exactly on each improvement, progress every 20th (10th)
// pass, and the loop rules of each search.
#include <cmath>

#include <gtest/gtest.h>

#include "app/search_job.h"
#include "fitting/parameters_of_multi_search1.h"
#include "fitting/poly_fit.h"
#include "main_window_support.h"
#include "statistics/random.h"

namespace {

// z = 1 + 2a + 3b^2 + a small wobble, over 40 records.
void LoadSearchData() {
    std::vector<double> rows;
    for (int r = 0; r < 40; ++r) {
        const double a = r % 7 + 0.5, b = (r * 3) % 11 * 0.3 + 0.2;
        rows.insert(rows.end(), {a, b, 1 + 2 * a + 3 * b * b + 0.01 * std::sin(r)});
    }
    mainwin_test::LoadRows({"a", "b", "z"}, rows);
    ASSERT_EQ(theData.series.size(), 1u);
}

// Counts what the search asks of its host; `stop` runs at pump `stopAt`.
struct Recorder {
    int stopAt = 1 << 30;
    std::function<void()> stop;
    int pumps = 0, repaints = 0;
    std::vector<int> progressAt;
    std::vector<TermSet> shown;  // the terms at each repaint
    SearchJobHost Host() {
        SearchJobHost host;
        host.repaint = [this] {
            ++repaints;
            shown.push_back(theConstructorMulti.currentPolyTerms);
        };
        host.progress = [this](const std::string&, double) { progressAt.push_back(pumps + 1); };
        host.pump = [this] {
            ++pumps;
            if (pumps == stopAt && stop) stop();
            return true;
        };
        return host;
    }
};

class PolynomialSearchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        RandomSeed(337643, 62047, 2751976);
        LoadSearchData();
        constructor_multi& page = theConstructorMulti;
        page.polySearchStop = page.polySearchOneNext = page.polySearchFull = 0;
        page.currentPolyTerms.clear();
        theParametersOfMultiSearch1.settings = parameters_of_multi_search1_settings{};
        theParametersOfMultiSearch1.startTerms = 2;
    }
    void TearDown() override {
        theConstructorMulti.currentPolyTerms.clear();
        theConstructorMulti.polySearchStop = 0;
        theMultistat.settings = multistat_settings{};
        theMultistat.searchRunning = 0;
        theParametersOfMultiSearch1.settings = parameters_of_multi_search1_settings{};
        theData.OnDeleteAll();
    }
    platform::ScriptedDialogs dialogs;
};

TEST_F(PolynomialSearchesTest, OneNextKeepsTheOldTermsAndStopsAtPassK) {
    theConstructorMulti.currentPolyTerms = {0, 0, 1, 0};  // 1 and a
    theConstructorMulti.polySearchOneNext = 1;
    Recorder r{45, [] { theConstructorMulti.polySearchStop = 1; }};
    EXPECT_EQ(DriveSearchJob(*MakeOneNextSearch(), r.Host()), 45);
    EXPECT_EQ(r.pumps, 45);
    EXPECT_EQ(r.progressAt, (std::vector<int>{20, 40}));
    EXPECT_EQ(theConstructorMulti.polySearchOneNext, 0);
    ASSERT_GE(r.repaints, 1);
    for (const TermSet& t : r.shown) {
        ASSERT_EQ(t.size(), 6u);  // three terms: the two old ones first
        EXPECT_EQ(TermSet(t.begin(), t.begin() + 4), (TermSet{0, 0, 1, 0}));
    }
}

TEST_F(PolynomialSearchesTest, FullSearchGrowsToMaxTermsWithTheConstantKept) {
    parametersOfMultiSearch1& p = theParametersOfMultiSearch1;
    p.includeConstant = 1;
    p.continueFromCurrent = 0;
    p.maxTerms = 4;
    p.vainTries = 10;
    p.randomTerms = 4;
    p.accepted = 1;
    theConstructorMulti.polySearchFull = 1;
    Recorder r;
    const int passes = DriveSearchJob(*MakeFullSearch(), r.Host());
    EXPECT_GE(passes, 3 * 11);  // three sizes (2, 3, 4), each ending after more than 10 vain steps
    EXPECT_EQ(p.accepted, 0);
    EXPECT_EQ(theConstructorMulti.polySearchFull, 0);
    EXPECT_EQ(theConstructorMulti.polySearchStop, 1);  // the page's Stop ran at the end
    ASSERT_GE(r.repaints, 1);
    for (const TermSet& t : r.shown) {
        EXPECT_LE(t.size(), 2u * 5);
        EXPECT_EQ(t[0], 0u);
        EXPECT_EQ(t[1], 0u);
    }
}

TEST_F(PolynomialSearchesTest, AutoSearchTrimsToThirtyAndStopsOnStopSearch) {
    TermSet terms;
    for (unsigned t = 0; t < 35; ++t) terms.insert(terms.end(), {t % 5, t / 5});
    theConstructorMulti.currentPolyTerms = terms;
    theParametersOfMultiSearch1.maxTerms = 40;
    theMultistat.bestPolynomeAuto = 1;
    theMultistat.searchRunning = 1;
    Recorder r{25, [] { theMultistat.searchRunning = 0; }};
    EXPECT_EQ(DriveSearchJob(*MakeAutoSearch(), r.Host()), 25);
    ASSERT_GE(r.repaints, 1);
    EXPECT_EQ(r.shown.front().size(), 60u);  // the worst five removed before the first pass
    for (const TermSet& t : r.shown) EXPECT_LE(t.size(), 60u);

    // Without data of two arguments and one value nothing runs.
    theData.OnDeleteAll();
    theMultistat.searchRunning = 1;
    Recorder none;
    EXPECT_EQ(DriveSearchJob(*MakeAutoSearch(), none.Host()), 0);
    EXPECT_EQ(none.pumps, 0);
}

}  // namespace
