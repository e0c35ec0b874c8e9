// Evaluations per second over a fixed corpus of formulas with function calls, by the text
// evaluator and by the compiled form (bench/formula/python_corpus.py times the same corpus
// compiled with Python's compile() and eval()).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/formula/formula_corpus.h"
#include "formula/compiled_formula.h"
#include "formula/formula_evaluator.h"

namespace {

std::vector<std::string> CheckedCorpus()
{
    std::vector<std::string> formulas;
    for (const FormulaCorpusEntry& entry : formulaCorpus) {
        formulas.emplace_back(entry.formula);
        // A faster evaluator must give the same texts.
        const std::string result = theFormulaEvaluator.Evaluate(entry.formula);
        std::string compiled;
        CompiledFormula(entry.formula, {}).Evaluate(nullptr, &compiled);
        if (result != entry.result || compiled != entry.result) {
            std::fprintf(stderr, "%s gave %s (compiled %s), expected %s\n", entry.formula, result.c_str(),
                         compiled.c_str(), entry.result);
            std::abort();
        }
    }
    return formulas;
}

void BM_EvaluateCorpus(benchmark::State& state)
{
    const std::vector<std::string> formulas = CheckedCorpus();
    for (auto _ : state) {
        for (const std::string& formula : formulas)
            benchmark::DoNotOptimize(theFormulaEvaluator.Evaluate(formula));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas.size()));
}
BENCHMARK(BM_EvaluateCorpus);

// Each formula compiled once, then evaluated: what a curve or a fit does per point.
void BM_EvaluateCorpusCompiled(benchmark::State& state)
{
    std::vector<CompiledFormula> compiled;
    for (const std::string& formula : CheckedCorpus())
        compiled.emplace_back(formula, std::vector<std::string>{});
    for (auto _ : state) {
        for (const CompiledFormula& c : compiled)
            benchmark::DoNotOptimize(c.Evaluate(nullptr));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(compiled.size()));
}
BENCHMARK(BM_EvaluateCorpusCompiled);

// Compiled and evaluated once each: a formula typed into the calculator.
void BM_CompileAndEvaluateCorpus(benchmark::State& state)
{
    const std::vector<std::string> formulas = CheckedCorpus();
    const std::vector<std::string> noNames;
    for (auto _ : state) {
        for (const std::string& formula : formulas)
            benchmark::DoNotOptimize(CompiledFormula(formula, noNames).Evaluate(nullptr));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(formulas.size()));
}
BENCHMARK(BM_CompileAndEvaluateCorpus);

const char* const kCurveModel = "2.5*sin(x)+0.3*x^2-exp(-0.1*x)/(1+abs(x))";

void BM_CurvePoints(benchmark::State& state)
{
    // A curve painter's loop: substitute x, evaluate, 200 points per curve.
    const std::string model = kCurveModel;
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

void BM_CurvePointsCompiled(benchmark::State& state)
{
    const CompiledFormula model(kCurveModel, {"x"});
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            const double x = -5.0 + i * 0.05;
            benchmark::DoNotOptimize(model.Evaluate(&x));
        }
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_CurvePointsCompiled);

}  // namespace
