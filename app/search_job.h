#pragma once
// A long job of the job hook as an object: Begin once, then while Running one Step and one
// pump of the waiting messages, End once. The driver repaints on an improvement and shows
// the progress text a step asks for; the pump says whether the job may go on.
#include <functional>
#include <memory>
#include <string>

struct SearchStepReport {
    bool improved = false;  // the step kept a better model: repaint at once
    std::string progress;   // non-empty: draw it with `fraction`
    double fraction = 0;
};

class SearchJob {
public:
    virtual ~SearchJob() = default;
    virtual bool Begin() = 0;  // false: nothing to do (End is not called)
    virtual bool Running() const = 0;
    virtual void Step(SearchStepReport& report) = 0;
    virtual void End() {}
};

struct SearchJobHost {
    std::function<void()> repaint;
    std::function<void(const std::string& text, double fraction)> progress;
    std::function<bool()> pump;  // false: stop now (closing, data changed)
};

// Runs the job to its end; returns the number of steps made.
int DriveSearchJob(SearchJob& job, const SearchJobHost& host);

// The searches of the best polynomial, for the job hook and tests.
std::unique_ptr<SearchJob> MakeOneNextSearch();
std::unique_ptr<SearchJob> MakeFullSearch();
std::unique_ptr<SearchJob> MakeAutoSearch();
