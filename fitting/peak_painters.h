#pragma once
// The fitted peak model on the chart: the range it needs, its curve and one marker per peak.
#include <vector>

#include "fitting/peak_detection.h"

namespace platform {
class Canvas;
}

// Widens plotYMin/plotYMax to the model over the x range (1001 steps of 0.001 of it).
void ExtendRangeForPeaks(const peakSignal& summary, const std::vector<peakSignal>& list);
// Draws the model with the canvas's current pen.
void PaintPeakSumCurve(const peakSignal& summary, platform::Canvas& dc, const std::vector<peakSignal>& list);
// One vertical line per peak at its centre, from 1 % of the chart's height up to
// 22 % for a peak as high as the first (proportionally for the others).
void PaintPeakMarkers(platform::Canvas& dc, const std::vector<peakSignal>& list);
