#pragma once
// What the distribution painters (statistics/) need of the main window, taken from it at each
// paint; the analysis hooks pass it on.
#include <vector>

#include "statistics/correlation_view.h"
#include "statistics/one_variable_view.h"
#include "statistics/two_variables_view.h"

class CTabulonDlg;

OneVariableViewState OneVariableStateOf(CTabulonDlg& window);
TwoVariablesViewState TwoVariablesStateOf(CTabulonDlg& window);
CorrelationContext CorrelationContextOf(CTabulonDlg& window);
// The coefficient of correlation of a value with its argument, for the one-argument views.
void ReportTwoParameterCorrelation(const std::vector<double>& x, const std::vector<double>& y, int argument,
                                   int value);
