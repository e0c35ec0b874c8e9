#include "app/analysis_hooks.h"

#include "charts/axes.h"

AnalysisHooks::AnalysisHooks() {
    painters.axes = [](platform::Canvas& dc) {
        DrawAxes(dc);
        return 1;
    };
}

AnalysisHooks& TheAnalysisHooks() {
    static AnalysisHooks hooks;
    return hooks;
}
