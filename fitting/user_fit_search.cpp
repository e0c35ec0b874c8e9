#include "fitting/user_fit_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

void UserFitRandomInit(randomGenerator& random, RandomClockFunction clock) { RandomSeedFromClock(random, clock); }

double UserFitRandomSigned(randomGenerator& random) { return RandomSigned(random); }

double UserFitGaussStep(randomGenerator& random, double sigma) { return RandomHalfNormal(random, sigma); }

double UserFitRandomMove(randomGenerator& random, double v, double sigma) { return RandomNormal(random, v, sigma); }

std::int64_t UserFitWallSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

namespace {

std::size_t CoefficientCount(const useruf_settings& t) {
    return std::min({t.values.size(), t.steps.size(), t.minima.size(), t.maxima.size()});
}

// Below the minimum it becomes the minimum, then above the maximum the maximum.
double LowThenHigh(double v, double lo, double hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
    return v;
}

std::vector<double> HistoryRow(const std::vector<double>& trial, std::size_t n, double e) {
    std::vector<double> row(trial.begin(), trial.begin() + static_cast<std::ptrdiff_t>(std::min(n, trial.size())));
    row.resize(n, 0.0);
    row.push_back(e);
    return row;
}

// A table that gained or lost coefficients during the run (a document read, say) no longer
// fits the history rows: the history starts again rather than reading past a row.
void KeepHistoryShape(UserFitState& state, std::size_t n) {
    for (const std::vector<double>& row : state.history) {
        if (row.size() != n + 1) {
            state.history.clear();
            state.worstRow = 0;
            state.worstError = kUserFitNoFit;
            return;
        }
    }
}

}  // namespace

void UserFitBegin(UserFitState& state, const useruf_settings& table) {
    state = UserFitState{};
    const std::size_t n = CoefficientCount(table);
    state.trial.assign(n, 0.0);
    if (n > 0) {
        PerturbParameterVector(1, static_cast<int>(n), table.values.data(), table.steps.data(), table.minima.data(),
                               table.maxima.data(), state.trial.data());
    }
}

void UserFitLimitTrial(std::vector<double>& trial, const useruf_settings& table) {
    const std::size_t n = std::min(CoefficientCount(table), trial.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double v = trial[i];
        if (v > table.maxima[i]) trial[i] = table.maxima[i];
        if (v < table.minima[i]) trial[i] = table.minima[i];
    }
}

double UserFitWorstHistoryRow(const std::vector<std::vector<double>>& history, int& row) {
    double worst = -1e40;
    for (std::size_t r = 0; r < history.size(); ++r) {
        const double e = history[r].back();
        if (e >= worst) {
            worst = e;
            row = static_cast<int>(r);
        }
    }
    return worst;
}

int UserFitBestHistoryRow(const std::vector<std::vector<double>>& history) {
    // Starting above every error, so that a history of refusals still has a best row.
    double best = std::numeric_limits<double>::infinity();
    int row = 0;
    for (std::size_t r = 0; r < history.size(); ++r) {
        if (history[r].back() < best) {
            best = history[r].back();
            row = static_cast<int>(r);
        }
    }
    return row;
}

int UserFitRecordError(UserFitState& state, useruf_settings& table, const UserFitRules& rules, double e) {
    if (!std::isfinite(e) || e > kUserFitNoFit) e = kUserFitNoFit;
    const std::size_t n = std::min(CoefficientCount(table), state.trial.size());
    const bool orvel = rules.scheme == kOrvelMethod;
    KeepHistoryShape(state, n);
    state.improved = 0;
    if (state.firstIteration) {
        state.best = e;
        state.firstIteration = false;
    } else if (e < state.best) {
        std::copy(state.trial.begin(), state.trial.begin() + static_cast<std::ptrdiff_t>(n), table.values.begin());
        state.best = e;
        state.improved = 1;
        state.stale = 0;
        if (orvel) {
            const std::size_t w = static_cast<std::size_t>(state.worstRow);
            if (w < state.history.size()) {
                state.history[w] = HistoryRow(state.trial, n, e);
            } else {
                state.history.push_back(HistoryRow(state.trial, n, e));
            }
            state.worstError = UserFitWorstHistoryRow(state.history, state.worstRow);
        }
    }
    if (orvel) {
        if (state.history.size() < kUserFitHistoryRows) {
            state.history.push_back(HistoryRow(state.trial, n, state.best));
            if (state.history.size() == kUserFitHistoryRows) {
                state.worstError = UserFitWorstHistoryRow(state.history, state.worstRow);
            }
        } else if (e < state.worstError) {
            state.history[static_cast<std::size_t>(state.worstRow)] = HistoryRow(state.trial, n, e);
            state.worstError = UserFitWorstHistoryRow(state.history, state.worstRow);
        }
    }
    return state.improved;
}

bool UserFitConverged(const UserFitState& state, const useruf_settings& table, const UserFitRules& rules) {
    const double stop = std::fabs(rules.stopCondition);
    const std::size_t n = CoefficientCount(table);
    if (rules.scheme != kOrvelMethod) {
        for (std::size_t i = 0; i < n; ++i) {
            if (!(std::fabs(table.steps[i]) < stop)) return false;
        }
        return true;
    }
    if (state.history.size() < 4) return false;
    for (const std::vector<double>& row : state.history) {
        if (row.size() != n + 1) return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        double lo = state.history[0][i], hi = lo;
        for (const std::vector<double>& row : state.history) {
            lo = std::min(lo, row[i]);
            hi = std::max(hi, row[i]);
        }
        if (!(hi - lo < stop)) return false;
    }
    return true;
}

void UserFitNextTrial(UserFitState& state, useruf_settings& table, const UserFitRules& rules, randomGenerator& random) {
    const std::size_t n = CoefficientCount(table);
    state.trial.resize(n);
    const bool shrink = state.stale > static_cast<unsigned>(std::max(rules.trialsBeforeShrink, 0));
    for (std::size_t i = 0; i < n; ++i) {
        const double v = table.values[i];
        double& s = table.steps[i];
        double t = v;
        switch (rules.scheme) {
        case kRandomLinear:
            t = v + s * UserFitRandomSigned(random);
            if (shrink) s *= rules.shrinkFactor;
            break;
        case kSlopeLocal: {
            const double moved =
                static_cast<int>(i) == state.coordinate && !state.improved ? -(s * rules.shrinkFactor) : s;
            t = v + moved;
            s = moved;
            break;
        }
        default:
            t = UserFitRandomMove(random, v, s);
            if (shrink) s *= rules.shrinkFactor;
            break;
        }
        state.trial[i] = LowThenHigh(t, table.minima[i], table.maxima[i]);
    }
    if (++state.coordinate >= static_cast<int>(n)) state.coordinate = 0;
    if (shrink) state.stale = 0;
}

void UserFitNextTrialOrvelMethod(UserFitState& state, useruf_settings& table, const UserFitRules& rules,
                                 randomGenerator& random) {
    const std::size_t n = CoefficientCount(table);
    state.trial.resize(n);
    KeepHistoryShape(state, n);
    const std::vector<std::vector<double>>& h = state.history;
    const bool shrink = state.stale > static_cast<unsigned>(std::max(rules.trialsBeforeShrink, 0));
    const int bestRow = UserFitBestHistoryRow(h);
    for (std::size_t i = 0; i < n; ++i) {
        double& s = table.steps[i];
        if (h.size() <= 3) {
            state.trial[i] = LowThenHigh(UserFitRandomMove(random, table.values[i], s), table.minima[i], table.maxima[i]);
            continue;
        }
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        int minRow = 0, maxRow = 0;
        double weighted = 0, weights = 0;
        for (std::size_t r = 0; r < h.size(); ++r) {
            const double x = h[r][i];
            if (x <= lo) {
                lo = x;
                minRow = static_cast<int>(r);
            }
            if (x >= hi) {
                hi = x;
                maxRow = static_cast<int>(r);
            }
            const double e = h[r].back();
            const double w = std::fabs(e) <= 1e-10 ? 1e10 : 1.0 / e;
            weighted += w * x;
            weights += w;
        }
        const double range = std::fabs(hi - lo);
        if (state.improved) {
            if (range != 0 && bestRow == minRow) {
                state.trial[i] = lo - 0.25 * range;
            } else if (range != 0 && bestRow == maxRow) {
                state.trial[i] = hi + 0.25 * range;
            } else {
                state.trial[i] = weights != 0 ? weighted / weights : h[static_cast<std::size_t>(bestRow)][i];
            }
        } else {
            const double from = h[static_cast<std::size_t>(bestRow)][i];
            state.trial[i] = LowThenHigh(UserFitRandomMove(random, from, std::fabs(s)), table.minima[i], table.maxima[i]);
            if (shrink) s *= rules.shrinkFactor;
        }
    }
    if (shrink && !state.improved) state.stale = 0;
}
