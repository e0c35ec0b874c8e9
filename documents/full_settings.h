#pragma once
// Options of the full analysis, as its options page sets them. Plain data.
#include <string>

struct full_settings {
    std::string reportFile;              // static 1446: path of the HTML report
    double correlationThreshold = 0.975;  // edit 1450, 0..1
    int correlationFilter = 0;           // check 1449
    double coefficientThreshold = 5.0;   // edit 1454, percent 0..500
    int coefficientFilter = 0;           // check 1452
    int doDistribution = 1;              // check 1457 "distribution"
    int doTimeSeries = 1;                // check 1458 "time series"
    int doCurveFitting = 1;              // check 1462 "curve fitting"
    int doCorrelationMatrix = 1;         // check 1465 "matrix of correlations"
    int doDistributionAll = 1;           // check 1464 "distribution of all parameters"
    int doSurfaceFitting = 1;            // check 1467 "surface fitting"
    int doMultivariate = 1;              // check 1469 "multivariate regression"
    int doTwoVariables = 1;              // check 1471 "distribution of two variables"
    int doConditional = 1;               // check 1473 "probability of conditional selelection"

    bool operator==(const full_settings&) const = default;
};
