#pragma once
// Series appended to the program's data as a reader leaves them, and the result document's lines.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "charts/result_document.h"
#include "data/data_page.h"

using Records = std::vector<std::vector<double>>;

inline void AppendSeries(const Records& records, const std::vector<std::string>& names) {
    theData.CheckNewSeriesShape(static_cast<int>(names.size()), theData.pendingSeries);
    for (const auto& r : records) theData.allValues.insert(theData.allValues.end(), r.begin(), r.end());
    ASSERT_EQ(theData.AddNewSeries(static_cast<int>(records.size()), names), 1);
}

inline bool DocumentHas(const std::string& text) {
    const auto& texts = theResultDocument.texts;
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}
