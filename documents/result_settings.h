#pragma once
// Saved fields of the "Results" page. Plain data, so the document code reads and writes it
// without the page.

struct result_settings {
    int visibleDataOnly = 1;   // check 1122 "Statistics is only for data visible at screen"
    int actualScreenSize = 1;  // check 1209 "actual size of screen"
    int imageWidth = 0;        // edit 1210
    int imageHeight = 0;       // edit 1211

    bool operator==(const result_settings&) const = default;
};
