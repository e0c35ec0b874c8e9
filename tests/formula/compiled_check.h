#pragma once
// The compiled form of a formula against the text evaluator: the same result text, value
// bits, error flag and error text.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formula/compiled_formula.h"
#include "formula/formula_evaluator.h"

// Returns whether the formula was compiled (else there is nothing to compare).
inline bool ExpectCompiledAsText(const std::string& formula, const std::vector<std::string>& names = {},
                                 const std::vector<double>& values = {}) {
    const CompiledFormula compiled(formula, names);
    if (!compiled.compiled()) return false;
    std::string text, fast;
    const double slow = compiled.EvaluateText(values.data(), &text);
    const int slowFlag = theFormulaEvaluator.errorFlag;
    const std::string slowError = theFormulaEvaluator.errorText;
    theFormulaEvaluator.errorFlag = 1 - slowFlag;
    const double quick = compiled.Evaluate(values.data(), &fast);
    std::string at;
    for (double v : values) at += " " + std::to_string(v);
    EXPECT_EQ(fast, text) << formula << " at" << at;
    EXPECT_EQ(std::memcmp(&quick, &slow, sizeof quick), 0) << formula << " at" << at;
    EXPECT_EQ(theFormulaEvaluator.errorFlag, slowFlag) << formula << " at" << at;
    EXPECT_EQ(theFormulaEvaluator.errorText, slowError) << formula << " at" << at;
    return true;
}
