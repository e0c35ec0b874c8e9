#pragma once
// The peaks scheme of the single-argument views: the base-line correction of the signal,
// the range pass and the painting and report pass, with the settings of the peak page.
// The one-argument views reach them through their scheme calls, which the analysis hooks
// set with the peak page's settings.
#include <vector>

#include "fitting/sinaldlg_settings.h"

namespace platform {
class Canvas;
}

// Range pass: finds and refines the peaks and widens the chart's y range to their model.
void AnalysePeaks(const std::vector<double>& x, const std::vector<double>& y, const sinaldlg_settings& settings);
// Painting pass: finds and refines the peaks again, paints their model and markers, gives
// the calculator its values and writes the report into both result stores. The one-value
// view passes 0 as the argument index (its argument text is then "n").
void PeaksReport(platform::Canvas& dc, const std::vector<double>& x, const std::vector<double>& y,
                 int argumentIndex, int valueIndex, const sinaldlg_settings& settings);
