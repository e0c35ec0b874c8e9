#include "charts/distribution_curves.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "charts/plot_mapping.h"
#include "platform/pixel.h"
#include "statistics/erlang.h"
#include "statistics/poisson.h"
#include "statistics/student.h"

namespace {

// A walk over the plot: 101 points on an integer index, so it ends whatever the rounding of
// the steps (a step below the spacing of doubles included).
constexpr int kCurvePoints = 101;

// Draws the curve as pieces: a value that is not a number lifts the pen, so it never
// becomes a pixel position.
class CurvePen {
public:
    CurvePen(platform::Canvas& dc, int yOffset) : dc_(dc), yOffset_(yOffset) {}

    void Move(double x, double y) { Step(x, y, true); }
    void Line(double x, double y) { Step(x, y, false); }

private:
    void Step(double x, double y, bool move) {
        if (!std::isfinite(x) || !std::isfinite(y)) {
            lifted_ = true;
            return;
        }
        const int px = WorldToPixelX(x);
        // Both terms are far inside the int range, so the sum cannot overflow.
        const int py = WorldToPixelY(y) + std::clamp(yOffset_, -platform::kPixelLimit, platform::kPixelLimit);
        if (move || lifted_)
            dc_.MoveTo(px, py);
        else
            dc_.LineTo(px, py);
        lifted_ = false;
    }

    platform::Canvas& dc_;
    int yOffset_;
    bool lifted_ = false;
};

// Poisson and Erlang shapes are drawn at whole numbers 0, step, 2*step, ... below
// plotXMax, about a hundred points in all.
template <typename Probability>
void DrawWholeNumberCurve(platform::Canvas& dc, int n, double binWidth, int yOffset, int cumulative,
                          Probability probability) {
    CurvePen pen(dc, yOffset);
    pen.Move(0, 0);
    if (!(plotXMax > 0)) return;
    const double step = 1 + std::trunc(plotXMax / 100);
    if (!std::isfinite(step)) return;
    double total = 0;
    double previous = plotXMin;
    for (int i = 0; i < kCurvePoints; ++i) {
        const double k = i * step;
        if (!(k < plotXMax) || k > INT_MAX) break;  // the probabilities take whole counts
        const double p = probability(k);
        double value;
        if (cumulative) {
            total += p * n * step;
            value = total;
        } else {
            value = n * binWidth * p;
        }
        if (previous >= plotXMin)
            pen.Line(k, value);
        else
            pen.Move(k, value);
        previous = k;
    }
}

}  // namespace

void DrawStudentCurve(platform::Canvas& dc, double mean, double sd, int n, double binWidth, int yOffset,
                      int cumulative) {
    const double h = (plotXMax - plotXMin) / 100;
    auto value = [&](double x) {
        if (cumulative) return n * (1 - StudentCdfAt(mean, sd, n, x));
        return StudentProbabilityBetween(mean, sd, n, x, x + h) * n * binWidth / h;
    };
    CurvePen pen(dc, yOffset);
    for (int i = 0; i < kCurvePoints; ++i) {
        const double x = i + 1 == kCurvePoints ? plotXMax : plotXMin + i * h;
        if (i == 0)
            pen.Move(x, value(x));
        else
            pen.Line(x, value(x));
    }
}

void DrawPoissonCurve(platform::Canvas& dc, double lambda, int n, double binWidth, int yOffset,
                      int cumulative) {
    DrawWholeNumberCurve(dc, n, binWidth, yOffset, cumulative,
                         [lambda](double k) { return PoissonProbability(lambda, static_cast<int>(k)); });
}

void DrawErlangCurve(platform::Canvas& dc, double mean, double sd, int n, double binWidth, int yOffset,
                     int cumulative) {
    const erlangFit fit = ErlangSetup(mean, sd);
    DrawWholeNumberCurve(dc, n, binWidth, yOffset, cumulative, [&fit](double k) { return ErlangDensity(fit, k); });
}
