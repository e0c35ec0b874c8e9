// Evaluations per second over a fixed corpus of formulas with function calls.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/formula/formula_corpus.h"
#include "formula/formula_evaluator.h"

namespace {

void BM_EvaluateCorpus(benchmark::State& state)
{
    std::vector<std::string> formulas;
    for (const FormulaCorpusEntry& entry : formulaCorpus) {
        formulas.emplace_back(entry.formula);
        // A faster evaluator must give the same texts.
        const std::string result = theFormulaEvaluator.Evaluate(entry.formula);
        if (result != entry.result) {
            std::fprintf(stderr, "%s gave %s, expected %s\n", entry.formula, result.c_str(),
                         entry.result);
            std::abort();
        }
    }
    for (auto _ : state) {
        for (const std::string& formula : formulas)
            benchmark::DoNotOptimize(theFormulaEvaluator.Evaluate(formula));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas.size()));
}
BENCHMARK(BM_EvaluateCorpus);

void BM_CurvePoints(benchmark::State& state)
{
    // A curve painter's loop: substitute x, evaluate, 200 points per curve.
    const std::string model = "2.5*sin(x)+0.3*x^2-exp(-0.1*x)/(1+abs(x))";
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            std::string formula = model;
            theFormulaEvaluator.SubstituteX(formula, -5.0 + i * 0.05);
            benchmark::DoNotOptimize(theFormulaEvaluator.Evaluate(formula));
        }
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_CurvePoints);

}  // namespace
