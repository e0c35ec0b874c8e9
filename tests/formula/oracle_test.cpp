// Random formulas against the values numpy gives for them (see gen_formula_oracle.py).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "formula/formula_evaluator.h"
#include "tests/formula/compiled_check.h"

namespace {

TEST(FormulaOracle, RandomFormulasMatchNumpy)
{
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/tests/formula/formula_oracle.tsv");
    ASSERT_TRUE(in.is_open());
    formulaEvaluator evaluator;
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string kind, formula, expected, tolerance;
        std::getline(fields, kind, '\t');
        std::getline(fields, formula, '\t');
        std::getline(fields, expected, '\t');
        std::getline(fields, tolerance, '\t');
        const std::string result = evaluator.Evaluate(formula);
        ExpectCompiledAsText(formula);
        EXPECT_EQ(evaluator.errorFlag, 0) << formula << " gave " << result;
        if (kind == "int") {
            EXPECT_EQ(result, expected) << formula;
        } else {
            EXPECT_NEAR(std::strtod(result.c_str(), nullptr), std::strtod(expected.c_str(), nullptr),
                        std::strtod(tolerance.c_str(), nullptr))
                << formula << " gave " << result;
        }
        ++rows;
    }
    EXPECT_EQ(rows, 600);
}

}  // namespace
