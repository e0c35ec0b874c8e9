#pragma once
// Saved fields of the distribution page of two variables. Plain data, so the document code
// reads and writes it without the page.

struct distribution2_settings {
    int largestRecordCount = 0;  // written by the painters
    int firstIntervals = 10;     // edit 1124
    int secondIntervals = 10;    // edit 1127
    int autoIntervals = 1;       // check 1126 "Auto intervals"
    int maximumDensity = 0;      // check 1130 "Maximum density"

    bool operator==(const distribution2_settings&) const = default;
};
