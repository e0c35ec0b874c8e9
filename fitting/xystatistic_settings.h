#pragma once
// The single-argument scheme (the scheme page's nine flags). Plain data, so the document
// code reads and writes it without the page.

struct xystatistic_settings {
    // Scheme buttons, at most one on.
    int constructorStyle = 0;
    int customFormulas = 0;
    int fromListOfFormulas = 0;
    int peaksRevealing = 0;
    int userFormula = 0;
    // Analysis check boxes, at most one on.
    int correlationCoefficient = 0;  // "Correlaton coefficient"
    int polynomFitting = 0;
    int harmonicAnalysis = 0;
    int searchForBestFormula = 0;

    bool operator==(const xystatistic_settings&) const = default;
};
