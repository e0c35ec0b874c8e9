#pragma once
// The texts of the scoring rules report: each rule as a sentence and as a term of a
// spreadsheet formula, the normalisation formula and the table of response rates.
#include <array>
#include <cstdint>
#include <string>

#include "fitting/scoring_rules.h"

// The rule's sentence and its spreadsheet term, for the variable's name.
void ScoringRuleTexts(const scoreAction& rule, const std::string& name, std::string& text, std::string& term);

// How a raw score becomes 0 .. 100 with the run's smallest and largest raw score.
std::string NormalizationFormula(double minimum, double maximum);

// Records, and positive records, whose score is at least the index.
using ScoreCounts = std::array<std::int32_t, 101>;

// The response-rate table, every line ended by CR LF. Without any positive record the
// positive-response column says "n/a" (there is nothing to divide by).
std::string ResponseRateTable(const ScoreCounts& all, const ScoreCounts& positive, std::int32_t totalRecords,
                              std::int32_t positiveRecords);
