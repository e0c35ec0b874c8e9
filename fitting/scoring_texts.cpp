#include "fitting/scoring_texts.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string Printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* fmt, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    if (n < static_cast<int>(sizeof buffer))
        return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    std::string long_(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, fmt);
    std::vsnprintf(long_.data(), long_.size(), fmt, args);
    va_end(args);
    long_.resize(static_cast<std::size_t>(n));
    return long_;
}

}  // namespace

void ScoringRuleTexts(const scoreAction& r, const std::string& name, std::string& text, std::string& term)
{
    const char* n = name.c_str();
    if (r.categorical) {
        text = Printf("if(%s = %g ) %g", n, r.low, r.points);
        term = Printf("+IF(%s=%g,%g,0)", n, r.low, r.points);
    } else if (r.kind == 0) {
        if (r.comparison == 2) {
            text = Printf("if(%g < %s < %g ) %g", r.low, n, r.high, r.points);
            term = Printf("+IF(%s>%g,IF(%s<%g,%g,0),0)", n, r.low, n, r.high, r.points);
        } else if (r.comparison == 1) {
            text = Printf("if(%s > %g) %g", n, r.low, r.points);
            term = Printf("+IF(%s>%g,%g,0)", n, r.low, r.points);
        } else {
            text = Printf("if(%s < %g) %g", n, r.high, r.points);
            term = Printf("+IF(%s<%g,%g,0)", n, r.high, r.points);
        }
    } else if (r.kind == 1) {
        text = term = Printf("%+g*%s  %+g", r.c1, n, r.c0);
    } else {
        text = term = Printf("%+g*%s^2  %+g*%s  %+g", r.c2, n, r.c1, n, r.c0);
    }
}

std::string NormalizationFormula(double minimum, double maximum)
{
    const double d = maximum - minimum;
    if (minimum < 0)
        return Printf("100*(score + %g)/%g", -minimum, d);
    if (minimum == 0)
        return Printf("100*score/%g", d);
    return Printf("100*(score - %g)/%g", minimum, d);
}

std::string ResponseRateTable(const ScoreCounts& all, const ScoreCounts& positive, std::int32_t totalRecords,
                              std::int32_t positiveRecords)
{
    std::string table = "Response rates:\r\n";
    table += "Score    All cases(%)     Positive responses (%)\r\n";
    for (int k = 99; k >= 0; --k) {
        const double allShare = totalRecords > 0 ? 100.0 * all[k] / totalRecords : 0.0;
        if (positiveRecords > 0)
            table += Printf("> %d   %.4g  %.4g\r\n", k, allShare, 100.0 * positive[k] / positiveRecords);
        else
            table += Printf("> %d   %.4g  n/a\r\n", k, allShare);
    }
    return table;
}
