#pragma once
// "Custom formulas": the left side F(y, x) of the points, which the views paint as marks.
#include <vector>

// Fetches the model texts from the custom approximation page (the views do so at the start
// of every painting; the transformed values use them as last fetched).
void RefreshCustomModel();
// out gets F(y_i, x_i) of every point (0 where F cannot be evaluated); a copy of y when the
// scheme is off.
void CustomTransformedValues(const std::vector<double>& y, const std::vector<double>& x, std::vector<double>& out);
