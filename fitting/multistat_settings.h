#pragma once
// The several-argument scheme of the multi-argument scheme page. Plain data, so the
// document code reads and writes it without the page.

struct multistat_settings {
    // Eight scheme flags, at most one on.
    int correlation = 0;         // "Correlation"
    int plane = 1;
    int parabolic = 0;
    int nearNeighbors = 0;       // "Near neighbors method "
    int userDefinedFormula = 0;  // "User defined formula"
    int unitaryArgument = 0;     // "Unitary argument"
    int bestPolynome = 0;        // "Best polynome"
    int bestPolynomeAuto = 0;    // "Best polynome auto"
    int weightKind = 2;          // combo 1196, 0 to 3
    double nearNeighborPercent = 3.0;

    bool operator==(const multistat_settings&) const = default;
};
