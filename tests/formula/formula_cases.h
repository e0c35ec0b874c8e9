#pragma once
// Whole evaluations by a fresh evaluator each: a value leaves no error; an error's message is
// both the result and the error text.
#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

#include "formula/formula_evaluator.h"
#include "tests/formula/compiled_check.h"

using FormulaCases = std::initializer_list<std::pair<const char*, const char*>>;

inline void ExpectFormulas(FormulaCases cases, int errorFlag) {
    for (const auto& [formula, result] : cases) {
        SCOPED_TRACE(formula);
        formulaEvaluator evaluator;
        EXPECT_EQ(evaluator.Evaluate(formula), result);
        EXPECT_EQ(evaluator.errorFlag, errorFlag);
        if (errorFlag) {
            EXPECT_EQ(evaluator.errorText, result);
        }
        ExpectCompiledAsText(formula);
    }
}
