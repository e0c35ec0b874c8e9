#pragma once
// The scoring run over the one series of the data store: rules for every parameter against
// the response, every record scored and stored 0 .. 100 in the score parameter, the rules
// report in the result stores and the scoring report's recipe and counts. The data store
// reaches them through the insert dialog's and the main window's hooks.

// Derives the rules and scores the records; with more or fewer than one series it only
// clears what an earlier run left.
void RunScoring(int responseParameter, double positiveThreshold, int scoreParameter);
// The rules as result text, as report paragraphs and as the recipe.
void ScoringRulesReport();
// Asks for a task file and writes its score file with the report's "Take only" percentage.
void MakeScoreFile();
// Rules found by the last run.
int ScoringRuleCount();
