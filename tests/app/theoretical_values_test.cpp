// The inserted parameter filled with the current scheme's values: per scheme, what lands in
// the last parameter of every record of the first series.
#include <cmath>

#include <gtest/gtest.h>

#include "charts/series_painting.h"
#include "fitting/peak_detection.h"
#include "fitting/sinaldlg_page.h"
#include "main_window_support.h"

namespace {

using mainwin_test::WithMainWindow;

// Columns of `records` records: a arguments (r + j), then a value (r*r), then the new last
// parameter (a value, 0).
void LoadWithNewColumn(CTabulonDlg& dlg, int a, int records) {
    mainwin_test::LoadShape(a, 2, 0, records);
    const Series& s = theData.series[0];
    for (int r = 0; r < records; ++r) {
        const std::size_t base = static_cast<std::size_t>(s.firstValue + r * s.nParameters);
        for (int j = 0; j < a; ++j) theData.allValues[base + j] = r + j;
        theData.allValues[base + a] = r * r;
        theData.allValues[base + a + 1] = 0;
    }
    dlg.dataSeriesCount = 1;
    dlg.dataArguments = a;
    dlg.dataValues = 2;
    dlg.dataParameters = a + 2;
}

std::vector<double> LastColumn() { return mainwin_test::SeriesColumn(0, theData.series[0].nParameters - 1); }

void NoSchemes() {
    theXystatistic.xystatistic_settings::operator=(xystatistic_settings{});
    theMultistat.multistat_settings::operator=(multistat_settings{});
    theMultistat.plane = 0;
}

class TheoreticalValues : public ::testing::Test {
protected:
    void TearDown() override {
        NoSchemes();
        mainwin_test::ResetChoices();
        theData.OnDeleteAll();
    }
};

TEST_F(TheoreticalValues, EachSchemeFillsTheLastParameter) {
    WithMainWindow([](CTabulonDlg& dlg) {
        // Peaks: the first peak's base plus both gaussians.
        LoadWithNewColumn(dlg, 1, 6);
        NoSchemes();
        theXystatistic.peaksRevealing = 1;
        peakSignal p1, p2;
        p1.centre = 2, p1.sigma = 1, p1.area = 3, p1.base = 0.5;
        p2.centre = 4, p2.sigma = 0.5, p2.area = 1, p2.base = 9;
        theSinaldlg.peakList = {p1, p2};
        dlg.CalculateTheoreticalValues();
        std::vector<double> v = LastColumn();
        for (int r = 0; r < 6; ++r) EXPECT_NEAR(v[r], 0.5 + GaussianPeak(p1, r) + GaussianPeak(p2, r), 1e-12) << r;
        theSinaldlg.peakList.clear();

        // Polynomial fitting, the term model 1 + 2x (one argument: the test below); no argument:
        // the model at r times the record step.
        dlg.termCodes = {0, 1};
        dlg.yTransformCode = 0;
        dlg.fitCoefficients = {};
        dlg.fitCoefficients[0] = 1, dlg.fitCoefficients[1] = 2;
        LoadWithNewColumn(dlg, 0, 5);
        NoSchemes();
        theXystatistic.polynomFitting = 1;
        dlg.CalculateTheoreticalValues();
        v = LastColumn();
        for (int r = 0; r < 5; ++r) EXPECT_NEAR(v[r], 1 + 2 * r * RecordStep(LargestRecordCount()), 1e-12);

        // Several arguments: the single-argument flag is passed over; plane, then no scheme.
        LoadWithNewColumn(dlg, 2, 6);
        theXystatistic.polynomFitting = 1;
        theMultistat.plane = 1;
        dlg.fitCoefficients[2] = 3;
        dlg.CalculateTheoreticalValues();
        v = LastColumn();
        for (int r = 0; r < 6; ++r) EXPECT_NEAR(v[r], 1 + 2 * r + 3 * (r + 1), 1e-12);
        NoSchemes();
        theMultistat.bestPolynome = 1;
        theMultistat.userDefinedFormula = 1;
        dlg.CalculateTheoreticalValues();
        EXPECT_EQ(theMultistat.userDefinedFormula, 0);  // the best polynomial stands alone
        NoSchemes();
        theXystatistic.polynomFitting = 1;
        dlg.CalculateTheoreticalValues();
        EXPECT_EQ(LastColumn(), std::vector<double>(6, 0.0));
    });
}

}  // namespace
