// The benchmark corpus keeps its result texts: speed work must not change one of them.

#include <gtest/gtest.h>

#include "bench/formula/formula_corpus.h"
#include "formula/formula_evaluator.h"

namespace {

TEST(FormulaCorpus, ResultTextsAreKept)
{
    formulaEvaluator evaluator;
    for (const FormulaCorpusEntry& entry : formulaCorpus) {
        EXPECT_EQ(evaluator.Evaluate(entry.formula), entry.result) << entry.formula;
        EXPECT_EQ(evaluator.errorFlag, 0) << entry.formula;
    }
}

}  // namespace
