#include "fitting/scoring_run.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "charts/result_document.h"
#include "charts/result_tables.h"
#include "data/data_page.h"
#include "fitting/score_file.h"
#include "fitting/scorereport.h"
#include "fitting/scoring_rules.h"
#include "fitting/scoring_texts.h"
#include "platform/dialogs.h"
#include "platform/format.h"
#include "platform/requests.h"

namespace {

constexpr int kTextSize = 100;
constexpr platform::ColorRef kTitleColor = platform::Rgb(130, 130, 255);
constexpr int kScoreFileProgressKind = 5000;

// A heading of the report: a run in the pane, a recipe line and a bold paragraph.
void AddHeading(const std::string& text, std::string& recipe)
{
    theResultDocument.AddText(text, platform::kBlack, kTextSize);
    recipe += text + "\r\n";
    theResultTables.AddParagraphStyled(text + "\n", 1, platform::kBlack);
}

}  // namespace

int ScoringRuleCount() { return static_cast<int>(theScorereport.scoringRules.size()); }

void ScoringRulesReport()
{
    std::string& recipe = theScorereport.recipeText;
    recipe.clear();
    theResultDocument.Clear();
    theResultTables.Clear();

    theResultDocument.AddText("Scoring rules:", kTitleColor, kTextSize);
    theResultDocument.NewLine();
    theResultTables.AddParagraphStyled("Scoring rules:\n", 1, platform::kBlack);
    recipe += "Scoring rules:\r\n";

    std::string expression;
    const std::vector<scoreAction>& scoringRules = theScorereport.scoringRules;
    for (std::size_t i = 0; i < scoringRules.size(); ++i) {
        const scoreAction& rule = scoringRules[i];
        const int variable = rule.variable;
        const std::string name = variable >= 0 && static_cast<std::size_t>(variable) < theData.parameterNames.size()
                                     ? theData.parameterNames[static_cast<std::size_t>(variable)]
                                     : std::string();
        const std::string number = platform::Format("%d)    ", static_cast<int>(i));
        theResultDocument.AddText(number, platform::kBlack, kTextSize);
        theResultTables.AddParagraphStyled(number, 1, platform::kBlack);
        recipe += number;

        std::string text, term;
        ScoringRuleTexts(rule, name, text, term);
        theResultDocument.AddText(text, platform::kBlack, kTextSize);
        recipe += text + "\r\n";
        theResultTables.AddParagraphStyled(text + "\n", 1, platform::kBlack);
        theResultDocument.NewLine();
        expression += term;
    }

    AddHeading("MS Excel style expression:", recipe);
    recipe += expression + "\r\n";
    AddHeading("Normalization formula:", recipe);
    const std::string formula = NormalizationFormula(theScorereport.scoreMinimum, theScorereport.scoreMaximum);
    theResultDocument.AddText(formula, platform::kBlack, kTextSize);
    recipe += formula + "\n\r\n";
    theResultTables.AddParagraphStyled(formula + "\n", 1, platform::kBlack);
}

void ClearScoringResults()
{
    scorereport& report = theScorereport;
    report.scoringRules.clear();
    report.scoreMinimum = report.scoreMaximum = 0.0;
    report.recipeText.clear();
    report.allCounts.fill(0);
    report.positiveCounts.fill(0);
    report.totalRecords = report.positiveRecords = 0;
}

void RunScoring(int responseParameter, double positiveThreshold, int scoreParameter)
{
    // Nothing of an earlier run may pass for this one's.
    ClearScoringResults();
    scorereport& report = theScorereport;

    data& store = theData;
    if (store.series.size() != 1)
        return;
    const Series shape = store.series[0];
    const int parameters = shape.nParameters;
    if (responseParameter < 0 || responseParameter >= parameters)
        return;

    std::vector<double> response, column;
    if (!store.GetParameterValues(0, responseParameter, response))
        return;
    for (int p = 0; p < parameters; ++p) {
        if (p == responseParameter || !store.GetParameterValues(0, p, column))
            continue;
        if (store.scoringSimple)
            DeriveScoreRules(column, response, positiveThreshold, p, report.scoringRules);
        else
            DeriveScoreRulesVariant(column, response, positiveThreshold, p, report.scoringRules);
    }

    const std::size_t records = static_cast<std::size_t>(std::max(shape.nRecords, 0));
    const auto first = store.allValues.begin() + shape.firstValue;
    const std::vector<double> values(first, first + static_cast<std::ptrdiff_t>(records * parameters));
    std::vector<double> raw(records);
    for (std::size_t r = 0; r < records; ++r)
        raw[r] = ScoreOfRecord(report.scoringRules, values, static_cast<std::int64_t>(r), parameters);
    if (!raw.empty()) {
        const auto [lo, hi] = std::minmax_element(raw.begin(), raw.end());
        report.scoreMinimum = *lo;
        report.scoreMaximum = *hi;
    }

    ScoringRulesReport();
    if (report.scoreMaximum == report.scoreMinimum)
        return;

    const double scale = 100.0 / (report.scoreMaximum - report.scoreMinimum);
    report.totalRecords = static_cast<std::int32_t>(records);
    for (std::size_t r = 0; r < records; ++r) {
        const double score = (raw[r] - report.scoreMinimum) * scale;
        const int s = std::clamp(ScoreAsInt(score), 0, 100);
        const bool positive = response[r] >= positiveThreshold;
        for (int k = 0; k <= s; ++k) {
            ++report.allCounts[k];
            if (positive)
                ++report.positiveCounts[k];
        }
        if (positive)
            ++report.positiveRecords;
        raw[r] = score;
    }
    report.recipeText += ResponseRateTable(report.allCounts, report.positiveCounts, report.totalRecords,
                                           report.positiveRecords);
    if (scoreParameter >= 0 && scoreParameter < parameters) {
        for (std::size_t r = 0; r < records; ++r)
            store.allValues[static_cast<std::size_t>(shape.firstValue) + r * parameters + scoreParameter] = raw[r];
        store.NoteStoreChanged();
    }
}

void MakeScoreFile()
{
    platform::FileDialogRequest request;
    request.title = "Select task file to make ";
    request.filter = "*.txt|*.txt||";
    request.initialPath = "*.txt";
    request.defaultExtension = "txt";
    const auto chosen = platform::TheDialogs().OpenFile(request);
    if (!chosen)
        return;

    data& store = theData;
    const auto progress = [&store](const char* pass, std::int64_t position, std::int64_t length) {
        // The bar counts in per mille, so that files beyond the int range show too.
        const int done = length > 0 ? static_cast<int>(std::min<std::int64_t>(position, length) * 1000 / length) : 0;
        store.SetProgress(kScoreFileProgressKind, pass, done, 1000);
    };
    int skipped = 0;
    const ScoreFileStatus status =
        WriteScoreFile(*chosen, theScorereport.scoringRules, theScorereport.scoreMinimum, theScorereport.scoreMaximum,
                       theScorereport.takeOnlyPercent, store.parametersPerSeries, skipped, progress);
    store.ClearProgressState();
    platform::PostRepaintRequest();
    switch (status) {
    case kScoreFileNoTask: platform::MessageBox("Problems to open file"); break;
    case kScoreFileNoOutput: platform::MessageBox("Problems to open file to write"); break;
    case kScoreFileIsTask:
        platform::MessageBox("The score file would replace the task file itself; rename the task file.");
        break;
    case kScoreFileTooManyNumbers:
        platform::MessageBox(platform::Format("A line of the task file holds more than %d numbers, more than the "
                                              "scoring rules can use.\nNo score file is written.",
                                              store.parametersPerSeries));
        break;
    case kScoreFileNotWritten:
        platform::MessageBox("The score file could not be written (is the disk full?).\nNo score file is left.");
        break;
    case kScoreFileNothingScored:
        platform::MessageBox("No line of the task file holds the numbers the scoring rules need.\n"
                             "The score file is empty.");
        break;
    case kScoreFileNoneAboveThreshold:
        platform::MessageBox("No line of the task file scores above the threshold.\nThe score file is empty.");
        break;
    default: break;
    }
}
