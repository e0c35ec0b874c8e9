#pragma once
// Saved fields of the peak settings page. Plain data, so the document code reads and
// writes it without the page.

struct sinaldlg_settings {
    int spikeWidth = 3;         // edit 1180
    double noiseFactor = 2.5;   // edit 1182
    int chromatogramOnly = 0;   // check 1186 "only chromatograms peaks"
    int baseLine = 0;           // combo 1428 "Correction of base line:" index

    bool operator==(const sinaldlg_settings&) const = default;
};
