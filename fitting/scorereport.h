#pragma once
// The scoring report dialog: the gain chart of the last scoring run, its recipe (rules,
// spreadsheet expression, normalisation formula, response rates), copies of both, the
// word-processor report and the request for a score file, which the main window's paint
// handler serves.
#include <cstdint>
#include <string>

#include <vector>

#include "fitting/scoring_rules.h"
#include "fitting/scoring_texts.h"
#include "platform/dialog.h"

namespace platform {
class Bitmap;
class Canvas;
}  // namespace platform

class scorereport : public platform::Dialog {
public:
    static constexpr int kTemplateId = 187;
    enum : int {
        kRecipeEdit = 1417,
        kCloseButton = 1418,
        kCopyRecipeButton = 1419,
        kCopyChartButton = 1420,
        kWordReportButton = 1421,
        kScoreFileButton = 1429,
        kTakeOnlyLabel = 1430,
        kTakeOnlyEdit = 1431,
        kBestScoresLabel = 1432,
    };

    scorereport();

    // Filled by the scoring run; the dialog only reads them.
    std::vector<scoreAction> scoringRules;   // the rules of the last scoring run
    double scoreMinimum = 0.0;               // raw record scores of the last run, which bring
    double scoreMaximum = 0.0;               // task-file scores to 0 .. 100
    std::string recipeText;
    ScoreCounts allCounts{};
    ScoreCounts positiveCounts{};
    std::int32_t totalRecords = 0;
    std::int32_t positiveRecords = 0;
    std::int32_t scoreFileRequest = 0;  // the next paint of the main window writes the score file
    std::int32_t takeOnlyPercent = 50;  // "% with best scores" written to the score file

    // The gain chart, drawn into a width x height canvas. Nothing but the white background
    // without a record or without a positive record.
    void PaintChart(platform::Canvas& dc, int width, int height) const;
    // The chart as the dialog shows it: a square of the client width less 60.
    platform::Bitmap ChartBitmap() const;

    void OnClose() override;
    void OnCopyOfRecipe();
    void OnCopyChart();
    void OnWordReport();
    void OnScoreDataInFile();

protected:
    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& ex) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

private:
    void CloseButton();
};

extern scorereport theScorereport;
