// The stepped best-polynomial searches of the job hook: "Search one next", the full search
// and the automatic search, each a job object that the hook drives one step at a time.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/analysis_hooks.h"
#include "app/program_objects.h"
#include "app/search_job.h"
#include "app/tabulon_dlg.h"
#include "data/data_page.h"
#include "fitting/multistat_page.h"
#include "fitting/parameters_of_multi_search1.h"
#include "fitting/poly_fit.h"
#include "fitting/polynomial_fits.h"
#include "formula/constructor_multi.h"
#include "platform/format.h"
#include "statistics/random.h"
#include "widgets/progress_bar.h"

int DriveSearchJob(SearchJob& job, const SearchJobHost& host) {
    if (!job.Begin()) return 0;
    int steps = 0;
    while (job.Running()) {
        SearchStepReport report;
        job.Step(report);
        ++steps;
        if (report.improved && host.repaint) host.repaint();
        if (!report.progress.empty() && host.progress) host.progress(report.progress, report.fraction);
        if (host.pump && !host.pump()) break;
    }
    job.End();
    return steps;
}

namespace {

using Clock = std::chrono::steady_clock;

long long SecondsNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(Clock::now().time_since_epoch()).count();
}

int TermCount(const TermSet& set, int a) { return a > 0 ? static_cast<int>(set.size()) / a : 0; }

// The records of the first series, the roles rebuilt from its parameters: one value, the
// arguments, nothing else.
bool FirstSeriesData(PolySearchData& data, std::vector<int>& mask) {
    if (theData.series.empty()) return false;
    const Series s = theData.series[0];
    if (s.nArguments < 2 || s.nValues != 1 || s.nRecords < s.nArguments + 4) return false;
    mask.assign(static_cast<std::size_t>(s.nParameters), 0);
    for (int p = 0; p < s.nParameters; ++p) {
        const int role = theData.parameters[static_cast<std::size_t>(s.firstParameter + p)].role;
        mask[static_cast<std::size_t>(p)] = role == kRoleArgument ? -1 : role == kRoleValue ? 1 : 0;
    }
    data.values = &theData.allValues;
    data.first = s.firstValue;
    data.records = s.nRecords;
    data.stride = s.nParameters;
    data.roles = mask;
    data.argumentColumns = &argumentColumns;
    return true;
}

// Fits the set once into currentPolyFit; false when the fit failed.
bool FitOnce(PolySearchData& data, const TermSet& set, int criterion, double& residual) {
    std::vector<double> c, d;
    double deviation = 0, largest = 0;
    int error = 0;
    residual = FitTermCodeRegression(*data.values, data.first, data.records, data.stride, data.roles,
                                     data.Columns(), c, d, &deviation, &largest, set, &error);
    if (error) return false;
    currentPolyFit.residualMeasure = residual;
    currentPolyFit.SetFromFit(deviation, c.data(), d.data(), largest, set, data.ArgumentCount(), criterion);
    return true;
}

// The model's entry in the search log: its terms with the parameter names.
void LogBestModel(double correlation) {
    const parametersOfMultiSearch1& p = theParametersOfMultiSearch1;
    if (theData.series.empty()) return;
    const Series s = theData.series[0];
    std::vector<unsigned> map;
    std::string valueName;
    for (int k = 0; k < s.nParameters; ++k) {
        const int role = theData.parameters[static_cast<std::size_t>(s.firstParameter + k)].role;
        if (role == kRoleArgument) map.push_back(static_cast<unsigned>(s.firstParameter + k));
        if (role == kRoleValue) valueName = theData.parameterNames[static_cast<std::size_t>(s.firstParameter + k)];
    }
    const polyFit& model = bestPolyFit;
    const TermSet set(model.termExponents, model.termExponents + std::max(model.usedInts, 0));
    std::vector<std::string> termTexts;
    std::string formula = valueName + " =";
    for (int t = 0; t < model.termCount; ++t) {
        std::string text;
        theConstructorMulti.ComposeTermFormula(text, t, model.argCount, map, theData.parameterNames, set);
        termTexts.push_back(text);
        formula += platform::Format(" %+g*%s", model.coefficient[t], text.c_str());
    }
    WritePolySearchLog(model, p.logFile, correlation, formula, termTexts);
}

// "Search one next": every step starts again from the terms current at the start, adds
// eight random terms and prunes back to one new term.
class OneNextSearch : public SearchJob {
public:
    bool Begin() override {
        constructor_multi& page = theConstructorMulti;
        page.polySearchOneNext = 0;
        if (!FirstSeriesData(data_, mask_)) return false;
        a_ = data_.ArgumentCount();
        start_ = page.currentPolyTerms;
        count_ = TermCount(start_, a_);
        criterion_ = theParametersOfMultiSearch1.criterion;
        double residual = 0;
        FitOnce(data_, start_, criterion_, residual);
        return true;
    }
    bool Running() const override { return !theConstructorMulti.polySearchStop; }
    void Step(SearchStepReport& report) override {
        TermSet k = start_;
        int error = 0;
        double residual = 0;
        const double s = GrowPolynomialStep(data_, currentPolyFit, k, 8, count_ + 1, count_, error, residual, criterion_);
        ++steps_;
        if (steps_ % 20 == 0) {
            report.progress = platform::Format("%d after update", steps_);
            report.fraction = static_cast<double>(steps_) / std::max(theParametersOfMultiSearch1.vainTries, 1);
        }
        if (s < best_ && !error) {
            best_ = s;
            theConstructorMulti.currentPolyTerms = k;
            report.improved = true;
        }
    }

    double best_ = 1e50;

private:
    PolySearchData data_;
    std::vector<int> mask_;
    TermSet start_;
    int a_ = 0, count_ = 0, criterion_ = 0, steps_ = 0;
};

// The full search: grows the polynomial one term at a time from startTerms up to maxTerms,
// moving to the next size after vainTries steps without a gain or after maxMinutes.
class FullSearch : public SearchJob {
public:
    bool Begin() override {
        parametersOfMultiSearch1& p = theParametersOfMultiSearch1;
        constructor_multi& page = theConstructorMulti;
        if (!FirstSeriesData(data_, mask_)) return false;
        a_ = data_.ArgumentCount();
        // The settings may come from a document or from data with more arguments than when
        // they were accepted: held again to what a model can take.
        p.ClampToModelSize();
        p.argumentCount = a_;
        while (!p.FitsModel(nullptr) && p.maxTerms > 2) --p.maxTerms;
        if (!p.FitsModel(nullptr)) return false;
        criterion_ = p.criterion;
        p.accepted = 0;
        page.polySearchFull = 0;
        TermSet& terms = page.currentPolyTerms;
        const int t0 = TermCount(terms, a_);
        const auto constantFirst = [&] {
            if (TermCount(terms, a_) == 0) terms.assign(static_cast<std::size_t>(a_), 0);
            std::fill(terms.begin(), terms.begin() + a_, 0u);
        };
        if (p.includeConstant) constantFirst();
        if (p.continueFromCurrent) {
            if (t0 > p.startTerms) terms.resize(static_cast<std::size_t>(p.startTerms * a_));
        } else {
            terms.clear();
        }
        if (p.includeConstant) constantFirst();
        double residual = 0;
        FitOnce(data_, terms, criterion_, residual);
        size_ = p.startTerms;
        first_ = p.continueFromCurrent && p.startTerms != 0 ? p.startTerms : p.includeConstant ? 1 : 0;
        start_ = terms;
        // The first grow step only warms the model up: its score is not used.
        TermSet k = start_;
        int error = 0;
        GrowPolynomialStep(data_, currentPolyFit, k, p.randomTerms, size_ + 1, first_, error, residual, criterion_);
        startTime_ = SecondsNow();
        return true;
    }
    bool Running() const override {
        return !theConstructorMulti.polySearchStop && size_ <= theParametersOfMultiSearch1.maxTerms;
    }
    void Step(SearchStepReport& report) override {
        const parametersOfMultiSearch1& p = theParametersOfMultiSearch1;
        ++counter_;
        if (counter_ % 10 == 0) {
            report.progress = platform::Format("%d after update", counter_);
            report.fraction = static_cast<double>(counter_) / std::max(p.vainTries, 1);
        }
        const long long minutes = (SecondsNow() - startTime_) / 60;
        if (counter_ > p.vainTries || minutes > p.maxMinutes) {
            counter_ = 0;
            startTime_ = SecondsNow();
            ++size_;
            if (p.continueFromCurrent) first_ = size_;
            if (p.saveLog) LogBestModel(correlation_);
            // The best score is kept: a larger model must beat every smaller one. Past the
            // last size no step is made: it would aim beyond maxTerms + 1 terms.
            if (size_ > p.maxTerms) return;
        }
        TermSet k = start_;
        int error = 0;
        double residual = 0;
        const double s = GrowPolynomialStep(data_, currentPolyFit, k, p.randomTerms, size_ + 1, first_, error, residual, criterion_);
        if (s < best_ && !error) {
            correlation_ = 1 - std::sqrt(residual);
            counter_ = 0;
            best_ = s;
            bestPolyFit = currentPolyFit;
            theConstructorMulti.currentPolyTerms = k;
            start_ = k;
            report.improved = true;
        }
    }
    void End() override { theConstructorMulti.OnStop(); }

private:
    PolySearchData data_;
    std::vector<int> mask_;
    TermSet start_;
    int a_ = 0, criterion_ = 0, size_ = 0, first_ = 0, counter_ = 0;
    double best_ = 1e40, correlation_ = 1e40;
    long long startTime_ = 0;
};

// The automatic search: random growth and pruning within 30 terms while "Stop search" is
// not pressed.
class AutoSearch : public SearchJob {
public:
    bool Begin() override {
        constructor_multi& page = theConstructorMulti;
        if (!theMultistat.bestPolynomeAuto || !FirstSeriesData(data_, mask_)) return false;
        page.FillTermLibrary();
        a_ = data_.ArgumentCount();
        currentPolyFit.argCount = a_;
        polyFitList.clear();
        page.polySearchOneNext = 0;
        const parametersOfMultiSearch1& p = theParametersOfMultiSearch1;
        criterion_ = p.criterion;
        w_ = page.currentPolyTerms;
        double residual = 0;
        FitOnce(data_, w_, criterion_, residual);
        best_ = currentPolyFit.score;
        cap_ = std::min(p.maxTerms, 30);
        const int count = TermCount(w_, a_);
        if (count > cap_ && theMultistat.searchRunning) {
            currentPolyFit.RemoveWorstTerms(count - cap_, w_);
            FitOnce(data_, w_, criterion_, residual);
            best_ = 1e50;
            bestPolyFit = currentPolyFit;
            page.currentPolyTerms = w_;
            repaintPending_ = true;
        }
        return true;
    }
    bool Running() const override { return theMultistat.searchRunning != 0; }
    void End() override {
        if (theMultistat.searchRunning) theMultistat.OnSearchEnded();
    }
    void Step(SearchStepReport& report) override {
        // The trimmed start model is shown by the first pass, before any growth changes it.
        if (repaintPending_) {
            repaintPending_ = false;
            report.improved = true;
            return;
        }
        TermSet k = w_;
        const int t = TermCount(k, a_);
        const int m = std::clamp(passes_ / 100 + 1, 8, 20);
        const int added = RandomInt(1, m);
        const int index = RandomInt(0, std::max(t - 1, 0));
        int termCount = 0, error = 0;
        double residual = 0;
        const double s = AutoPolynomialStep(data_, currentPolyFit, k, added, index, termCount, error, cap_, residual, criterion_);
        ++passes_;
        if (passes_ % 20 == 0) {
            report.progress = platform::Format("%d after update, score=%g", passes_, best_);
            report.fraction = 0.1;
        }
        if (s < best_ && std::fabs(s) > 1e-40 && !error) {
            best_ = s;
            bestPolyFit = currentPolyFit;
            theConstructorMulti.currentPolyTerms = k;
            w_ = k;
            report.improved = true;
            passes_ = 0;
        }
    }

private:
    PolySearchData data_;
    std::vector<int> mask_;
    TermSet w_;
    int a_ = 0, criterion_ = 0, cap_ = 30, passes_ = 0;
    double best_ = 1e50;
    bool repaintPending_ = false;
};

SearchJobHost HostOf(CTabulonDlg& dlg) {
    SearchJobHost host;
    const std::uint64_t changeCount = theData.ChangeCount();
    host.repaint = [&dlg] {
        dlg.recomputeNeeded = 1;
        dlg.OnPaint();
    };
    host.progress = [](const std::string& text, double fraction) { DrawProgressBar(0, text, fraction); };
    host.pump = [&dlg, changeCount] { return dlg.PumpJobStep(changeCount); };
    return host;
}

}  // namespace

void CTabulonDlg::BestPolynomialSearch() {
    const multistat& m = theMultistat;
    if (!(m.bestPolynome || m.bestPolynomeAuto)) return;
    polyFitList.clear();
    if (theConstructorMulti.polySearchOneNext) {
        OneNextSearch search;
        DriveSearchJob(search, HostOf(*this));
    }
    if (theConstructorMulti.polySearchFull) {
        FullSearch search;
        DriveSearchJob(search, HostOf(*this));
    }
}

void CTabulonDlg::AutoPolynomialSearch() {
    AutoSearch search;
    DriveSearchJob(search, HostOf(*this));
}

std::unique_ptr<SearchJob> MakeOneNextSearch() { return std::make_unique<OneNextSearch>(); }
std::unique_ptr<SearchJob> MakeFullSearch() { return std::make_unique<FullSearch>(); }
std::unique_ptr<SearchJob> MakeAutoSearch() { return std::make_unique<AutoSearch>(); }
