#include "fitting/scoring_rules.h"

#include "fitting/polynomial_fits.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace {

struct RuleThresholds {
    double category, binning, interval;
    double quadraticSpread, quadraticShare, quadraticQuality;
    double linearSpread, linearShare, linearQuality;
};

constexpr double kNoTest = -1e308;
constexpr RuleThresholds kRules{4.5, 4.5, 5.0, 1.0, 0.6, 15.0, 1.0, 0.6, 10.0};
constexpr RuleThresholds kVariantRules{0.3, 0.3, 1.5, 0.5, 0.15, kNoTest, 0.5, 0.2, kNoTest};

// Bin of a value; -1 for a value that belongs to none (not a number). Held to the bins as
// a double first, so no far-out value is truncated into an int.
int BinOf(double v, double minimum, double width, int bins)
{
    const double position = (v - minimum) / width;
    if (std::isnan(position))
        return -1;
    if (!(position > 0.0))
        return 0;
    if (position >= bins - 1)
        return bins - 1;
    return static_cast<int>(position);
}

// The weights of groups with their record and positive counts; values[i] goes beside the
// weight of group i. Returns the spread of the weights.
double GroupWeights(const std::vector<int>& counts, const std::vector<int>& positives, int n, int total,
                    const std::vector<double>& groupValues, std::vector<double>& weights, std::vector<double>& values)
{
    weights.clear();
    values.clear();
    if (total == 0 || n == 0)
        return 0.0;
    const double p = static_cast<double>(total) / n;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const int expected = static_cast<int>(std::trunc(counts[i] * p));  // at most counts[i]
        if (expected != 0 && static_cast<double>(counts[i]) / n > 0.01) {
            int flag = 0;
            weights.push_back(SelectionWeight(n, counts[i], expected, positives[i], 2.0, flag));
            values.push_back(groupValues[i]);
        }
    }
    if (weights.empty())
        return 0.0;
    const auto [lo, hi] = std::minmax_element(weights.begin(), weights.end());
    return *hi - *lo;
}

std::vector<double> BinCentres(int bins, double minimum, double width)
{
    std::vector<double> centres(static_cast<std::size_t>(bins));
    for (int i = 0; i < bins; ++i)
        centres[i] = minimum + i * width + 0.5 * width;
    return centres;
}

// The variable's values in ascending order with the running count of positives, so that
// the records of a bin and its positives are found by two searches and a difference.
struct SortedColumn {
    std::vector<double> values;
    std::vector<int> positivesBefore;  // positives among values[0 .. i)
    int positives = 0;

    SortedColumn(const std::vector<double>& variable, const std::vector<double>& response, double threshold)
    {
        std::vector<std::pair<double, int>> pairs;
        pairs.reserve(variable.size());
        for (std::size_t i = 0; i < variable.size(); ++i) {
            if (!std::isnan(variable[i]))
                pairs.emplace_back(variable[i], response.at(i) >= threshold ? 1 : 0);
        }
        std::sort(pairs.begin(), pairs.end());
        values.reserve(pairs.size());
        positivesBefore.assign(pairs.size() + 1, 0);
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            values.push_back(pairs[i].first);
            positivesBefore[i + 1] = positivesBefore[i] + pairs[i].second;
        }
        positives = positivesBefore.back();
    }

    // The same counts as a pass over the records: the bin of a value grows with the value.
    double Quality(int n, double minimum, double width, int bins, std::vector<double>& weights,
                   std::vector<double>& centres) const
    {
        std::vector<int> counts(static_cast<std::size_t>(bins)), positive(static_cast<std::size_t>(bins));
        std::size_t start = 0;
        for (int b = 0; b < bins; ++b) {
            const auto end = b == bins - 1 ? values.end()
                                           : std::partition_point(values.begin() + static_cast<std::ptrdiff_t>(start),
                                                                  values.end(), [&](double v) {
                                                                      return BinOf(v, minimum, width, bins) <= b;
                                                                  });
            const std::size_t stop = static_cast<std::size_t>(end - values.begin());
            counts[b] = static_cast<int>(stop - start);
            positive[b] = positivesBefore[stop] - positivesBefore[start];
            start = stop;
        }
        return GroupWeights(counts, positive, n, positives, BinCentres(bins, minimum, width), weights, centres);
    }
};

void MinMaxOfColumn(const std::vector<double>& values, double& minimum, double& maximum)
{
    minimum = maximum = 0.0;
    bool any = false;
    for (double v : values) {
        if (std::isnan(v))
            continue;
        if (!any || v < minimum)
            minimum = v;
        if (!any || v > maximum)
            maximum = v;
        any = true;
    }
}

void AppendIntervalRules(const std::vector<double>& weights, const std::vector<double>& centres, double width,
                         double least, int variableIndex, scoreAction& r, std::vector<scoreAction>& rules)
{
    const std::size_t count = weights.size();
    for (std::size_t k = 0; k < count; ++k) {
        if (!(std::fabs(weights[k]) >= least))
            continue;
        r.variable = variableIndex;
        r.categorical = 0;
        r.kind = 0;
        r.comparison = k + 1 == count ? 1 : k == 0 ? 0 : 2;
        r.low = centres[k] - 0.5 * width;
        r.high = r.low + width;
        r.points = weights[k];
        rules.push_back(r);
    }
}

void Derive(const std::vector<double>& variable, const std::vector<double>& response, double threshold,
            int variableIndex, const RuleThresholds& t, std::vector<scoreAction>& rules)
{
    scoreAction r;  // every rule of the variable is assembled here
    if (response.size() != variable.size())
        throw std::invalid_argument("variable and response columns of different lengths");
    const int n = static_cast<int>(variable.size());
    double minimum = 0.0, maximum = 0.0;
    MinMaxOfColumn(variable, minimum, maximum);
    const int largestBins = n / 100;

    int count = 0;
    std::vector<std::uint32_t> list;
    std::vector<double> weights, groupValues;
    if (CollectCategoryValues(variable, count, list)) {
        CategoryQuality(variable, response, weights, groupValues, threshold, list);
        for (std::size_t k = 0; k < weights.size(); ++k) {
            if (!(std::fabs(weights[k]) >= t.category))
                continue;
            r.variable = variableIndex;
            r.categorical = 1;
            r.kind = 0;
            r.comparison = 0;
            r.low = r.high = groupValues[k];
            r.points = weights[k];
            rules.push_back(r);
        }
        return;
    }

    if (largestBins < 2 || !(maximum > minimum))
        return;
    const SortedColumn sorted(variable, response, threshold);
    double best = -1.0;
    int bestBins = 0;
    for (int bins = 2; bins <= largestBins; ++bins) {
        const double q = sorted.Quality(n, minimum, (maximum - minimum) / bins, bins, weights, groupValues);
        if (q > best) {
            best = q;
            bestBins = bins;
        }
    }
    if (bestBins == 0 || best < t.binning)
        return;
    const double width = (maximum - minimum) / bestBins;
    const double q = sorted.Quality(n, minimum, width, bestBins, weights, groupValues);

    if (weights.size() < 6) {
        AppendIntervalRules(weights, groupValues, width, t.interval, variableIndex, r, rules);
        return;
    }
    std::vector<double> c, sd;
    double deviation = 0.0;
    double share = FitScoreRatePolynomial(groupValues, weights, c, sd, 3, &deviation);
    // A polynomial rule of the given degree over the whole range (the linear one leaves c2 as it was).
    auto appendPolynomialRule = [&](int degree) {
        r.variable = variableIndex;
        r.kind = degree;
        r.comparison = 2;
        r.categorical = 0;
        r.low = minimum;
        r.high = maximum;
        r.points = q;
        r.c0 = c[0];
        r.c1 = c[1];
        if (degree == 2) r.c2 = c[2];
        rules.push_back(r);
    };
    if (std::fabs(sd[2]) / (std::fabs(c[2]) + 1e-20) < t.quadraticSpread && share < t.quadraticShare &&
        q > t.quadraticQuality) {
        appendPolynomialRule(2);
        return;
    }
    share = FitScoreRatePolynomial(groupValues, weights, c, sd, 2, &deviation);
    if (std::fabs(sd[1]) / (std::fabs(c[1]) + 1e-20) < t.linearSpread && share < t.linearShare &&
        q > t.linearQuality) {
        appendPolynomialRule(1);
        return;
    }
    AppendIntervalRules(weights, groupValues, width, t.interval, variableIndex, r, rules);
}

}  // namespace

double SelectionWeight(int n, int m, int a, int b, double power, int& flag)
{
    flag = 1;
    if (n <= 1)
        return 0.0;
    const double r = static_cast<double>(m) / n;
    if (m < 6 || r < 0.01111 || r > 0.8)
        return 0.0;
    const double d = static_cast<double>(b) - a;
    double x = 1.0;
    if (a != 0 && a != m)
        x = d > 0 ? d / (static_cast<double>(m) - a) : d / a;
    double s = std::pow(std::fabs(x), power);
    if (d < 0)
        s = -s;
    if (r >= 0.35)
        return 100.0 * std::sqrt(1.0 - (r - 0.35) / 0.65) * s;
    if (m <= 10)
        return 0.0;
    return 100.0 * std::sqrt(std::min(1.0, r / 0.05)) * s;
}

int IsWholeNumber(double value, int& integer)
{
    if (!(value >= 0.0) || !(value <= static_cast<double>(INT_MAX)))
        return 0;
    const double f = value - std::floor(value);
    if (f == 0.0 || f < 1e-10) {
        integer = static_cast<int>(std::trunc(value));
        return 1;
    }
    return 0;
}

int CollectCategoryValues(const std::vector<double>& values, int& count, std::vector<std::uint32_t>& list)
{
    list.clear();
    count = 0;
    for (double v : values) {
        int whole = 0;
        if (!IsWholeNumber(v, whole)) {
            list.clear();
            return 0;
        }
        if (list.size() > 10)
            return 0;
        const auto u = static_cast<std::uint32_t>(whole);
        if (std::find(list.begin(), list.end(), u) == list.end())
            list.push_back(u);
    }
    count = static_cast<int>(list.size());
    return 1;
}

double CategoryQuality(const std::vector<double>& values, const std::vector<double>& responses,
                       std::vector<double>& weights, std::vector<double>& categoryValues, double threshold,
                       const std::vector<std::uint32_t>& list)
{
    weights.clear();
    categoryValues.clear();
    if (list.empty())
        return 0.0;
    std::vector<int> counts(list.size()), positives(list.size());
    int total = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::size_t category = 0;
        int whole = 0;
        if (IsWholeNumber(std::trunc(values[i]), whole)) {
            const auto found = std::find(list.begin(), list.end(), static_cast<std::uint32_t>(whole));
            if (found != list.end())
                category = static_cast<std::size_t>(found - list.begin());
        }
        ++counts[category];
        if (responses.at(i) >= threshold) {
            ++positives[category];
            ++total;
        }
    }
    std::vector<double> asDoubles(list.begin(), list.end());
    return GroupWeights(counts, positives, static_cast<int>(values.size()), total, asDoubles, weights,
                        categoryValues);
}

double BinningQuality(const std::vector<double>& values, const std::vector<double>& responses,
                      std::vector<double>& weights, std::vector<double>& centres, double maximum, double minimum,
                      double threshold, int bins, double& width)
{
    weights.clear();
    centres.clear();
    width = bins > 0 ? (maximum - minimum) / bins : 0.0;
    if (bins < 1 || !(width > 0.0))
        return 0.0;
    std::vector<int> counts(static_cast<std::size_t>(bins)), positives(static_cast<std::size_t>(bins));
    int total = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int b = BinOf(values[i], minimum, width, bins);
        if (b < 0)
            continue;
        ++counts[b];
        if (responses.at(i) >= threshold) {
            ++positives[b];
            ++total;
        }
    }
    return GroupWeights(counts, positives, static_cast<int>(values.size()), total, BinCentres(bins, minimum, width),
                        weights, centres);
}

void DeriveScoreRules(const std::vector<double>& variable, const std::vector<double>& response,
                      double responseThreshold, int variableIndex, std::vector<scoreAction>& rules)
{
    Derive(variable, response, responseThreshold, variableIndex, kRules, rules);
}

void DeriveScoreRulesVariant(const std::vector<double>& variable, const std::vector<double>& response,
                             double responseThreshold, int variableIndex, std::vector<scoreAction>& rules)
{
    Derive(variable, response, responseThreshold, variableIndex, kVariantRules, rules);
}

double ScoreOfRule(const scoreAction& rule, double v)
{
    if (rule.categorical)
        return std::trunc(v) == std::trunc(rule.low) ? rule.points : 0.0;
    switch (rule.kind) {
    case 0:
        switch (rule.comparison) {
        case 0: return v <= rule.high ? rule.points : 0.0;
        case 1: return v >= rule.low ? rule.points : 0.0;
        case 2: return rule.low <= v && v <= rule.high ? rule.points : 0.0;
        default: return 0.0;
        }
    case 1: return rule.c1 * v + rule.c0;
    case 2: return rule.c2 * v * v + rule.c1 * v + rule.c0;
    default: return 0.0;
    }
}

double ScoreOfRecord(const std::vector<scoreAction>& rules, const std::vector<double>& values, std::int64_t record,
                     int parametersPerRecord)
{
    double sum = 0.0;
    for (const scoreAction& rule : rules) {
        const std::int64_t index = record * parametersPerRecord + rule.variable;
        if (index < 0 || static_cast<std::uint64_t>(index) >= values.size())
            throw std::invalid_argument("record value outside the value array");
        sum += ScoreOfRule(rule, values[static_cast<std::size_t>(index)]);
    }
    return sum;
}

bool CoversScoringRules(const std::vector<scoreAction>& rules, const std::vector<double>& values)
{
    for (const scoreAction& rule : rules) {
        if (rule.variable < 0 || static_cast<std::size_t>(rule.variable) >= values.size())
            return false;
    }
    return true;
}

double ScoreOfValues(const std::vector<scoreAction>& rules, const std::vector<double>& values, double minimum,
                     double maximum)
{
    double sum = 0.0;
    for (const scoreAction& rule : rules) {
        if (rule.variable >= 0 && static_cast<std::size_t>(rule.variable) < values.size())
            sum += ScoreOfRule(rule, values[static_cast<std::size_t>(rule.variable)]);
    }
    if (maximum == minimum)
        return 0.0;
    return 100.0 * (sum - minimum) / (maximum - minimum);
}

int ParseNumberLine(std::vector<double>& values, const std::string& line)
{
    values.clear();
    const auto separator = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',' || c == ';'; };
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && separator(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::size_t end = i;
        while (end < line.size() && !separator(line[end]))
            ++end;
        const std::string piece = line.substr(i, end - i);
        values.push_back(std::strtod(piece.c_str(), nullptr));
        i = end;
    }
    return static_cast<int>(values.size());
}

int ScoreAsInt(double score)
{
    if (std::isnan(score))
        return 0;
    if (score >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (score <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(score);
}
