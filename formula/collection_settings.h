#pragma once
// Saved fields of the preset models page. Plain data, so the document code reads and
// writes it without the page.

struct collection_settings {
    int selectedModel = 0;       // 0 to 24, the list's selection (list 1154)
    int searchRequested = 0;     // auto search: set by the three search buttons
    int showDeviationLines = 0;  // check box 1156

    bool operator==(const collection_settings&) const = default;
};
