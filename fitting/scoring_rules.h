#pragma once
// Scoring rules: points per variable value, derived from records with a response
// parameter so that new records can be ranked by their chance of a positive response.
// A record is positive when its response is at least the response threshold.
#include <cstdint>
#include <string>
#include <vector>

// One rule.
struct scoreAction {
    std::int32_t kind = 0;         // 0 interval or category, 1 linear, 2 quadratic
    std::int32_t comparison = 0;   // kind 0: 0 lowest bin (v <= high), 1 highest (v >= low), 2 between
    std::int32_t variable = 0;     // parameter index of the variable within a record
    std::int32_t categorical = 0;  // 1: variable equals the category value `low`
    double low = 0;                // interval's lower bound, the category, or the variable's minimum
    double high = 0;               // interval's upper bound, the category, or the variable's maximum
    double points = 0;             // points of an interval or category; binning quality of a polynomial
    double c0 = 0, c1 = 0, c2 = 0; // polynomial coefficients
};

// Signed weight -100 .. 100 of a selection of m of n records with a positives expected
// and b observed; flag is set to 1.
double SelectionWeight(int n, int m, int a, int b, double power, int& flag);

// 1 with the integer when the value is a whole number from 0 to the largest int (a
// fractional part below 1e-10 counts as none), else 0 (NaN and larger values included).
int IsWholeNumber(double value, int& integer);

// 1 when every value is whole; the list then holds the distinct values in order of
// appearance (an answer of 0 for more than 10 of them).
int CollectCategoryValues(const std::vector<double>& values, int& count, std::vector<std::uint32_t>& list);

// Weights of the categories of the list (their values as doubles beside them); returns
// the spread max - min of the weights, 0 without positives.
double CategoryQuality(const std::vector<double>& values, const std::vector<double>& responses,
                       std::vector<double>& weights, std::vector<double>& categoryValues, double threshold,
                       const std::vector<std::uint32_t>& list);

// The same over `bins` equal-width bins of [minimum, maximum]; width handed back.
double BinningQuality(const std::vector<double>& values, const std::vector<double>& responses,
                      std::vector<double>& weights, std::vector<double>& centres, double maximum, double minimum,
                      double threshold, int bins, double& width);

// Appends the rules of one variable to the rules. The variant has lower thresholds.
// The columns are the variable's and the response's values over the records. Each rule is
// assembled in one working record: fields a rule does not set keep what the previous rule
// of the variable left.
void DeriveScoreRules(const std::vector<double>& variable, const std::vector<double>& response,
                      double responseThreshold, int variableIndex, std::vector<scoreAction>& rules);
void DeriveScoreRulesVariant(const std::vector<double>& variable, const std::vector<double>& response,
                             double responseThreshold, int variableIndex, std::vector<scoreAction>& rules);

// Points of one rule for one value.
double ScoreOfRule(const scoreAction& rule, double v);
// Raw score of record i: values[i*parametersPerRecord + variable] under every rule.
double ScoreOfRecord(const std::vector<scoreAction>& rules, const std::vector<double>& values, std::int64_t record,
                     int parametersPerRecord);
// True when the line holds a value for every rule's variable.
bool CoversScoringRules(const std::vector<scoreAction>& rules, const std::vector<double>& values);
// Score 0 .. 100 of a task-file line's values, scaled by the raw record scores' range
// [minimum, maximum] of the run (0 when every record scored the same).
double ScoreOfValues(const std::vector<scoreAction>& rules, const std::vector<double>& values, double minimum,
                     double maximum);

// Splits the whole line at blanks, tabs, line ends, commas and semicolons and converts
// each piece's leading number (0 without one). Returns the count.
int ParseNumberLine(std::vector<double>& values, const std::string& line);

// A score as the whole number the score file prints: truncated, NaN as 0, held to the
// int range.
int ScoreAsInt(double score);
